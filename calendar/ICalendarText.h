#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace newsbell {

// An iCalendar document as libical is given it, and where its events stand.
struct PreparedICalendar {
    // Lines unfolded on bytes, before any decoding (a fold may split a multi-byte character);
    // LF line ends; each CATEGORIES value on a line of its own (libical splits a list wrongly
    // around an escaped comma or an empty value).
    std::string text;
    // The line of each BEGIN:VEVENT that opens an event of a calendar, in document order: the
    // order in which libical gives the calendars' events.
    std::vector<qint64> eventLines;
    qint64 lineCount = 0;
    QStringList warnings; // lines left out
};

// Longer lines are left out with a warning: libical takes time that grows with the square of a
// line's length, and no property the table uses comes near it.
inline constexpr size_t longestICalendarLine = 256 * 1024;

// Throws Error naming source and line for a NUL byte, which would end the text early.
PreparedICalendar prepareICalendar(QByteArrayView bytes, const QString& source);

// The first line from line from on that holds both texts; from when none does. For messages
// about a property, which libical does not place.
qint64 lineHolding(QByteArrayView bytes, qint64 from, std::string_view first,
                   std::string_view second);

} // namespace newsbell
