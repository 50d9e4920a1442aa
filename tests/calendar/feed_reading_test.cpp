// Feeds read into the rows of a week: all formats, time zones, the mapping of every cell.
#include "base/Error.h"
#include "calendar/FeedTime.h"
#include "calendar/ICalendarEvents.h"
#include "tests/support/CalendarRows.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::newYorkInBerlin;
using testing::tableLines;

FeedDocument read(const QByteArray& document, const FeedZones& zones = newYorkInBerlin()) {
    return readFeedDocument(document, QStringLiteral("feed"), zones);
}

std::string week(const QByteArray& document, QDate monday) {
    return tableLines(read(document).week(monday));
}

QByteArray xmlFeed(const QByteArray& events) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<weeklyevents>\n" + events +
           "</weeklyevents>\n";
}

QByteArray xmlEvent(const char* date, const char* time, const char* title = "x",
                    const char* impact = "High") {
    return QByteArray("<event><title>") + title + "</title><country>USD</country><date>" + date +
           "</date><time>" + time + "</time><impact>" + impact + "</impact></event>\n";
}

QByteArray calendar(const QByteArray& events) {
    return "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//newsbell tests//EN\n" + events +
           "END:VCALENDAR\n";
}

// The error of reading document, or "" when it reads.
std::string readError(const QByteArray& document) {
    try {
        read(document);
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

const QDate march11(2024, 3, 11); // New York on summer time, Berlin not yet

TEST(FeedReading, all_three_formats_give_the_same_week) {
    const QByteArray xml = xmlFeed(
        "<event><title>Bank Holiday</title><country>EUR</country><date>03-11-2024</date>"
        "<time>All Day</time><impact>Holiday</impact><forecast /><previous /></event>\n"
        "<event><title>CPI m/m</title><country>USD</country><date>03-12-2024</date>"
        "<time>8:30am</time><impact>High</impact></event>\n"
        "<event><title>Crude Oil Inventories</title><country>USD</country><date>03-13-2024</date>"
        "<time>10:30am</time><impact>Low</impact></event>\n"
        "<event><title>German ZEW</title><country>EUR</country><date>03-12-2024</date>"
        "<time>6:00am</time><impact>Medium</impact></event>\n"
        "<event><title>Late night</title><country>JPY</country><date>03-14-2024</date>"
        "<time>7:50pm</time><impact>Low</impact></event>\n");
    const QByteArray ics = calendar("BEGIN:VEVENT\nUID:1\nDTSTART;VALUE=DATE:20240311\n"
                                    "SUMMARY:Bank Holiday\nCATEGORIES:EUR,Holiday\nEND:VEVENT\n"
                                    "BEGIN:VEVENT\nUID:2\n"
                                    "DTSTART;TZID=America/New_York:20240312T083000\n"
                                    "SUMMARY:USD CPI m/m\nCATEGORIES:High\nEND:VEVENT\n"
                                    "BEGIN:VEVENT\nUID:3\nDTSTART:20240313T143000Z\n"
                                    "SUMMARY:Crude Oil Inventories\nCATEGORIES:USD\n"
                                    "CATEGORIES:low\nEND:VEVENT\n"
                                    "BEGIN:VEVENT\nUID:4\n"
                                    "DTSTART;TZID=Eastern Standard Time:20240312T060000\n"
                                    "SUMMARY:German ZEW\nCATEGORIES:EUR,MEDIUM\nEND:VEVENT\n"
                                    "BEGIN:VEVENT\nUID:5\nDTSTART:20240315T005000\n"
                                    "SUMMARY:JPY Late night\nCATEGORIES:Low\nEND:VEVENT\n");
    const QByteArray json =
        R"([{"title": "Bank Holiday", "country": "EUR", "date": "2024-03-11", "impact": "Holiday",
             "forecast": "", "previous": ""},
            {"title": "CPI m/m", "country": "USD", "date": "2024-03-12T08:30:00-04:00",
             "impact": "High"},
            {"title": "Crude Oil Inventories", "country": "USD",
             "date": "2024-03-13T10:30:00-04:00", "impact": "Low"},
            {"title": "German ZEW", "country": "EUR", "date": "2024-03-12T06:00:00-04:00",
             "impact": "Medium"},
            {"title": "Late night", "country": "JPY", "date": "2024-03-14T19:50:00-04:00",
             "impact": "Low"}])";
    const std::string expected = "2024.03.11;1;All Day;EUR;; Bank Holiday;;;\n"
                                 "2024.03.12;2;11:00;EUR;2; German ZEW;;;\n"
                                 "2024.03.12;2;13:30;USD;3; CPI m/m;;;\n"
                                 "2024.03.13;3;15:30;USD;1; Crude Oil Inventories;;;\n"
                                 "2024.03.15;5;00:50;JPY;1; Late night;;;";
    EXPECT_EQ(week(xml, march11), expected);
    EXPECT_EQ(week(ics, march11), expected);
    EXPECT_EQ(week(json, march11), expected);
    EXPECT_EQ(week(xml, march11.addDays(7)), "");
}

