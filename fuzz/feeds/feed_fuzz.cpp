// Any document must read into weeks or fail with an Error, and every week must hold rows of its
// own days, day by day, with cells that cannot break a line of the table text file.
#include "base/Cp1251.h"
#include "base/Error.h"
#include "calendar/ICalendarReader.h"
#include "calendar/JsonFeedReader.h"
#include "calendar/WeekPage.h"
#include "calendar/XmlFeedReader.h"

#include <cstdlib>

using namespace newsbell;

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void checkCell(const QString& cell) {
    for (QChar c : cell)
        check(c != u';' && c != u'\r' && c != u'\n' && c != u'\t' && c != QChar(0xA0));
    // Nor can the letters cp1251 lacks, once written as their base letters.
    check(toCp1251(cell).find_first_of(";\r\n\t") == std::string::npos);
}

void checkWeek(const FeedDocument& document, QDate monday) {
    const std::vector<CalendarEvent> rows = document.week(monday);
    QDate previous = monday;
    for (const CalendarEvent& row : rows) {
        check(row.date >= previous && row.date <= monday.addDays(6));
        previous = row.date;
        check(row.importance >= 0 && row.importance <= 3);
        for (const QString* cell :
             {&row.time, &row.currency, &row.name, &row.actual, &row.forecast, &row.previous})
            checkCell(*cell);
    }
    check(!weekPageHtml(monday, rows).isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FeedZones zones{QTimeZone("Europe/Berlin"), QTimeZone("America/New_York")};
    const QByteArrayView bytes(data, qsizetype(size));
    try {
#if defined(FEED_FUZZ_XML_FEED)
        const FeedDocument document = readXmlFeed(bytes, QStringLiteral("fuzz"), zones);
#elif defined(FEED_FUZZ_JSON_FEED)
        const FeedDocument document = readJsonFeed(bytes, QStringLiteral("fuzz"), zones);
#else
        const FeedDocument document = readICalendar(bytes, QStringLiteral("fuzz"), zones);
#endif
        for (QDate monday :
             {QDate(2024, 3, 11), QDate(2024, 10, 21), QDate(2025, 12, 29), QDate(1970, 1, 5)})
            checkWeek(document, monday);
    } catch (const Error&) {
    }
    return 0;
}
