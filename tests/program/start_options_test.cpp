#include "program/StartOptions.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

StartOptions parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("newsbell"));
    return parseStartOptions(arguments);
}

TEST(StartOptions, window_on_the_demo_calendar_without_arguments) {
    const StartOptions options = parse({});
    EXPECT_FALSE(options.exportFile);
    EXPECT_FALSE(options.calendarUrl);
}

TEST(StartOptions, reads_export_file_and_calendar_address_in_either_form) {
    const StartOptions options =
        parse({QStringLiteral("--calendar-url=http://127.0.0.1:8080/e_cal.php?duration=weekly"),
               QStringLiteral("--export"), QStringLiteral("out/week.txt")});
    EXPECT_EQ(options.exportFile, QStringLiteral("out/week.txt"));
    EXPECT_EQ(options.calendarUrl,
              QUrl(QStringLiteral("http://127.0.0.1:8080/e_cal.php?duration=weekly")));
}

TEST(StartOptions, reads_a_week_range_to_join) {
    const StartOptions options =
        parse({QStringLiteral("--export"), QStringLiteral("weeks.txt"), QStringLiteral("--weeks"),
               QStringLiteral("2010-03-22"), QStringLiteral("2010-03-08")});
    ASSERT_TRUE(options.weeks);
    EXPECT_EQ(options.weeks->first, QDate(2010, 3, 22));
    EXPECT_EQ(options.weeks->last, QDate(2010, 3, 8));
    EXPECT_EQ(options.exportFile, QStringLiteral("weeks.txt"));
}

TEST(StartOptions, reads_a_feed_with_its_zones_alongside_any_command) {
    const StartOptions options = parse(
        {QStringLiteral("--calendar-feed"), QStringLiteral("https://example.org/week.xml"),
         QStringLiteral("--time-zone=Europe/Berlin"), QStringLiteral("--feed-time-zone"),
         QStringLiteral("America/Chicago"), QStringLiteral("--weeks"), QStringLiteral("2024-03-04"),
         QStringLiteral("2024-04-01"), QStringLiteral("--export"), QStringLiteral("out.txt")});
    EXPECT_EQ(options.calendarFeed, QStringLiteral("https://example.org/week.xml"));
    EXPECT_EQ(options.timeZone, QStringLiteral("Europe/Berlin"));
    EXPECT_EQ(options.feedTimeZone, QStringLiteral("America/Chicago"));
    EXPECT_TRUE(options.weeks);
    EXPECT_TRUE(options.headless());
    EXPECT_TRUE(parse({QStringLiteral("--calendar-feed"), QStringLiteral("week.ics"),
                       QStringLiteral("--due-at"), QStringLiteral("2024-03-12 13:00:00")})
                    .headless());
    EXPECT_FALSE(parse({QStringLiteral("--calendar-feed"), QStringLiteral("week.ics")}).headless());
}

TEST(StartOptions, refuses_what_it_does_not_know_and_says_where_help_is) {
    for (const QStringList& wrong :
         {QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("--export")},
          QStringList{QStringLiteral("--export"), QStringLiteral("")},
          QStringList{QStringLiteral("stray")},
          QStringList{QStringLiteral("--calendar-url"), QStringLiteral("")},
          QStringList{QStringLiteral("--weeks"), QStringLiteral("2010-03-08"),
                      QStringLiteral("2010-03-22")},
          QStringList{QStringLiteral("--weeks"), QStringLiteral("2010-03-08"),
                      QStringLiteral("--export"), QStringLiteral("f")},
          QStringList{QStringLiteral("--weeks"), QStringLiteral("2010-3-8"),
                      QStringLiteral("2010-03-22"), QStringLiteral("--export"),
                      QStringLiteral("f")},
          QStringList{QStringLiteral("--weeks"), QStringLiteral("2010-02-30"),
                      QStringLiteral("2010-03-22"), QStringLiteral("--export"),
                      QStringLiteral("f")},
          QStringList{QStringLiteral("--calendar-feed"), QStringLiteral("")},
          QStringList{QStringLiteral("--time-zone"), QStringLiteral("Europe/Berlin")},
          QStringList{QStringLiteral("--calendar-feed"), QStringLiteral("a.xml"),
                      QStringLiteral("--calendar-url"), QStringLiteral("http://127.0.0.1/")}}) {
        try {
            parse(wrong);
            ADD_FAILURE() << wrong.join(QLatin1Char(' ')).toStdString();
        } catch (const std::exception& failure) {
            EXPECT_NE(std::string(failure.what()).find("newsbell --help"), std::string::npos);
        }
    }
}

TEST(StartOptions, runs_without_windows_are_seen_on_the_raw_command_line) {
    char program[] = "newsbell", exportFlag[] = "--export", file[] = "x.txt",
         joined[] = "--export=x.txt", other[] = "--exports", dueAt[] = "--due-at=2026-03-04";
    char* plain[] = {program, exportFlag, file};
    char* withValue[] = {program, joined};
    char* neither[] = {program, other};
    char* pass[] = {program, dueAt};
    EXPECT_TRUE(runsWithoutWindow(3, plain));
    EXPECT_TRUE(runsWithoutWindow(2, withValue));
    EXPECT_FALSE(runsWithoutWindow(2, neither));
    EXPECT_FALSE(runsWithoutWindow(1, plain));
    EXPECT_TRUE(runsWithoutWindow(2, pass));
}