// New York switches to summer time three weeks before Europe and back one week after it.
TEST(FeedReading, new_york_times_are_shown_in_berlin_across_every_switch) {
    struct Case {
        const char* date;
        const char* time;
        QDate local;
        const char* localTime;
    } cases[] = {
        {"03-08-2024", "8:30am", {2024, 3, 8}, "14:30"},   // both on winter time
        {"03-10-2024", "2:30am", {2024, 3, 10}, "08:30"},  // the hour New York skips
        {"03-15-2024", "8:30am", {2024, 3, 15}, "13:30"},  // New York switched, Berlin not
        {"03-30-2024", "8:30pm", {2024, 3, 31}, "01:30"},  // just before Berlin switches
        {"03-30-2024", "9:30pm", {2024, 3, 31}, "03:30"},  // just after
        {"04-05-2024", "8:30am", {2024, 4, 5}, "14:30"},   // both on summer time
        {"10-26-2024", "8:30pm", {2024, 10, 27}, "02:30"}, // Berlin's doubled hour, first
        {"10-26-2024", "9:30pm", {2024, 10, 27}, "02:30"}, // and second time round
        {"11-01-2024", "8:30am", {2024, 11, 1}, "13:30"},  // Berlin back, New York not
        {"11-03-2024", "1:30am", {2024, 11, 3}, "06:30"},  // New York's doubled hour: first
        {"11-08-2024", "8:30am", {2024, 11, 8}, "14:30"},  // both on winter time
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time);
        const std::vector<CalendarEvent> rows =
            read(xmlFeed(xmlEvent(c.date, c.time))).week(mondayOf(c.local));
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].date, c.local);
        EXPECT_EQ(rows[0].time, QString::fromUtf8(c.localTime));
    }
}

// Current copies of the XML feed are written in UTC: a Japanese release at 8:50 Tokyo stands as
// 11:50pm the day before.
TEST(FeedReading, xml_times_are_utc_unless_another_zone_is_named) {
    const QByteArray xml = xmlFeed(xmlEvent("03-11-2024", "11:50pm", "GDP"));
    EXPECT_EQ(tableLines(read(xml, {QTimeZone("Asia/Tokyo")}).week(march11)),
              "2024.03.12;2;08:50;USD;3; GDP;;;");
    EXPECT_EQ(
        tableLines(
            read(xml, {QTimeZone("Asia/Tokyo"), QTimeZone("America/New_York")}).week(march11)),
        "2024.03.12;2;12:50;USD;3; GDP;;;");
}

TEST(FeedReading, the_repeated_hour_keeps_real_order_whatever_the_feed_order) {
    const QByteArray xml = xmlFeed(xmlEvent("10-26-2024", "9:30pm", "second") +
                                   xmlEvent("10-26-2024", "8:30pm", "first"));
    EXPECT_EQ(week(xml, QDate(2024, 10, 21)), "2024.10.27;0;02:30;USD;3; first;;;\n"
                                              "2024.10.27;0;02:30;USD;3; second;;;");
}

