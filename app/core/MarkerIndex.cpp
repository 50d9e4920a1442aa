#include "app/core/MarkerIndex.h"

#include <array>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace newsbell {

namespace {

constexpr std::array<std::string_view, 9> texts = {
    "ec_td_date noWrap>",  "ec_b_11 href=\"javascript:slide",
    "ec_td_time>",         "ec_td_currency>",
    "ec_importance",       "ec_td_actual noWrap>",
    "ec_td_forecast",      "ec_td_previous",
    "ec_td_after_previous"};

// Records the marker when the whole of it stands at position at. The length is a constant
// here, so the comparison compiles to a few loads instead of a library call.
template <Marker marker>
void addIfWhole(std::string_view page, size_t at, std::vector<MarkerHit>& hits) {
    constexpr std::string_view text = texts[size_t(marker)];
    if (page.size() - at >= text.size() &&
        std::memcmp(page.data() + at, text.data(), text.size()) == 0)
        hits.push_back({at, marker});
}

// Which marker, if any, starts at an "ec_" found at position at.
void classify(std::string_view page, size_t at, std::vector<MarkerHit>& hits) {
    const char* p = page.data() + at;
    const size_t left = page.size() - at;
    if (left > 3 && p[3] == 'b') return addIfWhole<Marker::Name>(page, at, hits);
    if (left > 3 && p[3] == 'i') return addIfWhole<Marker::Importance>(page, at, hits);
    if (left <= 7 || p[3] != 't' || p[4] != 'd' || p[5] != '_') return;
    switch (p[6]) {
    case 'd':
        return addIfWhole<Marker::Date>(page, at, hits);
    case 't':
        return addIfWhole<Marker::Time>(page, at, hits);
    case 'c':
        return addIfWhole<Marker::Currency>(page, at, hits);
    case 'f':
        return addIfWhole<Marker::Forecast>(page, at, hits);
    case 'p':
        return addIfWhole<Marker::Previous>(page, at, hits);
    case 'a':
        if (p[7] == 'c') return addIfWhole<Marker::Actual>(page, at, hits);
        return addIfWhole<Marker::AfterPrevious>(page, at, hits);
    default:
        return;
    }
}

} // namespace

std::string_view markerText(Marker marker) {
    return texts[size_t(marker)];
}

std::vector<MarkerHit> indexMarkers(std::string_view page) {
    std::vector<MarkerHit> hits;
    hits.reserve(page.size() / 40);
    const char* data = page.data();
    const size_t size = page.size();
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen candidate starts at a time: the positions where "e", "c" and "_" follow each other.
    const __m128i e = _mm_set1_epi8('e'), c = _mm_set1_epi8('c'), u = _mm_set1_epi8('_');
    for (; i + 18 <= size; i += 16) {
        __m128i atE =
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), e);
        __m128i atC =
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1)), c);
        __m128i atU =
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 2)), u);
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_and_si128(atE, atC), atU)));
        while (mask) {
            classify(page, i + unsigned(__builtin_ctz(mask)), hits);
            mask &= mask - 1;
        }
    }
#endif
    for (; i + 3 <= size; ++i)
        if (data[i] == 'e' && data[i + 1] == 'c' && data[i + 2] == '_') classify(page, i, hits);
    return hits;
}

} // namespace newsbell