TEST(StartOptions, help_and_version_are_answered_before_anything_starts) {
    char program[] = "newsbell", helpFlag[] = "--help", versionFlag[] = "--version",
         exportFlag[] = "--export", file[] = "x.txt";
    char* forHelp[] = {program, exportFlag, file, helpFlag};
    char* forVersion[] = {program, versionFlag};
    char* neither[] = {program, exportFlag, file};
    const std::string help = answerWithoutStarting(4, forHelp).value_or("");
    for (const char* option :
         {"--export", "--due-at", "--weeks", "--calendar-url", "--calendar-feed", "--time-zone",
          "--feed-time-zone", "--lead", "--after", "--currencies", "--importance", "--no-settings",
          "--verbose", "--help", "--version"})
        EXPECT_NE(help.find(std::string(" ") + option + " "), std::string::npos) << option;
    EXPECT_EQ(answerWithoutStarting(2, forVersion), "newsbell " NEWSBELL_VERSION "\n");
    EXPECT_EQ(answerWithoutStarting(3, neither), std::nullopt);
    EXPECT_TRUE(parse({QStringLiteral("--no-settings"), QStringLiteral("--verbose")}).noSettings);
}

TEST(StartOptions, due_at_reads_the_moment_and_the_settings_of_the_pass) {
    const StartOptions defaults =
        parse({QStringLiteral("--due-at"), QStringLiteral("2026-03-04 12:05:00")});
    ASSERT_TRUE(defaults.dueAt);
    EXPECT_EQ(defaults.dueAt->today, QDate(2026, 3, 4));
    EXPECT_EQ(defaults.dueAt->now, QTime(12, 5));
    EXPECT_EQ(leadWindowText(defaults.dueAt->settings), "00:30");
    EXPECT_EQ(afterWindowText(defaults.dueAt->settings), "00:10");
    EXPECT_EQ(defaults.dueAt->settings.currencies, AlertSettings().currencies);

    const StartOptions set =
        parse({QStringLiteral("--due-at=2026-03-04 23:59:59"), QStringLiteral("--lead"),
               QStringLiteral("1:05"), QStringLiteral("--after"), QStringLiteral("0"),
               QStringLiteral("--currencies"), QStringLiteral("eur, NZD"),
               QStringLiteral("--importance"), QStringLiteral("1,3")});
    ASSERT_TRUE(set.dueAt);
    EXPECT_EQ(leadWindowText(set.dueAt->settings), "1:05");
    EXPECT_EQ(afterWindowText(set.dueAt->settings), "00:0");
    EXPECT_EQ(set.dueAt->settings.currencies,
              (std::array<bool, 8>{true, false, false, false, false, false, false, true}));
    EXPECT_EQ(set.dueAt->settings.importances, (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(parse({QStringLiteral("--due-at"), QStringLiteral("2026-03-04 12:05:00"),
                     QStringLiteral("--currencies"), QStringLiteral("")})
                  .dueAt->settings.currencies,
              (std::array<bool, 8>{}));
}

TEST(StartOptions, due_at_refuses_what_the_window_would_refuse) {
    const QStringList moment = {QStringLiteral("--due-at"), QStringLiteral("2026-03-04 12:05:00")};
    struct Case {
        QStringList arguments;
        const char* reason;
    } cases[] = {
        {{QStringLiteral("--due-at"), QStringLiteral("2026-3-4 12:05:00")},
         "ГГГГ-ММ-ДД ЧЧ:ММ:СС: 2026-3-4 12:05:00"},
        {{QStringLiteral("--due-at"), QStringLiteral("2026-02-30 12:00:00")},
         "ГГГГ-ММ-ДД ЧЧ:ММ:СС"},
        {{QStringLiteral("--due-at"), QStringLiteral("2026-03-04 24:00:00")},
         "ГГГГ-ММ-ДД ЧЧ:ММ:СС"},
        {{QStringLiteral("--due-at"), QStringLiteral("2026-03-04T12:00:00")},
         "ГГГГ-ММ-ДД ЧЧ:ММ:СС"},
        {moment + QStringList{QStringLiteral("--lead"), QStringLiteral("0:75")},
         "Значение \"минуты\" не может быть больше чем 59"},
        {moment + QStringList{QStringLiteral("--lead"), QStringLiteral("24:00")},
         "Значение \"часы\" не может быть больше чем 23"},
        {moment + QStringList{QStringLiteral("--lead"), QStringLiteral("1")}, "Ч:ММ: 1"},
        {moment + QStringList{QStringLiteral("--lead"), QStringLiteral("1:x")},
         "'x' is not a valid integer value"},
        {moment + QStringList{QStringLiteral("--lead"), QStringLiteral("-1:30")},
         "'-1:30' is not a valid time"},
        {moment + QStringList{QStringLiteral("--after"), QStringLiteral("31")},
         "Значение \"минуты\" не может быть больше чем 30"},
        {moment + QStringList{QStringLiteral("--after"), QStringLiteral("1.5")},
         "'1.5' is not a valid integer value"},
        {moment + QStringList{QStringLiteral("--currencies"), QStringLiteral("EUR,XYZ")},
         "(есть EUR,USD,CHF"},
        {moment + QStringList{QStringLiteral("--currencies"), QStringLiteral("EUR,,USD")},
         "нет такого значения"},
        {moment + QStringList{QStringLiteral("--importance"), QStringLiteral("1,4")},
         "--importance: нет такого значения (есть 1,2,3): 4"},
        {moment + QStringList{QStringLiteral("--export"), QStringLiteral("x.txt")},
         "не задаются вместе"},
        {{QStringLiteral("--after"), QStringLiteral("5")},
         "--after задаётся только вместе с --due-at"},
    };
    for (const Case& c : cases) {
        try {
            parse(c.arguments);
            ADD_FAILURE() << c.arguments.join(QLatin1Char(' ')).toStdString();
        } catch (const std::exception& failure) {
            const std::string message = failure.what();
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
            EXPECT_NE(message.find("newsbell --help"), std::string::npos) << message;
        }
    }
}

} // namespace
} // namespace newsbell