TEST(FeedReading, untimed_rows_come_first_and_impacts_map_to_digits) {
    const QByteArray xml = xmlFeed(
        xmlEvent("03-12-2024", "Tentative", "A", "HIGH ") +
        xmlEvent("03-12-2024", "8:30am", "B", "medium") +
        xmlEvent("03-12-2024", "", "C", "Non-Economic") +
        xmlEvent("03-12-2024", "All Day", "D", "Holiday") +
        xmlEvent("03-12-2024", "12:00pm", "E", "low") + xmlEvent("03-12-2024", "12:15AM", "F", "") +
        xmlEvent("03-12-2024", "8:30 am", "G", "Medium") +
        xmlEvent("03-12-2024", "13:00pm", "H", "x") + xmlEvent("03-12-2024", " soon ", "I", "Low"));
    EXPECT_EQ(week(xml, march11), "2024.03.12;2;Tentative;USD;3; A;;;\n"
                                  "2024.03.12;2;;USD;; C;;;\n"
                                  "2024.03.12;2;All Day;USD;; D;;;\n"
                                  "2024.03.12;2;8:30 am;USD;2; G;;;\n"
                                  "2024.03.12;2;13:00pm;USD;; H;;;\n"
                                  "2024.03.12;2;soon;USD;1; I;;;\n"
                                  "2024.03.12;2;05:15;USD;; F;;;\n"
                                  "2024.03.12;2;13:30;USD;2; B;;;\n"
                                  "2024.03.12;2;17:00;USD;1; E;;;");
}

TEST(FeedReading, xml_cells_are_plain_text_that_cannot_break_a_line) {
    const QByteArray xml = xmlFeed(
        "<event><title> <![CDATA[S&P 500; \"Global\" <Index>]]> &amp; more\ttab\n"
        "<b>bold</b> </title><country> EUR </country><date>3-12-2024</date><time>8:30am</time>"
        "<impact>High</impact><unknown>?</unknown><actual>\xE2\x82\xAC"
        "5 \xF0\x9F\x98\x80 "
        "\xD0\x96</actual><forecast>1;2</forecast><previous>a&#160;b</previous>"
        "<title>second title</title></event>\n");
    EXPECT_EQ(
        week(xml, march11),
        "2024.03.12;2;13:30;EUR;3; S&P 500, \"Global\" <Index> & more tab bold;€5 😀 Ж;1,2;a b");
}

