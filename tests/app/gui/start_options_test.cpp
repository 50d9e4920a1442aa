#include "app/gui/StartOptions.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

StartOptions parse(QStringList arguments) {
    arguments.prepend("newsbell");
    return parseStartOptions(arguments);
}

TEST(StartOptions, window_on_the_demo_calendar_without_arguments) {
    const StartOptions options = parse({});
    EXPECT_FALSE(options.exportFile);
    EXPECT_FALSE(options.calendarUrl);
}

TEST(StartOptions, reads_export_file_and_calendar_address_in_either_form) {
    const StartOptions options =
        parse({"--calendar-url=http://127.0.0.1:8080/e_cal.php?duration=weekly", "--export",
               "out/week.txt"});
    EXPECT_EQ(options.exportFile, QString("out/week.txt"));
    EXPECT_EQ(options.calendarUrl, QUrl("http://127.0.0.1:8080/e_cal.php?duration=weekly"));
}

TEST(StartOptions, reads_a_feed_with_its_zones) {
    const StartOptions options =
        parse({"--calendar-feed", "https://example.org/week.xml", "--time-zone=Europe/Berlin",
               "--feed-time-zone", "America/Chicago", "--export", "out.txt"});
    EXPECT_EQ(options.calendarFeed, QString("https://example.org/week.xml"));
    EXPECT_EQ(options.timeZone, QString("Europe/Berlin"));
    EXPECT_EQ(options.feedTimeZone, QString("America/Chicago"));
    EXPECT_TRUE(options.headless());
    EXPECT_FALSE(parse({"--calendar-feed", "week.ics"}).headless());
}

TEST(StartOptions, refuses_what_it_does_not_know_with_the_usage) {
    for (const QStringList& wrong :
         {QStringList{"--bogus"}, QStringList{"--export"}, QStringList{"--export", ""},
          QStringList{"stray"}, QStringList{"--calendar-url", ""},
          QStringList{"--calendar-feed", ""}, QStringList{"--time-zone", "Europe/Berlin"},
          QStringList{"--calendar-feed", "a.xml", "--calendar-url", "http://127.0.0.1/"}}) {
        try {
            parse(wrong);
            ADD_FAILURE() << wrong.join(' ').toStdString();
        } catch (const std::exception& failure) {
            EXPECT_NE(std::string(failure.what()).find("usage: newsbell"), std::string::npos);
        }
    }
}

TEST(StartOptions, export_is_seen_on_the_raw_command_line) {
    char program[] = "newsbell", exportFlag[] = "--export", file[] = "x.txt",
         joined[] = "--export=x.txt", other[] = "--exports";
    char* plain[] = {program, exportFlag, file};
    char* withValue[] = {program, joined};
    char* neither[] = {program, other};
    EXPECT_TRUE(asksForExport(3, plain));
    EXPECT_TRUE(asksForExport(2, withValue));
    EXPECT_FALSE(asksForExport(2, neither));
    EXPECT_FALSE(asksForExport(1, plain));
}

} // namespace
} // namespace newsbell
