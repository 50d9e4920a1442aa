#pragma once

#include <string>

namespace newsbell {

// A calendar page text (cp1251) of the given number of events over one week starting on
// Monday 24 May 2010, as the browser host serialises the provider's page: dates only on a
// day's first event, empty and filled value cells, "Tentative" times, holiday rows.
std::string generatedCalendarPage(int events);
// The year of its dates, which its extraction is given as the current year.
inline constexpr int generatedPageYear = 2010;

} // namespace newsbell
