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

TEST(StartOptions, reads_a_week_range_to_join) {
    const StartOptions options =
        parse({"--export", "weeks.txt", "--weeks", "2010-03-22", "2010-03-08"});
    ASSERT_TRUE(options.weeks);
    EXPECT_EQ(options.weeks->first, QDate(2010, 3, 22));
    EXPECT_EQ(options.weeks->last, QDate(2010, 3, 8));
    EXPECT_EQ(options.exportFile, QString("weeks.txt"));
}

TEST(StartOptions, refuses_what_it_does_not_know_with_the_usage) {
    for (const QStringList& wrong :
         {QStringList{"--bogus"}, QStringList{"--export"}, QStringList{"--export", ""},
          QStringList{"stray"}, QStringList{"--calendar-url", ""},
          QStringList{"--weeks", "2010-03-08", "2010-03-22"},
          QStringList{"--weeks", "2010-03-08", "--export", "f"},
          QStringList{"--weeks", "2010-3-8", "2010-03-22", "--export", "f"},
          QStringList{"--weeks", "2010-02-30", "2010-03-22", "--export", "f"}}) {
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
