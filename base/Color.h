#pragma once

#include <QColor>
#include <cstdint>

namespace newsbell {

// A colour value as the program stores it: 0x00BBGGRR for a direct colour, 0xFF000000 plus an
// index for a system colour, clNone for no colour at all.
using TColor = std::uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor systemColorFlag = 0xFF000000;

// The system colour with the desktop's index.
constexpr TColor systemColor(int index) {
    return systemColorFlag + TColor(index);
}

// The colours the program names in its code.
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clActiveCaption = systemColor(2);
inline constexpr TColor clWindowText = systemColor(8);
inline constexpr TColor clHighlight = systemColor(13);
inline constexpr TColor clHighlightText = systemColor(14);
inline constexpr TColor clBtnFace = systemColor(15);

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
