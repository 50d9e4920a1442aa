#pragma once

#include "base/Error.h"
#include "calendar/CalendarWeek.h"

#include <QByteArrayView>
#include <QStringList>
#include <QTimeZone>
#include <memory>
#include <vector>

namespace newsbell {

// The zones a feed is read in: the table shows local times; the weekly XML feed writes wall
// times of the feed's zone, UTC unless the user names another (every copy of it since 2022 is
// written in UTC).
struct FeedZones {
    QTimeZone local;
    QTimeZone feed = QTimeZone::utc();
};

// A document larger than this is refused rather than read into memory.
inline constexpr qsizetype largestFeedDocument = 64 * 1024 * 1024;

// One row to be: its cells, already fit for a table cell (the row's date is the local date;
// for a row without a time of day, the date the feed gives), and when it happens.
struct FeedEntry {
    CalendarEvent row;
    int order = 0; // the event's place in the document
    bool timed = false;
    qint64 moment = 0; // timed rows: seconds since 1970 UTC
};

// Rows that are only worked out for the weeks asked for (recurrences, events over many days).
class LaterEntries {
public:
    virtual ~LaterEntries() = default;
    // Appends the rows dated first to last (local dates).
    virtual void addEntries(QDate first, QDate last, std::vector<FeedEntry>& out) const = 0;
    // Whether there is no event to work rows out of.
    virtual bool isEmpty() const = 0;
};

// A feed as read: its rows, ready to be served week by week.
class FeedDocument {
public:
    FeedDocument(std::vector<FeedEntry> entries, std::shared_ptr<const LaterEntries> later,
                 QStringList warnings);

    // The rows of the local week beginning at monday, in the page's order: day by day; within a
    // day the rows without a time of day first in feed order, then by the moment they happen,
    // feed order on ties.
    std::vector<CalendarEvent> week(QDate monday) const;

    // Events skipped or read in part, one message each, naming the source and the line; after
    // mostWarnings of them, one line with the count of the others.
    const QStringList& warnings() const { return warnings_; }
    static constexpr qsizetype mostWarnings = 10;

    // Whether the document holds any event to show, in whatever week.
    bool hasEvents() const;

private:
    std::vector<FeedEntry> workOutWeek(QDate monday) const;

    std::vector<FeedEntry> entries_; // in page order
    std::shared_ptr<const LaterEntries> later_;
    QStringList warnings_;
    // Weeks worked out from later_, kept since a page is asked for again and again.
    struct WeekCache;
    std::shared_ptr<WeekCache> weeks_;
};

// What a document is, told by its first bytes.
enum class FeedFormat { Xml, Json, ICalendar };

// A document made ready for its reader: its format, and the text the reader takes (a UTF-16
// iCalendar or JSON document as UTF-8; anything else as it came, without a copy of the bytes).
struct FeedText {
    FeedFormat format = FeedFormat::Xml;
    QByteArray text;
};

// Tells the format: after a byte-order mark and blanks, "BEGIN:VCALENDAR" starts iCalendar, "<"
// XML, and "[" (or "{", to be told it is no array) JSON. Throws Error naming source for anything
// else, and for a document larger than largest without looking at it.
FeedText feedText(QByteArrayView bytes, const QString& source,
                  qsizetype largest = largestFeedDocument);

// Reads a weekly XML or JSON feed or an iCalendar document, told apart by feedText(). Throws Error
// naming source (and the line where there is one) for anything else or a document that does not
// parse.
FeedDocument readFeedDocument(QByteArrayView bytes, const QString& source, const FeedZones& zones);

// A feed's text as a table cell: ";" becomes ",", CR, LF, tab and U+00A0 become blanks.
QString feedCellText(QString text);

// "HH:MM" of a time of day.
QString clockText(QTime time);

// 3, 2 and 1 for "high", "medium" and "low" in any case; 0 for any other word.
int feedImportance(QStringView word);

// "<source>, строка <line>: <problem>", the form of every message about a document.
QString feedProblem(const QString& source, qint64 line, const QString& problem);
// The error of a document that cannot be read, with such a message.
Error feedError(const QString& source, qint64 line, const QString& problem);

} // namespace newsbell
