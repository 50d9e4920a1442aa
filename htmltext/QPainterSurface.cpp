#include "QPainterSurface.h"

#include "SystemColors.h"
#include "TextLine.h"
#include "base/Cp1251.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

namespace newsbell {

namespace {

// More than a popup's markup ever switches among; beyond it the list starts afresh.
constexpr std::size_t fontsUsed = 16;

} // namespace

QPainterSurface::QPainterSurface(QPainter& activePainter) : painter(activePainter) {
    setFont(Font());
}

void QPainterSurface::setFont(const Font& font) {
    if (active && active->font() == font) return;
    for (const auto& candidate : used)
        if (candidate->font() == font) {
            active = candidate.get();
            return;
        }
    if (used.size() >= fontsUsed) used.clear();
    // Text is drawn from shaped glyphs, which carry their font: the painter's is not used.
    active = used.emplace_back(loadFont(font, *painter.device())).get();
}

int QPainterSurface::pixelsPerInchX() const {
    return painter.device()->logicalDpiX();
}

int QPainterSurface::pixelsPerInchY() const {
    return painter.device()->logicalDpiY();
}

template <typename Draw> void QPainterSurface::drawTurned(int x, int y, Draw draw) {
    if (active->font().escapement == 0) {
        draw();
        return;
    }
    painter.save();
    painter.translate(x, y);
    painter.rotate(-active->font().escapement / 10.0); // escapement turns counter-clockwise
    painter.translate(-x, -y);
    draw();
    painter.restore();
}

void QPainterSurface::drawText(std::string_view text, const TRect& rect, bool endEllipsis) {
    TextLine& laidOut = active->line(text);
    std::optional<TextLine> shortened;
    if (endEllipsis && laidOut.width() > rect.width()) {
        shortened = laidOut;
        shortened->elide(rect.width());
    }
    TextLine& line = shortened ? *shortened : laidOut;
    const int height = active->height();
    const int top = rect.Bottom - height;
    const QRect box(rect.Left, top, line.width(), height);
    // Most words fit their rectangle and need no clip; a turned line leaves its rectangle by
    // design, and clipping it would cut it off.
    const bool clipped = active->font().escapement == 0 && !toQRect(rect).contains(box);
    if (clipped) {
        painter.save();
        painter.setClipRect(toQRect(rect), Qt::IntersectClip);
    }
    drawTurned(rect.Left, rect.Bottom, [&] {
        if (brushSolid()) painter.fillRect(box, toDrawnColor(brushColor()));
        usePen(active->color(), 1);
        for (TextLine::Piece& piece : line.pieces())
            drawGlyphs(rect.Left + piece.x, top, active->glyphs(piece));
        drawMarks(line, rect.Left, top);
    });
    if (clipped) painter.restore();
}

void QPainterSurface::drawMarks(const TextLine& line, int left, int top) {
    if (line.underlines().empty()) return;
    const QFontMetrics& metrics = active->metrics();
    const int y = top + active->ascent() + metrics.underlinePos();
    for (const TextLine::Mark& mark : line.underlines())
        painter.fillRect(QRect(left + mark.x, y, mark.width, std::max(1, metrics.lineWidth())),
                         active->color());
}

void QPainterSurface::textOut(int x, int y, std::string_view text) {
    QString shown = fromCp1251(text);
    if (active->symbolFace()) shown.replace(QChar(0xB7), QChar(0x2022));
    drawTurned(x, y, [&] {
        if (brushSolid()) {
            painter.fillRect(
                QRect(x, y, active->metrics().horizontalAdvance(shown), active->height()),
                toDrawnColor(brushColor()));
        }
        usePen(active->color(), 1);
        drawGlyphs(x, y, active->glyphs(shown));
    });
}

void QPainterSurface::usePen(const QColor& color, int width) {
    // Setting a pen costs as much as drawing a short word; most words repeat the last one.
    const QPen& current = painter.pen();
    if (current.color() != color || current.width() != width || current.style() != Qt::SolidLine)
        painter.setPen(QPen(color, width));
}

void QPainterSurface::drawGlyphs(int x, int top, const QList<QGlyphRun>& glyphs) {
    for (const QGlyphRun& run : glyphs) painter.drawGlyphRun(QPointF(x, top), run);
}

int QPainterSurface::textWidth(std::string_view text) {
    return active->line(text).width();
}

int QPainterSurface::textHeight(std::string_view) {
    return active->height();
}

void QPainterSurface::fillRect(const TRect& rect, TColor color) {
    if (rect.width() > 0 && rect.height() > 0) painter.fillRect(toQRect(rect), toDrawnColor(color));
}

void QPainterSurface::outlineRect(const TRect& rect) {
    // Qt's own outline reaches a pixel beyond the right and bottom edges: four fills keep it in.
    const int pen = std::max(1, penWidth());
    const auto [left, top, right, bottom] = rect;
    const TColor color = penColor();
    fillRect({left, top, right, std::min(bottom, top + pen)}, color);
    fillRect({left, std::max(top, bottom - pen), right, bottom}, color);
    fillRect({left, top + pen, std::min(right, left + pen), bottom - pen}, color);
    fillRect({std::max(left, right - pen), top + pen, right, bottom - pen}, color);
}

void QPainterSurface::drawLine(int x0, int y0, int x1, int y1) {
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    if (dx == 0 && dy == 0) return;
    // The end point is left out: step back one pixel along the longer axis.
    int endX = x1;
    int endY = y1;
    if (std::abs(dx) >= std::abs(dy)) {
        endX = x1 - (dx > 0 ? 1 : -1);
        endY = y0 + int(std::lround(double(endX - x0) * dy / dx));
    } else {
        endY = y1 - (dy > 0 ? 1 : -1);
        endX = x0 + int(std::lround(double(endY - y0) * dx / dy));
    }
    usePen(toDrawnColor(penColor()), std::max(1, penWidth()));
    painter.drawLine(QPoint(x0, y0), QPoint(endX, endY));
}

void QPainterSurface::drawFocusRect(const TRect& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    // Every other pixel of the frame, inverted, so that drawing it twice takes it away.
    std::set<std::pair<int, int>> dots;
    for (int x = rect.Left; x < rect.Right; x += 2) {
        dots.insert({x, rect.Top});
        dots.insert({x, rect.Bottom - 1});
    }
    for (int y = rect.Top; y < rect.Bottom; y += 2) {
        dots.insert({rect.Left, y});
        dots.insert({rect.Right - 1, y});
    }
    QPolygon points;
    for (const auto& [x, y] : dots) points << QPoint(x, y);
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPoints(points);
    painter.restore();
}

void QPainterSurface::drawImage(const QImage& image, const TRect& target) {
    if (image.isNull() || target.width() <= 0 || target.height() <= 0) return;
    painter.drawImage(toQRect(target), image);
}

void QPainterSurface::setClipRect(std::optional<TRect> rect) {
    if (rect)
        painter.setClipRect(toQRect(*rect));
    else
        painter.setClipping(false);
}

} // namespace newsbell
