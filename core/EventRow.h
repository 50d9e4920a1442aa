#pragma once

#include "core/EventTable.h"

#include <QDate>
#include <array>
#include <optional>
#include <string_view>

namespace newsbell {

// The currency boxes in window order (CheckBox4 to CheckBox11) and the importance digits of
// the importance boxes (CheckBox1 to CheckBox3).
inline constexpr std::array<std::string_view, 8> alertCurrencies = {"EUR", "USD", "CHF", "JPY",
                                                                    "GBP", "AUD", "CAD", "NZD"};
inline constexpr std::array<std::string_view, 3> alertImportances = {"1", "2", "3"};

// How the passes over the table (the alert pass, the news gate) read an event row, so that they
// agree on which rows are timed events of which currency and importance.

// Column 1 when it holds a date exactly as the table writes them ("2010.05.24").
std::optional<QDate> eventDate(const Row& row);
// Column 3 as a time of day in whole seconds; nothing for "Tentative", "All Day", an empty cell
// or any other text that is not a time.
std::optional<int> eventSecondsOfDay(const Row& row);
// The box of column 4 among alertCurrencies, of column 5 among alertImportances; nothing when
// the cell is not exactly one of their values.
std::optional<size_t> currencyBox(const Row& row);
std::optional<size_t> importanceBox(const Row& row);

} // namespace newsbell
