// iCalendar files as real calendars write them: zones that cannot be placed, X-WR-TIMEZONE,
// properties libical cannot read, currency and importance in the title, letters cp1251 lacks.
#include "calendar/FeedDocument.h"
#include "tests/support/CalendarRows.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::tableLines;

const QDate march11(2024, 3, 11);

FeedDocument read(const QByteArray& events, const QByteArray& calendarProperties = {}) {
    return readFeedDocument("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//newsbell tests//EN\n" +
                                calendarProperties + events + "END:VCALENDAR\n",
                            QStringLiteral("cal.ics"), {QTimeZone("Europe/Berlin")});
}

// The messages, one a line.
std::string messages(const FeedDocument& document) {
    return document.warnings().join(u'\n').toStdString();
}

QByteArray event(const QByteArray& start, const QByteArray& summary = "x",
                 const QByteArray& more = {}) {
    return "BEGIN:VEVENT\nDTSTART" + start + "\nSUMMARY:" + summary + "\n" + more + "END:VEVENT\n";
}

// An Outlook file names its zone by the display name, without VTIMEZONE: only the events on
// that clock are left out, each with a message, and a long list ends with a count.
TEST(ICalendarFiles, events_whose_zone_cannot_be_placed_are_left_out_one_by_one) {
    const QByteArray outlook = ";TZID=\"(GMT+10:00) Canberra, Melbourne, Sydney\":20240311T090000";
    const FeedDocument document =
        read(event(":20240311T070000Z", "kept") + event(outlook, "lost") +
             event(";TZID=\"AUS Eastern Standard Time\":20240312T090000", "Windows name") +
             event(":20240312T070000Z", "exception lost",
                   "RRULE:FREQ=DAILY;COUNT=2\nEXDATE;TZID=Mars/Olympus:20240313T080000\n") +
             event(";TZID=\"UTC+03:00\":20240311T090000", "offset no zone"));
    EXPECT_EQ(tableLines(document.week(march11)), "2024.03.11;1;08:00;;; kept;;;\n"
                                                  "2024.03.11;1;23:00;;; Windows name;;;");
    EXPECT_EQ(messages(document),
              std::string("cal.ics, строка 9: событие пропущено: часовой пояс «(GMT+10:00) "
                          "Canberra, Melbourne, Sydney» неизвестен (нужно имя из базы поясов, "
                          "например Europe/Berlin, или имя пояса Windows)\n"
                          "cal.ics, строка 20: событие пропущено: часовой пояс «Mars/Olympus» "
                          "неизвестен (нужно имя из базы поясов, например Europe/Berlin, или имя "
                          "пояса Windows)\n"
                          "cal.ics, строка 23: событие пропущено: часовой пояс «UTC+03:00» "
                          "неизвестен (нужно имя из базы поясов, например Europe/Berlin, или имя "
                          "пояса Windows)"));

    QByteArray many;
    for (int i = 0; i < 25; ++i) many += event(outlook);
    const QStringList warnings = read(many + event(":20240311T070000Z")).warnings();
    ASSERT_EQ(warnings.size(), 11);
    EXPECT_TRUE(warnings[9].startsWith(u"cal.ics, строка 41: событие пропущено"));
    EXPECT_EQ(warnings[10], "…и ещё сообщений о событиях: 15");
}

TEST(ICalendarFiles, x_wr_timezone_gives_floating_times_its_zone) {
    const QByteArray events =
        event(":20240311T090000", "floating") + event(":20240311T090000Z", "utc") +
        event(";TZID=Asia/Tokyo:20240311T090000", "zoned") + event(";VALUE=DATE:20240312", "day") +
        event(":20240312T090000", "rule",
              "RRULE:FREQ=DAILY;COUNT=2\n"
              "EXDATE:20240313T090000\n");
    const std::string utc = "2024.03.11;1;01:00;;; zoned;;;\n"
                            "2024.03.11;1;10:00;;; floating;;;\n"
                            "2024.03.11;1;10:00;;; utc;;;\n"
                            "2024.03.12;2;All Day;;; day;;;\n"
                            "2024.03.12;2;10:00;;; rule;;;";
    EXPECT_EQ(tableLines(read(events, "X-WR-TIMEZONE:UTC\n").week(march11)), utc);
    EXPECT_EQ(tableLines(read(events, "X-WR-TIMEZONE:America/New_York\n").week(march11)),
              "2024.03.11;1;01:00;;; zoned;;;\n"
              "2024.03.11;1;10:00;;; utc;;;\n"
              "2024.03.11;1;14:00;;; floating;;;\n"
              "2024.03.12;2;All Day;;; day;;;\n"
              "2024.03.12;2;14:00;;; rule;;;");
    // Without it, or with a name that is no zone, a floating time is a time of the table's zone.
    const std::string local = "2024.03.11;1;01:00;;; zoned;;;\n"
                              "2024.03.11;1;09:00;;; floating;;;\n"
                              "2024.03.11;1;10:00;;; utc;;;\n"
                              "2024.03.12;2;All Day;;; day;;;\n"
                              "2024.03.12;2;09:00;;; rule;;;";
    EXPECT_EQ(tableLines(read(events).week(march11)), local);
    const FeedDocument unknown = read(events, "X-WR-TIMEZONE:Mars/Olympus\n");
    EXPECT_EQ(tableLines(unknown.week(march11)), local);
    EXPECT_EQ(messages(unknown),
              std::string("cal.ics, строка 4: X-WR-TIMEZONE «Mars/Olympus» не пояс из базы "
                          "поясов: время без пояса показано по часам таблицы"));
}

