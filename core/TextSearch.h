#pragma once

#include <cstring>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace newsbell {

// Position of the first needle in text at or after from, or npos. The page is walked with
// this one primitive, so its speed is the extraction's floor.
inline size_t findText(std::string_view text, std::string_view needle, size_t from = 0) {
    if (from > text.size()) return std::string_view::npos;
    const void* hit = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return hit ? size_t(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

// Position of the first c at or after from, or npos. The distances between tags are short, so
// an inline loop beats a library call here.
inline size_t findChar(std::string_view text, char c, size_t from = 0) {
    size_t i = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        if (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted))))
            return i + unsigned(__builtin_ctz(mask));
    }
#endif
    for (; i < text.size(); ++i)
        if (text[i] == c) return i;
    return std::string_view::npos;
}

} // namespace newsbell
