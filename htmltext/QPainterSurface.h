#pragma once

#include "LoadedFont.h"
#include "Surface.h"

#include <memory>
#include <vector>

class QPainter;

namespace newsbell {

// The drawing surface on a real paint device (a widget, a QImage, a printer). Fonts are in
// points at the device's resolution; colours are drawn with system colours resolved.
class QPainterSurface final : public Surface {
public:
    // The painter must be active on its device for the life of the surface.
    explicit QPainterSurface(QPainter& activePainter);

    const Font& font() const override { return active->font(); }
    void setFont(const Font& font) override;

    int pixelsPerInchX() const override;
    int pixelsPerInchY() const override;

    void drawText(std::string_view text, const TRect& rect, bool endEllipsis) override;
    void textOut(int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) override;
    int textHeight(std::string_view text) override;

    void fillRect(const TRect& rect, TColor color) override;
    void outlineRect(const TRect& rect) override;
    void drawLine(int x0, int y0, int x1, int y1) override;
    void drawFocusRect(const TRect& rect) override;
    void drawImage(const QImage& image, const TRect& target) override;
    void setClipRect(std::optional<TRect> rect) override;

private:
    // Rotated fonts turn the painter about (x, y); the callback draws as if unrotated.
    template <typename Draw> void drawTurned(int x, int y, Draw draw);
    // Shaped text with its top-left corner at (x, top), in the pen's colour.
    void drawGlyphs(int x, int top, const QList<QGlyphRun>& glyphs);
    void usePen(const QColor& color, int width);
    // The characters marked with "&", underlined.
    void drawMarks(const TextLine& line, int left, int top);

    QPainter& painter;
    // The fonts this surface has drawn with (markup switches among a few all the time), and
    // the current one of them.
    std::vector<std::shared_ptr<LoadedFont>> used;
    LoadedFont* active = nullptr;
};

} // namespace newsbell
