#include "QPainterSurface.h"

#include "SystemColors.h"
#include "TextLine.h"
#include "base/Cp1251.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

namespace newsbell {

namespace {

// Sizes from markup are not checked by anyone before they get here: a size of 0 is the
// default size and a negative one its magnitude, as the platform's fonts take them; and a
// glyph taller than a screen helps nobody.
constexpr int defaultPointSize = 8;
constexpr int largestPointSize = 1000;

QColor toColor(TColor color) {
    if (color == clNone) return Qt::transparent;
    return toQColor(resolveSystemColor(color));
}

QRect toQRect(const TRect& rect) {
    return QRect(rect.Left, rect.Top, rect.width(), rect.height());
}

bool isSymbolFace(const std::string& face) {
    return QString::compare(fromCp1251(face), QStringLiteral("Symbol"), Qt::CaseInsensitive) == 0;
}

} // namespace

QPainterSurface::QPainterSurface(QPainter& painter) : painter(painter) {
    setFont(current);
}

void QPainterSurface::setFont(const Font& font) {
    current = font;
    qfont = QFont(fromCp1251(font.face));
    const int size = font.size == 0 ? defaultPointSize : std::abs(font.size);
    qfont.setPointSize(std::min(size, largestPointSize));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    painter.setFont(qfont);
}

void QPainterSurface::setBrushColor(TColor color) {
    brush = color;
    solid = true;
}

int QPainterSurface::pixelsPerInchX() const {
    return painter.device()->logicalDpiX();
}

int QPainterSurface::pixelsPerInchY() const {
    return painter.device()->logicalDpiY();
}

template <typename Draw> void QPainterSurface::drawTurned(int x, int y, Draw draw) {
    if (current.escapement == 0) {
        draw();
        return;
    }
    painter.save();
    painter.translate(x, y);
    painter.rotate(-current.escapement / 10.0); // escapement turns counter-clockwise
    painter.translate(-x, -y);
    draw();
    painter.restore();
}

void QPainterSurface::drawText(std::string_view text, const TRect& rect, bool endEllipsis) {
    const QFontMetrics metrics(qfont, painter.device());
    TextLine line(text, metrics, isSymbolFace(current.face));
    if (endEllipsis) line.elide(rect.width());
    const int top = rect.Bottom - metrics.height();
    painter.save();
    // A turned line leaves its rectangle by design; clipping it would cut it off.
    if (current.escapement == 0) painter.setClipRect(toQRect(rect), Qt::IntersectClip);
    drawTurned(rect.Left, rect.Bottom, [&] {
        if (solid)
            painter.fillRect(QRect(rect.Left, top, line.width(), metrics.height()), toColor(brush));
        painter.setPen(toColor(current.color));
        const int baseline = top + metrics.ascent();
        for (const TextLine::Piece& piece : line.pieces())
            painter.drawText(QPoint(rect.Left + piece.x, baseline), piece.text);
        for (const TextLine::Mark& mark : line.underlines())
            painter.fillRect(QRect(rect.Left + mark.x, baseline + metrics.underlinePos(),
                                   mark.width, std::max(1, metrics.lineWidth())),
                             toColor(current.color));
    });
    painter.restore();
}

void QPainterSurface::textOut(int x, int y, std::string_view text) {
    const QFontMetrics metrics(qfont, painter.device());
    QString shown = fromCp1251(text);
    if (isSymbolFace(current.face)) shown.replace(QChar(0xB7), QChar(0x2022));
    drawTurned(x, y, [&] {
        if (solid)
            painter.fillRect(QRect(x, y, metrics.horizontalAdvance(shown), metrics.height()),
                             toColor(brush));
        painter.setPen(toColor(current.color));
        painter.drawText(QPoint(x, y + metrics.ascent()), shown);
    });
}

int QPainterSurface::textWidth(std::string_view text) {
    return TextLine(text, QFontMetrics(qfont, painter.device()), isSymbolFace(current.face))
        .width();
}

int QPainterSurface::textHeight(std::string_view) {
    return QFontMetrics(qfont, painter.device()).height();
}

void QPainterSurface::fillRect(const TRect& rect, TColor color) {
    if (rect.width() > 0 && rect.height() > 0) painter.fillRect(toQRect(rect), toColor(color));
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
    painter.setPen(QPen(toColor(pen), std::max(1, thickness)));
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
