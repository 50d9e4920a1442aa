#pragma once

#include "base/Color.h"
#include "htmltext/Surface.h"

namespace newsbell {

enum class GradientDirection { LeftToRight, TopToBottom };

// Fills the rectangle with `count` bands running from one colour to the other.
void HtmlGradientFill(Surface& surface, TColor from, TColor to, GradientDirection direction,
                      const TRect& rect, int count = 64);

} // namespace newsbell
