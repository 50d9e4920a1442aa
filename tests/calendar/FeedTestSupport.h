#pragma once

#include "base/Cp1251.h"
#include "calendar/FeedDocument.h"

#include <QStringList>

namespace newsbell::testing {

// The zones most cases read in: a New York feed shown in Berlin.
inline FeedZones newYorkInBerlin() {
    return {QTimeZone("Europe/Berlin"), QTimeZone("America/New_York")};
}

// Rows as the lines of the table text file (UTF-8, without the line ends), for comparing with
// text.
inline std::string tableLines(const std::vector<CalendarEvent>& events) {
    QStringList lines;
    for (const CalendarEvent& e : events)
        lines << QStringList{e.date.toString(QStringLiteral("yyyy.MM.dd")),
                             QString::number(e.date.dayOfWeek() % 7),
                             e.time,
                             e.currency,
                             e.importance ? QString::number(e.importance) : QString(),
                             QLatin1Char(' ') + e.name,
                             e.actual,
                             e.forecast,
                             e.previous}
                     .join(QLatin1Char(';'));
    return lines.join(QLatin1Char('\n')).toStdString();
}

// The same rows as the table text file holds them: cp1251, every line ended by CR LF.
inline std::string tableFile(const std::vector<CalendarEvent>& events) {
    std::string text;
    for (const CalendarEvent& event : events)
        text += toCp1251(QString::fromStdString(tableLines({event}))) + "\r\n";
    return text;
}

} // namespace newsbell::testing
