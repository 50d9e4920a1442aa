#include "core/CellText.h"

#include "base/Cp1251.h"

#include <array>
#include <charconv>

namespace newsbell {

namespace {

// What the bytes 128-159 stand for in windows-1252, as browsers read "&#128;" to "&#159;".
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The cp1251 byte of a Unicode character, or "?" when the code page has none.
char cp1251Char(unsigned code) {
    if (code == 160) return ' ';
    if (code >= 128 && code < 160) code = windows1252High[code - 128];
    if (code == 0 || code > 0xFFFF || (code >= 0xD800 && code < 0xE000)) return '?';
    if (code < 128) return char(code);
    static const std::array<char16_t, 128> upperHalf = [] {
        std::array<char16_t, 128> table{};
        for (int b = 128; b < 256; ++b) {
            char byte = char(b);
            table[size_t(b - 128)] = fromCp1251(std::string_view(&byte, 1)).at(0).unicode();
        }
        return table;
    }();
    for (size_t i = 0; i < upperHalf.size(); ++i)
        if (upperHalf[i] == code) return char(128 + i);
    return '?';
}

// Reads "&#N;" or "&#xH;" at the front of text; the length read, or 0 when it is not one.
size_t readNumericReference(std::string_view text, char& out) {
    size_t start = 2;
    int base = 10;
    if (text.size() > 2 && (text[2] == 'x' || text[2] == 'X')) {
        start = 3;
        base = 16;
    }
    unsigned code = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    if (first >= last) return 0;
    auto [end, ec] = std::from_chars(first, last, code, base);
    if (end == first || end == last || *end != ';') return 0;
    out = ec == std::errc() ? cp1251Char(code) : '?';
    return size_t(end - text.data()) + 1;
}

// Reads a named reference this program decodes at the front of text; 0 when it is not one.
size_t readNamedReference(std::string_view text, char& out) {
    struct Named {
        std::string_view name;
        char character;
    };
    static constexpr Named names[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&nbsp;", ' '}};
    for (const Named& n : names) {
        if (text.starts_with(n.name)) {
            out = n.character;
            return n.name.size();
        }
    }
    return 0;
}

char lineSafe(char c) {
    switch (c) {
    case ';':
        return ',';
    case '\r':
    case '\n':
    case '\t':
        return ' ';
    default:
        return c;
    }
}

bool isPlain(std::string_view text) {
    for (unsigned char c : text)
        if (cellSpecialCharacters[c]) return false;
    return true;
}

} // namespace

// A reference is never shorter than its character, so the text is rewritten front to back in
// place.
size_t makeCellTextPlain(char* text, size_t size) {
    const std::string_view markup(text, size);
    if (isPlain(markup)) return size;
    size_t out = 0;
    for (size_t i = 0; i < size;) {
        char decoded = 0;
        size_t length = 0;
        if (markup[i] == '&') {
            std::string_view rest = markup.substr(i);
            length = rest.starts_with("&#") ? readNumericReference(rest, decoded)
                                            : readNamedReference(rest, decoded);
        }
        if (length == 0) {
            decoded = markup[i];
            length = 1;
        }
        text[out++] = lineSafe(decoded);
        i += length;
    }
    return out;
}

} // namespace newsbell
