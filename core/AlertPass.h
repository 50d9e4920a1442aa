#pragma once

#include "core/EventRow.h"
#include "core/EventTable.h"

#include <QDate>
#include <QTime>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace newsbell {

// The main window's alert settings as its fields hold them: texts (cp1251) and ticks.
struct AlertSettings {
    std::string leadHours = "00";    // Edit3
    std::string leadMinutes = "30";  // Edit1
    std::string afterMinutes = "10"; // Edit4
    std::array<bool, alertCurrencies.size()> currencies = {true, true, true, true,
                                                           true, true, true, true};
    std::array<bool, alertImportances.size()> importances = {true, true, true};
};

// The check a settings field gets on every change: a value above highest is refused with
// message (UTF-8), and the window puts back putBack.
struct FieldRule {
    int highest;
    const char* putBack;
    const char* message;
};

inline constexpr FieldRule leadMinutesRule{59, "30",
                                           "Значение \"минуты\" не может быть больше чем 59"};
inline constexpr FieldRule leadHoursRule{23, "00", "Значение \"часы\" не может быть больше чем 23"};
inline constexpr FieldRule afterMinutesRule{30, "30",
                                            "Значение \"минуты\" не может быть больше чем 30"};

// Whether a field's text breaks its rule; fails with the integer-conversion error when the text
// is not a whole number.
bool breaksRule(std::string_view text, const FieldRule& rule);

// The two windows around now as texts read as times ("00:" + after, hours + ":" + minutes).
std::string afterWindowText(const AlertSettings& settings);
std::string leadWindowText(const AlertSettings& settings);

// One due event: the status line and the alert message (both cp1251).
struct DueAlert {
    int row = 0;
    std::string statusLine;
    std::string message;
};

// The alert pass over an event table at a moment: every event row of today whose time lies
// after now minus the after window and before now plus the lead window, and that no cleared
// box excludes, in table order. Times count in whole seconds of the day; now's fraction of a
// second is dropped. A row whose time is not a time of day ("Tentative", "All Day") is never
// due. Window fields that do not read as times fail with "'<text>' is not a valid time" when
// the first row of today needs them; rows reported before then stay reported.
void runAlertPass(const EventTable& table, const AlertSettings& settings, QDate today, QTime now,
                  const std::function<void(const DueAlert&)>& onDue);

// The event of today that the next passes will alert first: among the rows that no cleared box
// excludes and whose time of day lies at or beyond now plus the lead window, the earliest (the
// first in table order on a tie); nullopt when there is none. Window fields that do not read
// as times fail as in runAlertPass().
std::optional<int> nextEventRow(const EventTable& table, const AlertSettings& settings, QDate today,
                                QTime now);

// The event of today already inside the lead window and still to come: among the rows the pass
// would alert whose time of day lies after now, the earliest (the first in table order on a
// tie); nullopt when there is none. Fails as nextEventRow().
std::optional<int> soonEventRow(const EventTable& table, const AlertSettings& settings, QDate today,
                                QTime now);

} // namespace newsbell
