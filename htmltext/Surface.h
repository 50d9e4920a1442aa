#pragma once

#include "base/Color.h"

#include <QImage>
#include <QRect>
#include <optional>
#include <string>
#include <string_view>

namespace newsbell {

// A rectangle the way the renderer reasons about it: Right and Bottom lie just outside, so the
// width is Right - Left.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int width() const { return Right - Left; }
    int height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

// The same rectangle as Qt gives it, by its width and height.
inline QRect toQRect(const TRect& rect) {
    return QRect(rect.Left, rect.Top, rect.width(), rect.height());
}

// The font a surface draws text with. Face names are cp1251.
struct Font {
    std::string face = "MS Sans Serif";
    int size = 8; // points
    TColor color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int escapement = 0; // rotation in tenths of a degree, counter-clockwise

    bool operator==(const Font&) const = default;
};

// Everything the mini-HTML renderer and the popup do to a device. A painter-backed surface
// draws for real; a fixed-metrics surface makes layout deterministic for tests.
//
// Text given to drawText/textWidth is one line of cp1251 text with "&" prefix processing:
// "&&" shows one "&", a lone "&" is not shown and underlines the next character. Tabs move
// to the next stop of the font's default tab spacing, counted from the start of the text.
class Surface {
public:
    virtual ~Surface() = default;

    virtual const Font& font() const = 0;
    virtual void setFont(const Font& font) = 0;

    // The brush is also the text background: while it is solid, text is drawn on a box of its
    // colour; while it is clear, text is drawn transparently. Brush and pen are plain state that
    // the drawing calls read.
    TColor brushColor() const { return brush_; }
    bool brushSolid() const { return solid_; }
    void setBrushColor(TColor color) { // makes the brush solid
        brush_ = color;
        solid_ = true;
    }
    void setBrushClear() { solid_ = false; }

    TColor penColor() const { return pen_; }
    void setPenColor(TColor color) { pen_ = color; }
    int penWidth() const { return penWidth_; }
    void setPenWidth(int width) { penWidth_ = width; }

    virtual int pixelsPerInchX() const = 0;
    virtual int pixelsPerInchY() const = 0;

    // One line of text in the current font, aligned to the bottom of the rectangle and clipped
    // to it; with endEllipsis, text that does not fit ends in "...".
    virtual void drawText(std::string_view text, const TRect& rect, bool endEllipsis) = 0;
    // Plain text with its top-left corner at (x, y): no prefix processing, no clipping.
    virtual void textOut(int x, int y, std::string_view text) = 0;
    // Width of drawText's output for the text, and the height of a line of it.
    virtual int textWidth(std::string_view text) = 0;
    virtual int textHeight(std::string_view text) = 0;

    // Fills with the given colour; brush and pen stay as they are.
    virtual void fillRect(const TRect& rect, TColor color) = 0;
    // The outline in the pen's colour and width, inside the rectangle: the same pixels a fill
    // of it would cover at its edges.
    virtual void outlineRect(const TRect& rect) = 0;
    // A line in the pen's colour and width, the end point excluded.
    virtual void drawLine(int x0, int y0, int x1, int y1) = 0;
    virtual void drawFocusRect(const TRect& rect) = 0;
    // Stretches the image over the target rectangle; its transparent pixels leave what lies
    // beneath.
    virtual void drawImage(const QImage& image, const TRect& target) = 0;

    // Later drawing stays inside the rectangle; nullopt lifts the clip.
    virtual void setClipRect(std::optional<TRect> rect) = 0;

private:
    TColor brush_ = 0xFFFFFF;
    bool solid_ = true;
    TColor pen_ = 0;
    int penWidth_ = 1;
};

} // namespace newsbell
