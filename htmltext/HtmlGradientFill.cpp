#include "htmltext/HtmlGradientFill.h"

#include "htmltext/SystemColors.h"

#include <algorithm>
#include <cmath>

namespace newsbell {

namespace {

int channel(TColor color, int shift) {
    return int(color >> shift & 0xFF);
}

} // namespace

int roundHalfEven(double value) {
    return int(std::nearbyint(value));
}

TColor gradientBandColor(TColor from, TColor to, int band, int count) {
    TColor color = 0;
    for (int shift : {0, 8, 16}) {
        const int start = channel(from, shift);
        // band * difference / count, rounded half to even in integers: the same as in real
        // numbers, whose one division is exact to far below a half, and a popup paints ~100
        // bands each time.
        const long long scaled = static_cast<long long>(band) * (channel(to, shift) - start);
        long long step = scaled / count;
        long long rest = scaled % count;
        if (rest < 0) {
            --step;
            rest += count;
        }
        if (2 * rest > count || (2 * rest == count && step % 2 != 0)) ++step;
        color |= TColor((start + step) & 0xFF) << shift;
    }
    return color;
}

void HtmlGradientFill(Surface& surface, TColor from, TColor to, GradientDirection direction,
                      const TRect& rect, int count) {
    if (count <= 0) return;
    from = resolveSystemColor(from);
    to = resolveSystemColor(to);
    const bool horizontal = direction == GradientDirection::LeftToRight;
    const double extent = double(horizontal ? rect.width() : rect.height()) / count;
    for (int band = 0; band < count; ++band) {
        const TColor color = gradientBandColor(from, to, band, count);
        TRect fill = rect;
        if (horizontal) {
            fill.Left = rect.Left + roundHalfEven(band * extent);
            fill.Right = std::min(rect.Right, fill.Left + int(extent) + 1);
        } else {
            fill.Top = rect.Top + roundHalfEven(band * extent);
            fill.Bottom = std::min(rect.Bottom, fill.Top + int(extent) + 1);
        }
        surface.setPenColor(color);
        surface.setBrushColor(color);
        surface.fillRect(fill, color);
    }
}

} // namespace newsbell
