#pragma once

#include <cstring>
#include <string_view>

namespace newsbell {

// Position of the first needle in text at or after from, or npos. The page is walked with
// this one primitive, so its speed is the extraction's floor.
inline size_t findText(std::string_view text, std::string_view needle, size_t from = 0) {
    if (from > text.size()) return std::string_view::npos;
    const void* hit = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return hit ? size_t(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

// Position of the first c at or after from, or npos. The distances between tags are short, so
// a plain loop beats a library call here.
inline size_t findChar(std::string_view text, char c, size_t from = 0) {
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] == c) return i;
    return std::string_view::npos;
}

// The text before the first "<", or empty when there is no "<".
inline std::string_view textBeforeTag(std::string_view text) {
    size_t lt = findChar(text, '<');
    return lt == std::string_view::npos ? std::string_view() : text.substr(0, lt);
}

} // namespace newsbell
