#pragma once

#include "calendar/CalendarWeek.h"
#include "calendar/FeedDocument.h"
#include "core/EventTable.h"

#include <QStringList>
#include <string>
#include <vector>

namespace newsbell::testing {

// An event's fields in the table's column order, from the date on; a holiday note's importance
// 0 is no importance.
QStringList fieldsOf(const CalendarEvent& event);

// The events as lines of the table text file (UTF-8, no line ends), joined by "\n", for
// comparing with text.
std::string tableLines(const std::vector<CalendarEvent>& events);

// The table text file lines the extraction gives for the events: cp1251, ";" in a field made
// ",", each line ended by CR LF; a holiday note, having no link, gives none.
std::vector<std::string> fileLines(const std::vector<CalendarEvent>& events);
std::string tableFile(const std::vector<CalendarEvent>& events);

// The lines of what the demo calendar shows for the week of monday at the moment now, with
// extra (the events it adds soon after it starts).
std::vector<std::string> demoWeekLines(QDate monday, const QDateTime& now,
                                       const std::vector<CalendarEvent>& extra = {});

std::string joined(const std::vector<std::string>& lines);

// Column 0 of rows 1 to n-1, joined with ",": the running numbers left after deletions.
std::string rowNumbers(const EventTable& table);

// The zones most feed cases read in: a New York feed shown in Berlin.
FeedZones newYorkInBerlin();

} // namespace newsbell::testing
