// The weekly JSON feed: its dates, the mapping of its members, what it leaves out and refuses.
#include "base/Error.h"
#include "calendar/JsonFeedReader.h"
#include "tests/support/CalendarRows.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::tableLines;

const QDate december29(2025, 12, 29);

FeedDocument read(const QByteArray& json, const FeedZones& zones = {QTimeZone("Europe/Berlin")}) {
    return readFeedDocument(json, QStringLiteral("feed.json"), zones);
}

QByteArray event(const QByteArray& date, const QByteArray& more = {}) {
    return R"({"title": "x", "country": "USD", "date": ")" + date + "\"" + more + "}";
}

// Each date's own offset gives the moment, shown in Berlin; a date alone is a whole day.
TEST(JsonFeed, dates_with_any_offset_give_the_moment_and_a_date_alone_a_whole_day) {
    struct Case {
        const char* date;
        const char* row; // "" when the date is no date of the feed
    } cases[] = {
        {"2025-12-30T14:00:00-05:00", "2025.12.30;2;20:00"},
        {"2025-12-30T08:30:00Z", "2025.12.30;2;09:30"},
        {"2025-12-30t08:30:00z", "2025.12.30;2;09:30"},
        {"2025-12-30 08:30:00+00:00", "2025.12.30;2;09:30"},
        {"2025-12-30T18:00:00+05:30", "2025.12.30;2;13:30"},
        {"2025-12-30T18:00:00+0530", "2025.12.30;2;13:30"},
        {"2025-12-30T18:00:00+05", "2025.12.30;2;14:00"},
        {"2025-12-30T14:00-05:00", "2025.12.30;2;20:00"},
        {"2025-12-30T14:00:59.999-05:00", "2025.12.30;2;20:00"},
        {"2025-12-29T23:30:00Z", "2025.12.30;2;00:30"}, // the next day in Berlin
        {"2026-01-04T23:00:00Z", ""},                   // the next week
        {" 2025-12-31 ", "2025.12.31;3;All Day"},
        {"2025-12-30T14:00:00", ""}, // a time without an offset has no moment
        {"12-30-2025", ""},
        {"2025-12-30T24:00:00Z", ""},
        {"2025-12-30T14:60:00Z", ""},
        {"2025-12-30T14:00:60Z", ""},
        {"2025-12-30T14:00:00+24:00", ""},
        {"2025-02-30", ""},
        {"2025-12-30T14Z", ""},
        {"2025-12-30T14:00:00Z ", "2025.12.30;2;15:00"},
        {"2025-12-30T14:00:00ZZ", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        const std::string rows = tableLines(read("[" + event(c.date) + "]").week(december29));
        EXPECT_EQ(rows.substr(0, std::min(rows.size(), std::strlen(c.row))), c.row);
        EXPECT_EQ(rows.empty(), *c.row == 0);
    }
}

TEST(JsonFeed, members_map_to_cells_as_the_xml_feed_maps_them) {
    const QByteArray json = R"([
        {"title": " CPI m/m ", "country": "USD", "date": "2025-12-30T08:30:00-05:00",
         "impact": "HIGH", "forecast": " 0.3% ", "previous": "0.2%", "actual": "0.4%",
         "url": "https://example.org/1"},
        {"title": "Christmas Day", "country": "EUR", "date": "2025-12-29T00:00:00+01:00",
         "impact": "Holiday", "forecast": "", "previous": ""},
        {"title": "Index; \"S&P\" &amp; <b>Café</b>\tjour", "country": "CAD",
         "date": "2025-12-31T10:00:00-05:00", "impact": "medium", "forecast": 1.5,
         "previous": null},
        {"title": "Bank Holiday", "country": "JPY", "date": "2025-12-31", "impact": "Non-Economic"},
        {"title": "PMI", "country": "GBP", "date": "2025-12-31T09:30:00Z", "impact": "low",
         "title": "Manufacturing PMI"}
    ])";
    // --feed-time-zone does not apply: every date carries its own offset.
    for (const QTimeZone& feedZone : {QTimeZone::utc(), QTimeZone("America/New_York")}) {
        EXPECT_EQ(tableLines(read(json, {QTimeZone("Europe/Berlin"), feedZone}).week(december29)),
                  "2025.12.29;1;00:00;EUR;; Christmas Day;;;\n"
                  "2025.12.30;2;14:30;USD;3; CPI m/m;0.4%;0.3%;0.2%\n"
                  "2025.12.31;3;All Day;JPY;; Bank Holiday;;;\n"
                  "2025.12.31;3;10:30;GBP;1; Manufacturing PMI;;;\n"
                  "2025.12.31;3;16:00;CAD;2; Index, \"S&P\" &amp, <b>Café</b> jour;;1.5;");
    }
}

TEST(JsonFeed, objects_without_a_readable_date_or_title_are_left_out_with_one_message_each) {
    const FeedDocument document = read("[\n" + event("2025-12-30T08:30:00Z") + ",\n" +
                                       R"({"title": "no date"},
                                          {"title": "bad", "date": "2025-12-30T08:30:00"},
                                          {"country": "USD", "date": 20251230},
                                          {"title": 5, "date": "2025-12-30"}, 7,
                                          {"date": "2025-12-30", "title": "kept"}
                                          ])");
    EXPECT_EQ(document.warnings().join(u'\n').toStdString(),
              "feed.json, строка 3: событие без даты пропущено\n"
              "feed.json, строка 4: событие с датой «2025-12-30T08:30:00» пропущено (нужен вид "
              "ГГГГ-ММ-ДДTчч:мм:сс+чч:мм или ГГГГ-ММ-ДД)\n"
              "feed.json, строка 5: событие без даты пропущено\n"
              "feed.json, строка 6: событие без названия пропущено\n"
              "feed.json, строка 6: элемент ленты не объект");
    EXPECT_EQ(tableLines(document.week(december29)), "2025.12.30;2;All Day;;; kept;;;\n"
                                                     "2025.12.30;2;09:30;USD;; x;;;");
}

TEST(JsonFeed, documents_that_are_no_array_of_events_fail_naming_the_line) {
    struct Case {
        QByteArray document;
        const char* message;
    } cases[] = {
        {"[\n{\"title\": \"x\",\n\"date\" \"2025-12-30\"}]",
         "feed.json, строка 3: JSON не читается: после имени нет «:»"},
        {"[\n{\"title\": \"x\"},\n", "feed.json, строка 3: JSON не читается: массив не закрыт"},
        {"{\"events\": []}", "feed.json, строка 1: лента JSON должна быть массивом событий"},
        {"\xEF\xBB\xBF [] x", "feed.json, строка 1: JSON не читается: лишнее после конца"},
    };
    for (const Case& c : cases) {
        try {
            read(c.document);
            ADD_FAILURE() << c.message;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.message, 0), 0u) << error.what();
        }
    }
    EXPECT_EQ(read("\xEF\xBB\xBF\r\n [ ]").week(december29).size(), 0u);
    // UTF-16 with its byte-order mark, as a server may send it.
    const QString text = QStringLiteral("[") + QString::fromUtf8(event("2025-12-30")) + u']';
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    EXPECT_EQ(tableLines(read(utf16).week(december29)), "2025.12.30;2;All Day;USD;; x;;;");
}

} // namespace
} // namespace newsbell