// libical puts an error in place of each property it cannot read, in English: the user hears only
// of those the table needed, in Russian.
TEST(ICalendarFiles, only_lost_properties_the_table_uses_are_told_and_in_russian) {
    const FeedDocument document =
        read(event(":20240311T070000Z", "harmless",
                   "LOCATION:\nDESCRIPTION:\nCATEGORIES:\nGEO:abc\nCREATED:garbage\n"
                   "ATTENDEE;ROLE=BOSS;=x:mailto:a@b\nDTSTAMP;VALUE=DATETIME:20240101T000000Z\n"
                   "a line folded without its blank\n") +
             event(":20240312T070000Z", "lost", "RRULE:FREQ=SOMETIMES\nEXDATE:yesterday\n"));
    EXPECT_EQ(tableLines(document.week(march11)), "2024.03.11;1;08:00;;; harmless;;;\n"
                                                  "2024.03.12;2;08:00;;; lost;;;");
    EXPECT_EQ(messages(document),
              std::string("cal.ics, строка 16: часть события не прочитана: правило RRULE "
                          "«FREQ=SOMETIMES» не читается, показано только DTSTART\n"
                          "cal.ics, строка 16: часть события не прочитана: значение EXDATE "
                          "«yesterday» не читается, свойство пропущено"));
}

TEST(ICalendarFiles, a_title_without_currency_or_importance_of_its_own_gives_them) {
    struct Case {
        const char* summary;
        const char* categories; // "" for none
        const char* row;        // currency, importance and title
    } cases[] = {
        {"USD ADP Employment Change(HIGH)", "", "USD;3; ADP Employment Change"},
        {"US Nonfarm Payrolls (high)", "", "USD;3; Nonfarm Payrolls"},
        {"EZ CPI y/y (Medium)", "", "EUR;2; CPI y/y"},
        {"DE Ifo", "", "EUR;; Ifo"},
        {"UK GDP (low).", "", "GBP;; GDP (low)."},
        {"GB  GDP(LOW)", "", "GBP;1; GDP"},
        {"JP Tankan", "", "JPY;; Tankan"},
        {"CN PMI", "", "CNY;; PMI"},
        {"CH KOF", "", "CHF;; KOF"},
        {"RU CPI (HIGH)", "", ";3; RU CPI"}, // not a major economy
        {"us CPI", "", ";; us CPI"},
        {"USCPI", "", ";; USCPI"},
        {"US CPI (HIGH)", "GBP", "GBP;3; US CPI"},     // CATEGORIES give the currency
        {"US CPI (HIGH)", "Low", "USD;1; CPI (HIGH)"}, // and the importance
        {"US CPI (HIGH)", "Holiday", "USD;3; CPI"},
        {"(MEDIUM)", "", ";2; "},
        {"Speech (VERY HIGH)", "", ";; Speech (VERY HIGH)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.summary);
        const QByteArray categories =
            *c.categories ? QByteArray("CATEGORIES:") + c.categories + "\n" : QByteArray();
        EXPECT_EQ(tableLines(read(event(":20240311T070000Z", c.summary, categories)).week(march11)),
                  std::string("2024.03.11;1;08:00;") + c.row + ";;;");
    }
}

// The page shows the letters as they are; the table, in cp1251, their base letters.
TEST(ICalendarFiles, letters_cp1251_lacks_stay_on_the_page_and_fold_in_the_table) {
    const std::vector<CalendarEvent> rows =
        read(event(":20240311T070000Z", "Repair-Café für Straße; Łódź ёй 日")).week(march11);
    EXPECT_EQ(tableLines(rows), "2024.03.11;1;08:00;;; Repair-Café für Straße, Łódź ёй 日;;;");
    EXPECT_EQ(testing::tableFile(rows),
              "2024.03.11;1;08:00;;; Repair-Cafe fur Strasse, Lodz \xB8\xE9 ?;;;\r\n");
}

} // namespace
} // namespace newsbell
