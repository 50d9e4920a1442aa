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

// The text before the first "<", or empty when there is no "<". Cell texts are short, so a
// plain loop beats a library call here.
inline std::string_view textBeforeTag(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '<') return text.substr(0, i);
    return {};
}

} // namespace newsbell
