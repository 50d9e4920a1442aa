#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace newsbell {

// The markers of a calendar page that open its event cells. Every one of them begins with
// "ec_" and none holds "ec_" further in, so occurrences never overlap and one pass over the
// page finds them all.
enum class Marker : std::uint8_t {
    Date,          // "ec_td_date noWrap>"
    Name,          // "ec_b_11 href=\"javascript:slide"
    Time,          // "ec_td_time>"
    Currency,      // "ec_td_currency>"
    Importance,    // "ec_importance"
    Actual,        // "ec_td_actual noWrap>"
    Forecast,      // "ec_td_forecast"
    Previous,      // "ec_td_previous"
    AfterPrevious, // "ec_td_after_previous"
};

std::string_view markerText(Marker marker);

struct MarkerHit {
    size_t position;
    Marker marker;
};

// Every marker occurrence in the page, in page order.
std::vector<MarkerHit> indexMarkers(std::string_view page);

} // namespace newsbell
