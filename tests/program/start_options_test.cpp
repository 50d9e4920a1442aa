#include "program/StartOptions.h"

#include <QFile>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

StartOptions parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("newsbell"));
    return parseStartOptions(arguments);
}

// The command line is refused with a message holding reason and where help is.
void expectRefused(const QStringList& arguments, const char* reason) {
    try {
        parse(arguments);
        ADD_FAILURE() << arguments.join(' ').toStdString();
    } catch (const std::exception& failure) {
        const std::string message = failure.what();
        EXPECT_NE(message.find(reason), std::string::npos) << message;
        EXPECT_NE(message.find("newsbell --help"), std::string::npos) << message;
    }
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
         {QStringList{"--bogus"}, QStringList{"--export"}, QStringList{"--export", ""},
          QStringList{"stray"}, QStringList{"--calendar-url", ""},
          QStringList{"--weeks", "2010-03-08", "2010-03-22"},
          QStringList{"--weeks", "2010-03-08", "--export", "f"},
          QStringList{"--weeks", "2010-3-8", "2010-03-22", "--export", "f"},
          QStringList{"--weeks", "2010-02-30", "2010-03-22", "--export", "f"},
          QStringList{"--calendar-feed", ""}, QStringList{"--time-zone", "Europe/Berlin"},
          QStringList{"--calendar-feed", "a.xml", "--calendar-url", "http://127.0.0.1/"},
          QStringList{"--exports", "x.txt"}, QStringList{"--help=x"}, QStringList{"-x"},
          QStringList{"-platform=offscreen"}, QStringList{"--platform", "offscreen"}}) {
        try {
            parse(wrong);
            ADD_FAILURE() << wrong.join(QLatin1Char(' ')).toStdString();
        } catch (const std::exception& failure) {
            EXPECT_NE(std::string(failure.what()).find("newsbell --help"), std::string::npos);
        }
    }
}

TEST(StartOptions, tells_runs_without_windows_and_passes_qts_own_options_over) {
    for (const QStringList& windowless :
         {QStringList{"--export", "x.txt"}, QStringList{"--export=x.txt"},
          QStringList{"--due-at=2026-03-04 12:00:00"},
          QStringList{"-platform", "offscreen", "--export", "x.txt", "-style=fusion", "-reverse",
                      "-qwindowtitle", "--verbose"}})
        EXPECT_TRUE(parse(windowless).headless()) << windowless.join(' ').toStdString();
    EXPECT_FALSE(parse({"-platform", "offscreen", "-style", "fusion", "--no-settings"}).headless());
    const StartOptions options = parse({"-platform", "offscreen", "--export", "-", "--verbose"});
    EXPECT_EQ(options.exportFile, QString("-"));
    EXPECT_TRUE(options.verbose);
}

TEST(StartOptions, help_and_version_are_answered_wherever_they_stand) {
    QFile golden(HELP_TEXT);
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    const std::string help = golden.readAll().toStdString();
    for (const QStringList& asking :
         {QStringList{"--help"}, QStringList{"-h"}, QStringList{"--export", "x.txt", "--help"},
          QStringList{"--bogus", "--help"}, QStringList{"--export", "--help"},
          QStringList{"-platform", "offscreen", "-h", "--version"}})
        EXPECT_EQ(parse(asking).answer, help) << asking.join(' ').toStdString();
    EXPECT_EQ(parse({"--version", "--help"}).answer, "newsbell " NEWSBELL_VERSION "\n");
    EXPECT_EQ(parse({"--export", "x.txt"}).answer, std::nullopt);
    EXPECT_TRUE(parse({"--no-settings", "--verbose"}).noSettings);
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
    for (const Case& c : cases) expectRefused(c.arguments, c.reason);
}

TEST(StartOptions, gate_at_reads_the_moment_the_windows_and_what_counts) {
    const StartOptions defaults = parse({"--gate-at", "2026-03-04 12:05:30"});
    ASSERT_TRUE(defaults.gateAt);
    EXPECT_TRUE(defaults.headless());
    EXPECT_EQ(defaults.gateAt->today, QDate(2026, 3, 4));
    EXPECT_EQ(defaults.gateAt->now, QTime(12, 5, 30));
    EXPECT_EQ(defaults.gateAt->settings, GateSettings{});

    const StartOptions set = parse({"--gate-at=2026-03-04 23:59:59", "--before", "0", "--after",
                                    "1440", "--currencies", "nzd,EUR", "--importance", "2, 3"});
    ASSERT_TRUE(set.gateAt);
    EXPECT_EQ(set.gateAt->settings.beforeMinutes, 0);
    EXPECT_EQ(set.gateAt->settings.afterMinutes, 1440);
    EXPECT_EQ(set.gateAt->settings.currencies,
              (std::array<bool, 8>{true, false, false, false, false, false, false, true}));
    EXPECT_EQ(set.gateAt->settings.importances, (std::array<bool, 3>{false, true, true}));
}

TEST(StartOptions, gate_at_refuses_what_it_cannot_count) {
    const QStringList moment = {"--gate-at", "2026-03-04 12:05:00"};
    struct Case {
        QStringList arguments;
        const char* reason;
    } cases[] = {
        {{"--gate-at", "2026-03-04 12:05"}, "--gate-at: момент должен иметь вид ГГГГ-ММ-ДД"},
        {moment + QStringList{"--before", "1441"},
         "--before: нужно целое число минут от 0 до 1440"},
        {moment + QStringList{"--after", "-5"}, "--after: нужно целое число минут"},
        {moment + QStringList{"--after", "1.5"}, "--after: нужно"},
        {moment + QStringList{"--before", ""}, "--before: нужно"},
        {moment + QStringList{"--importance", "3,4"}, "--importance: нет такого значения"},
        {moment + QStringList{"--currencies", "RUB"}, "--currencies: нет такого значения"},
        {moment + QStringList{"--lead", "0:30"}, "--lead задаётся только вместе с --due-at"},
        {moment + QStringList{"--due-at", "2026-03-04 12:05:00"}, "не задаются вместе"},
        {moment + QStringList{"--export", "x.txt"}, "--export и --gate-at не задаются вместе"},
        {{"--before", "5"}, "--before задаётся только вместе с --gate-at"},
        {{"--due-at", "2026-03-04 12:05:00", "--before", "5"}, "вместе с --gate-at"},
        {{"--importance", "3"}, "--importance задаётся только вместе с --due-at или --gate-at"},
    };
    for (const Case& c : cases) expectRefused(c.arguments, c.reason);
}

} // namespace
} // namespace newsbell
