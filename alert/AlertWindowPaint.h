#pragma once

#include "htmltext/Surface.h"

#include <QImage>
#include <string_view>

namespace newsbell {

// The popup's gradient, always top to bottom: band i of count (0 counts as 1) runs from
// Top + round(i * h) to that + round(h) + 1 with h = height / count, so a band may overlap the
// next, and the last one reaches past the bottom. Each band is filled only where no later band
// paints over it, together with neighbours of its colour. Pen and brush take the last band's
// colour.
void fillPopupGradient(Surface& canvas, TColor from, TColor to, const TRect& rect, int count);

// The width of text as textOut draws it, with no "&" marks read.
int plainTextWidth(Surface& canvas, std::string_view text);

// The look of a glyph whose button cannot be used: each pixel becomes the grey
// 128 + ((R + G + B) / 3) / 2, so 128..255; transparency stays as it was.
QImage greyGlyph(const QImage& glyph);

// A button glyph as it is drawn: a picture without an alpha channel is see-through wherever it
// has the colour of its bottom-left pixel.
QImage transparentGlyph(const QImage& glyph);

} // namespace newsbell
