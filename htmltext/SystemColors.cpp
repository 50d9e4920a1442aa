#include "SystemColors.h"

#include <array>

namespace newsbell {

namespace {

// Indexed by the system colour index, the values of a stock desktop.
constexpr std::array<TColor, 25> systemColors = {
    rgbColor(200, 200, 200), // scroll bar
    rgbColor(0, 0, 0),       // background
    rgbColor(153, 180, 209), // active caption
    rgbColor(191, 205, 219), // inactive caption
    rgbColor(240, 240, 240), // menu
    rgbColor(255, 255, 255), // window
    rgbColor(100, 100, 100), // window frame
    rgbColor(0, 0, 0),       // menu text
    rgbColor(0, 0, 0),       // window text
    rgbColor(0, 0, 0),       // caption text
    rgbColor(180, 180, 180), // active border
    rgbColor(244, 247, 252), // inactive border
    rgbColor(171, 171, 171), // application workspace
    rgbColor(0, 120, 215),   // highlight
    rgbColor(255, 255, 255), // highlight text
    rgbColor(240, 240, 240), // button face
    rgbColor(160, 160, 160), // button shadow
    rgbColor(109, 109, 109), // grey text
    rgbColor(0, 0, 0),       // button text
    rgbColor(0, 0, 0),       // inactive caption text
    rgbColor(255, 255, 255), // button highlight
    rgbColor(105, 105, 105), // 3D dark shadow
    rgbColor(227, 227, 227), // 3D light
    rgbColor(0, 0, 0),       // info text
    rgbColor(255, 255, 225), // info background
};

} // namespace

TColor resolveSystemColor(TColor color) {
    if (color == clNone || !isSystemColor(color)) return color;
    const TColor index = color & ~systemColorFlag;
    return index < systemColors.size() ? systemColors[index] : rgbColor(0, 0, 0);
}

QColor toDrawnColor(TColor color) {
    if (color == clNone) return Qt::transparent;
    return toQColor(resolveSystemColor(color));
}

} // namespace newsbell
