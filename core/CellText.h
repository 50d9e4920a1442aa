#pragma once

#include <array>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace newsbell {

// Turns a cell's page markup text, in place, into plain text that cannot break a line of the table
// text file: character references become characters ("&amp;" "&", "&nbsp;" a blank, "&#N;" and
// "&#xH;" the cp1251 character or "?"), other "&name;" stay; then ";" becomes "," and CR, LF
// and tab become blanks. Returns the plain text's size, never more than size.
size_t makeCellTextPlain(char* text, size_t size);

// A cell's text as the page gives it: the text before the next "<" (empty when none follows),
// and whether it holds anything makeCellTextPlain would change. One pass does both, so that
// the common plain cell is never looked at twice.
struct CellScan {
    std::string_view text;
    bool plain;
};

// What plain cell text may not hold: references to decode and what breaks a line of the file.
inline constexpr std::array<bool, 256> cellSpecialCharacters = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : std::string_view("&;\r\n\t")) table[c] = true;
    return table;
}();

// Inline: the extraction calls it for every cell of every row.
[[gnu::always_inline]] inline CellScan scanCell(std::string_view text) {
    size_t i = 0;
    bool plain = true;
#if defined(__SSE2__)
    // Tabs, line ends and anything below them count as special here: a cell marked special
    // only gets the exact check of makeCellTextPlain.
    const __m128i lessThan = _mm_set1_epi8(13), tag = _mm_set1_epi8('<'),
                  ampersand = _mm_set1_epi8('&'), semicolon = _mm_set1_epi8(';');
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        const unsigned tags = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, tag)));
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(block, ampersand), _mm_cmpeq_epi8(block, semicolon)),
            _mm_cmpeq_epi8(_mm_min_epu8(block, lessThan), block));
        const unsigned specials = unsigned(_mm_movemask_epi8(special));
        if (tags) {
            const unsigned at = unsigned(__builtin_ctz(tags));
            return {text.substr(0, i + at), plain && (specials & ((1u << at) - 1)) == 0};
        }
        plain = plain && specials == 0;
    }
#endif
    for (; i < text.size(); ++i) {
        if (text[i] == '<') return {text.substr(0, i), plain};
        plain = plain && !cellSpecialCharacters[static_cast<unsigned char>(text[i])];
    }
    return {{}, true};
}

} // namespace newsbell
