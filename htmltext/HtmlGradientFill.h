#pragma once

#include "base/Color.h"
#include "htmltext/Surface.h"

namespace newsbell {

enum class GradientDirection { LeftToRight, TopToBottom };

// Halves go to the even neighbour, as gradient bands have always been rounded.
int roundHalfEven(double value);

// The colour of band `band` of `count` running from one direct colour to the other: each
// channel moves by its share of the difference, rounded. count > 0.
TColor gradientBandColor(TColor from, TColor to, int band, int count);

// Fills the rectangle with `count` bands running from one colour to the other.
void HtmlGradientFill(Surface& surface, TColor from, TColor to, GradientDirection direction,
                      const TRect& rect, int count = 64);

} // namespace newsbell
