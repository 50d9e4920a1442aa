#pragma once

#include <array>
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

inline constexpr std::array<std::string_view, 9> markerTexts = {
    "ec_td_date noWrap>",  "ec_b_11 href=\"javascript:slide",
    "ec_td_time>",         "ec_td_currency>",
    "ec_importance",       "ec_td_actual noWrap>",
    "ec_td_forecast",      "ec_td_previous",
    "ec_td_after_previous"};

constexpr std::string_view markerText(Marker marker) {
    return markerTexts[size_t(marker)];
}

// Eight bytes a hit, so that the index of a large page stays in the cache.
struct MarkerHit {
    std::uint32_t position;
    Marker marker;
};

// Every marker occurrence in the page, in page order, and how many of them are date markers.
struct MarkerIndex {
    std::vector<MarkerHit> hits;
    size_t dates = 0;
};

// Pages are far below 4 GiB; a larger text is refused with an error.
MarkerIndex indexMarkers(std::string_view page);

} // namespace newsbell
