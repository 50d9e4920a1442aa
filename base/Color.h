#pragma once

#include <QColor>
#include <cstdint>

namespace newsbell {

// A colour value as the program stores it: 0x00BBGGRR for a direct colour, 0xFF000000 plus an
// index for a system colour, clNone for no colour at all.
using TColor = std::uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor systemColorFlag = 0xFF000000;

constexpr TColor rgbColor(int red, int green, int blue) {
    return TColor(red & 0xFF) | TColor(green & 0xFF) << 8 | TColor(blue & 0xFF) << 16;
}

constexpr bool isSystemColor(TColor color) {
    return (color & systemColorFlag) == systemColorFlag;
}

// The direct colour as Qt draws it; system colours and clNone must be resolved by the caller.
inline QColor toQColor(TColor color) {
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

} // namespace newsbell
