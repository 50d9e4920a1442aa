#pragma once

#include "core/EventRow.h"
#include "core/EventTable.h"

#include <QDate>
#include <QTime>
#include <array>
#include <string>
#include <vector>

namespace newsbell {

// The widest window before or after an event, in minutes: a day.
inline constexpr int longestGateWindow = 1440;

// What the news gate counts: whole minutes before and after an event (0 to longestGateWindow),
// the importance digits counted (by default only "3") and the currencies ticked, in the order
// of alertCurrencies.
struct GateSettings {
    int beforeMinutes = 30;
    int afterMinutes = 30;
    std::array<bool, alertImportances.size()> importances = {false, false, true};
    std::array<bool, alertCurrencies.size()> currencies = {true, true, true, true,
                                                           true, true, true, true};

    bool operator==(const GateSettings&) const = default;
};

// The news gate at a wall-clock moment (whole seconds; differences are wall-clock differences,
// a day is 86,400 s): one line per ticked currency, in box order, without a line end:
//   CUR;STATE;SECONDS;YYYY.MM.DD;HH:MM;IMPORTANCE;TITLE
// A counted event is a row of any day of the table, read as the alert pass reads rows, with a
// time of day, this currency and a counted importance digit. Its blackout is
// [instant - before, instant + after); blackouts of a currency that overlap or touch (the later
// starts at or before the earlier one's end) join, the events ordered by instant, then by table
// order. STATE is 1 when now is inside a joined blackout: SECONDS to its end, and its first
// event at or after now (its last when all are past). Otherwise STATE is 0: SECONDS to the start
// of the next joined blackout, the first that starts strictly after now, and its first event.
// An empty blackout (both windows 0) holds no moment, so one starting exactly at now is neither
// inside nor next. Without a next blackout: "CUR;0;;;;;". The event's fields are the table's
// date, time and importance and its title without the blank the extraction puts in front; a
// ";" typed into a title becomes "," and a line break a blank, so that every line stays a line
// of seven fields. Texts are cp1251.
std::vector<std::string> gateLines(const EventTable& table, const GateSettings& settings,
                                   QDate today, QTime now);

// The gate file newsbell_gate.txt: the lines, each ended by CR LF.
std::string gateFileText(const EventTable& table, const GateSettings& settings, QDate today,
                         QTime now);

} // namespace newsbell