TEST(FeedReading, icalendar_rules_for_currency_importance_title_and_times) {
    struct Case {
        QDate monday;
        QByteArray events;
        std::string expected;
    } cases[] = {
        {march11,
         "BEGIN:VEVENT\nDTSTART:20240311T070000Z\nSUMMARY:USD Retail Sales\n"
         "CATEGORIES:EUR\nEND:VEVENT\n",
         "2024.03.11;1;08:00;EUR;; USD Retail Sales;;;"},
        {march11, "BEGIN:VEVENT\nDTSTART:20240311T070000Z\nSUMMARY:GBP  CPI\nEND:VEVENT\n",
         "2024.03.11;1;08:00;GBP;;  CPI;;;"},
        {march11,
         "BEGIN:VEVENT\nDTSTART:20240311T070000Z\nSUMMARY:Gbp CPI\nEND:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART:20240311T070000Z\nSUMMARY:USDX\nEND:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART:20240311T070000Z\nEND:VEVENT\n",
         "2024.03.11;1;08:00;;; Gbp CPI;;;\n2024.03.11;1;08:00;;; USDX;;;\n"
         "2024.03.11;1;08:00;;; ;;;"},
        {march11,
         "BEGIN:VEVENT\nDTSTART:20240311T070000Z\nSUMMARY:JPY x\nCATEGORIES:usd,EURO,Medium,High\n"
         "CATEGORIES:CHF\nEND:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART:20240311T070000Z\nSUMMARY:y\nCATEGORIES:Holiday,AUD\\,NZD,,NZD\n"
         "END:VEVENT\n",
         "2024.03.11;1;08:00;CHF;2; JPY x;;;\n2024.03.11;1;08:00;NZD;; y;;;"},
        // Escapes, and a fold that splits the two bytes of a Cyrillic letter.
        {march11,
         "BEGIN:VEVENT\r\nDTSTART:20240311T070000Z\r\nSUMMARY:EUR A\\, B\\; C\\nD\\\\E \xD0\r\n"
         " \x96\r\nEND:VEVENT\r\n",
         "2024.03.11;1;08:00;EUR;; A, B, C D\\E Ж;;;"},
        // Zones: IANA, a quoted Windows name, floating (local), seconds dropped.
        {march11,
         "BEGIN:VEVENT\nDTSTART;TZID=Europe/London:20240311T070000\nSUMMARY:a\nEND:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART;TZID=\"Tokyo Standard Time\":20240311T090000\nSUMMARY:b\n"
         "END:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART:20240311T093045\nSUMMARY:c\nEND:VEVENT\n",
         "2024.03.11;1;01:00;;; b;;;\n2024.03.11;1;08:00;;; a;;;\n2024.03.11;1;09:30;;; c;;;"},
        // Whole days over several days, into the weeks around; cancelled events left out.
        {march11,
         "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20240310\nDTEND;VALUE=DATE:20240313\nSUMMARY:a\n"
         "END:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20240317\nDURATION:P2D\nSUMMARY:b\nEND:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART:20240312T070000Z\nSTATUS:CANCELLED\nSUMMARY:c\nEND:VEVENT\n",
         "2024.03.11;1;All Day;;; a;;;\n2024.03.12;2;All Day;;; a;;;\n"
         "2024.03.17;0;All Day;;; b;;;"},
        // Recurrences within the week asked for, with EXDATE and a UTC UNTIL held against the
        // moment of each instance (13:30 UTC is past 13:29:59 UTC).
        {march11,
         "BEGIN:VEVENT\nDTSTART;TZID=America/New_York:20240103T100000\n"
         "RRULE:FREQ=WEEKLY;BYDAY=WE\nSUMMARY:weekly\nEND:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART:20240315T120000Z\nRRULE:FREQ=DAILY;COUNT=3\n"
         "EXDATE:20240316T120000Z\nSUMMARY:counted\nEND:VEVENT\n"
         "BEGIN:VEVENT\nDTSTART;TZID=America/New_York:20240310T093000\n"
         "RRULE:FREQ=DAILY;UNTIL=20240312T132959Z\nSUMMARY:until\nEND:VEVENT\n",
         "2024.03.11;1;14:30;;; until;;;\n2024.03.13;3;15:00;;; weekly;;;\n"
         "2024.03.15;5;13:00;;; counted;;;\n2024.03.17;0;13:00;;; counted;;;"},
        // A rule within the day jumps to the week asked for, 150,000 steps after its start.
        {march11,
         "BEGIN:VEVENT\nDTSTART:20220311T000700Z\n"
         "RRULE:FREQ=MINUTELY;INTERVAL=7;UNTIL=20240311T000000Z\nSUMMARY:m\nEND:VEVENT\n",
         "2024.03.11;1;00:03;;; m;;;\n2024.03.11;1;00:10;;; m;;;\n2024.03.11;1;00:17;;; "
         "m;;;\n2024.03.11;1;00:24;;; m;;;\n2024.03.11;1;00:31;;; m;;;\n2024.03.11;1;00:38;;; "
         "m;;;\n2024.03.11;1;00:45;;; m;;;\n2024.03.11;1;00:52;;; m;;;\n2024.03.11;1;00:59;;; "
         "m;;;"},
        // A changed instance replaces its original, a cancelled one takes it away.
        {march11,
         "BEGIN:VEVENT\nUID:w\nDTSTART:20240304T100000Z\nRRULE:FREQ=WEEKLY\nSUMMARY:weekly\n"
         "END:VEVENT\n"
         "BEGIN:VEVENT\nUID:w\nRECURRENCE-ID:20240311T100000Z\nDTSTART:20240312T150000Z\n"
         "SUMMARY:moved\nEND:VEVENT\n",
         "2024.03.12;2;16:00;;; moved;;;"},
        {march11.addDays(7),
         "BEGIN:VEVENT\nUID:w\nRECURRENCE-ID:20240318T100000Z\nSTATUS:CANCELLED\nEND:VEVENT\n"
         "BEGIN:VEVENT\nUID:w\nDTSTART:20240304T100000Z\nRRULE:FREQ=WEEKLY\nSUMMARY:weekly\n"
         "END:VEVENT\n",
         ""},
        {march11.addDays(14),
         "BEGIN:VEVENT\nUID:w\nDTSTART:20240304T100000Z\nRRULE:FREQ=WEEKLY\nSUMMARY:weekly\n"
         "END:VEVENT\n",
         "2024.03.25;1;11:00;;; weekly;;;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.events.toStdString());
        EXPECT_EQ(week(calendar(c.events), c.monday), c.expected);
    }
}

// Rules that repeat every second, start long ago or never fit cost only the week asked for:
// worked out from their start, or by libical, each would take seconds to minutes. Rules within
// the day give the week no more than an hour's worth of rows, all events together.
TEST(FeedReading, recurrences_are_worked_out_for_the_week_asked_for_only) {
    struct Case {
        const char* start;
        const char* rule;
        QDate monday;
        size_t rows;
        const char* first;
    } cases[] = {
        {"20240304T000000Z", "FREQ=SECONDLY;COUNT=2147483647", march11, mostFrequentRowsPerWeek,
         "2024.03.11;1;00:00"},
        {"20240304T000000Z", "FREQ=SECONDLY;COUNT=2147483647", QDate(2029, 3, 12),
         mostFrequentRowsPerWeek, "2029.03.12;1;00:00"},
        {"20240304T000000Z", "FREQ=SECONDLY;BYHOUR=9;BYMINUTE=30;BYSECOND=0", march11, 20 * 7,
         "2024.03.11;1;10:30"},
        {"20240304T000000Z", "FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30", march11, 0, ""},
        {"20240304T000000Z", "FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30;COUNT=5", march11, 0, ""},
        {"20240304T000000Z", "FREQ=HOURLY;BYDAY=MO;COUNT=30", march11, 20 * 6,
         "2024.03.11;1;01:00"},
        {"19000101T120000Z", "FREQ=DAILY;COUNT=2147483647", march11, 20 * 7, "2024.03.11;1;13:00"},
        {"20240101T120000Z", "FREQ=WEEKLY;COUNT=10", march11, 0, ""},
        {"20240101T120000Z", "FREQ=WEEKLY;COUNT=11", march11, 20 * 1, "2024.03.11;1;13:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        QByteArray events;
        // As many events as made one read take half a minute.
        for (int i = 0; i < 20; ++i)
            events += QByteArray("BEGIN:VEVENT\nDTSTART:") + c.start + "\nRRULE:" + c.rule +
                      "\nSUMMARY:x\nEND:VEVENT\n";
        const std::vector<CalendarEvent> rows = read(calendar(events)).week(c.monday);
        EXPECT_EQ(rows.size(), c.rows);
        if (!rows.empty()) {
            EXPECT_EQ(tableLines({rows[0]}).substr(0, 18), c.first);
        }
    }
}

// Rules within the day are worked out day by day, libical's every step from the start: where
// libical keeps to the rules, both give the same.
TEST(FeedReading, rules_within_the_day_give_what_libical_gives) {
    const qint64 from = plainSeconds(march11, QTime(0, 0)), to = from + 2 * 86400;
    const char* const rules[] = {
        "FREQ=MINUTELY;INTERVAL=7;BYHOUR=12;COUNT=100",
        "FREQ=MINUTELY;BYMINUTE=0,30;BYHOUR=1,13,23",
        "FREQ=HOURLY;INTERVAL=5;BYDAY=MO,WE;BYMONTHDAY=-21,11,13",
        "FREQ=HOURLY;BYMONTHDAY=12;BYMONTH=3;COUNT=30",
        "FREQ=MINUTELY;INTERVAL=90;BYSETPOS=-1;UNTIL=20240312T120000",
    };
    const qint64 start = plainSeconds(QDate(2024, 3, 8), QTime(12, 3, 20));
    for (const char* text : rules) {
        SCOPED_TRACE(text);
        const icalrecurrencetype rule = icalrecurrencetype_from_string(text);
        std::vector<qint64> expected, found;
        icalrecur_iterator* iterator = icalrecur_iterator_new(rule, icalFields(start, false));
        for (icaltimetype next = icalrecur_iterator_next(iterator); !icaltime_is_null_time(next);
             next = icalrecur_iterator_next(iterator)) {
            const qint64 wall = *wallOfFields(next);
            if (wall >= to) break;
            if (wall >= from) expected.push_back(wall);
        }
        icalrecur_iterator_free(iterator);
        forEachInstance(rule, start, false, from, to, [&](qint64 wall) {
            found.push_back(wall);
            return true;
        });
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(found, expected);
    }
}

TEST(FeedReading, weeks_without_events_are_empty_and_an_empty_feed_is_valid) {
    EXPECT_EQ(week(xmlFeed(""), march11), "");
    EXPECT_EQ(week(calendar(""), march11), "");
    EXPECT_EQ(week("\xEF\xBB\xBF  \r\n<weeklyevents/>", march11), "");
}

TEST(FeedReading, documents_that_cannot_be_read_fail_naming_source_and_line) {
    struct Case {
        QByteArray document;
        const char* message;
    } cases[] = {
        {"", "feed: это не календарь iCalendar"},
        {"hello", "feed: это не календарь iCalendar"},
        {"begin:vcalendar\n", "feed: это не календарь iCalendar"},
        {"<weeklyevents>\n<event><title>x</title>\n</weeklyevents>",
         "feed, строка 3: XML не читается"},
        {"<rss/>", "feed, строка 1: корневой элемент «rss», а не weeklyevents"},
        {"BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:x\n",
         "feed, строка 3: календарь iCalendar не читается"},
        {calendar(QByteArray("BEGIN:VEVENT\nSUMMARY:a\0b\nEND:VEVENT\n", 34)),
         "feed, строка 5: нулевой байт"},
        {QByteArray(largestFeedDocument + 1, '<'), "feed: документ больше 64 МБ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document.left(200).toStdString());
        EXPECT_EQ(readError(c.document).rfind(c.message, 0), 0u) << readError(c.document);
    }
    try {
        readFeedDocument("<rss/>", QStringLiteral("feed%2.xml"), newYorkInBerlin());
        ADD_FAILURE();
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("feed%2.xml, строка 1: ", 0), 0u) << error.what();
    }
}

// libical would complain on standard error, which belongs to the program's own messages.
TEST(FeedReading, components_closed_out_of_order_are_read_quietly) {
    ::testing::internal::CaptureStderr();
    const std::string rows =
        week("BEGIN:VCALENDAR\nEND:VEVENT\nBEGIN:VEVENT\nDTSTART:20240311T070000Z\nSUMMARY:a\n"
             "BEGIN:VALARM\nEND:VEVENT\nEND:VALARM\nEND:VCALENDAR\nEND:VCALENDAR\n",
             march11);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(rows, "2024.03.11;1;08:00;;; a;;;");
}

TEST(FeedReading, unreadable_events_are_left_out_with_a_warning_naming_the_line) {
    const FeedDocument xml =
        read(xmlFeed("<event><title>no date</title></event>\n" + xmlEvent("13-40-2024", "8:30am") +
                     xmlEvent("03-12-2024", "8:30am", "kept")));
    EXPECT_EQ(xml.warnings(),
              QStringList({QStringLiteral("feed, строка 3: событие без даты пропущено"),
                           QStringLiteral("feed, строка 4: событие с датой «13-40-2024» "
                                          "пропущено (нужен вид ММ-ДД-ГГГГ)")}));
    EXPECT_EQ(tableLines(xml.week(march11)), "2024.03.12;2;13:30;USD;3; kept;;;");

    const FeedDocument ics = read(
        calendar("BEGIN:VEVENT\nSUMMARY:no start\nEND:VEVENT\n"
                 "BEGIN:VEVENT\nDTSTART:20241399T000000Z\nEND:VEVENT\n"
                 "BEGIN:VEVENT\nDTSTART:20240311T070000Z\nRRULE:FREQ=SOMETIMES\nEND:VEVENT\n"));
    ASSERT_EQ(ics.warnings().size(), 3);
    EXPECT_EQ(ics.warnings()[0], QStringLiteral("feed, строка 4: событие без DTSTART пропущено"));
    EXPECT_EQ(ics.warnings()[1],
              QStringLiteral("feed, строка 7: событие с невозможной датой DTSTART пропущено"));
    EXPECT_TRUE(ics.warnings()[2].startsWith(
        QStringLiteral("feed, строка 10: часть события не прочитана")));
    EXPECT_EQ(tableLines(ics.week(march11)), "2024.03.11;1;08:00;;; ;;;");
}

} // namespace
} // namespace newsbell
