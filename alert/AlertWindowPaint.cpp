#include "alert/AlertWindowPaint.h"

#include "alert/AlertWindow.h"
#include "htmltext/HtmlGradientFill.h"
#include "htmltext/ImageList.h"
#include "htmltext/QPainterSurface.h"
#include "htmltext/SystemColors.h"

#include <QPainter>
#include <algorithm>

namespace newsbell {

namespace {

constexpr TColor black = 0x000000;
constexpr TColor white = 0xFFFFFF;
constexpr TColor grey = 0x808080;
constexpr int backgroundBands = 80;
constexpr int stripBands = 16; // the caption strip and the buttons' highlight

struct LineSegment {
    int x0, y0, x1, y1;
};

void drawLines(Surface& canvas, std::initializer_list<LineSegment> segments) {
    canvas.setPenColor(black);
    canvas.setPenWidth(1);
    for (const LineSegment& line : segments) canvas.drawLine(line.x0, line.y0, line.x1, line.y1);
}

// Two of the character side by side: the arrows of the navigator and of the popup button.
void drawArrow(Surface& canvas, const Font& font, std::string_view arrow, int x, int y) {
    canvas.setFont(font);
    canvas.setBrushClear();
    canvas.textOut(x, y, arrow);
    canvas.textOut(x + 3, y, arrow);
}

} // namespace

void fillPopupGradient(Surface& canvas, TColor from, TColor to, const TRect& rect, int count) {
    count = std::max(count, 1);
    from = resolveSystemColor(from);
    to = resolveSystemColor(to);
    const double band = double(rect.height()) / count;
    // Rows of one colour waiting to be filled: neighbouring bands often share their colour.
    TRect pending{rect.Left, rect.Top, rect.Right, rect.Top};
    TColor pendingColor = from;
    auto fillPending = [&] {
        if (pending.Bottom <= pending.Top) return;
        canvas.setPenColor(pendingColor);
        canvas.setBrushColor(pendingColor);
        canvas.fillRect(pending, pendingColor);
    };
    for (int i = 0; i < count; ++i) {
        // A band reaches at least to where the next one starts, and the next paints over the
        // rest: so each band but the last ends where the next begins.
        const int top = rect.Top + roundHalfEven(i * band);
        const int bottom = i + 1 < count ? rect.Top + roundHalfEven((i + 1) * band)
                                         : top + roundHalfEven(band) + 1;
        if (bottom <= top) continue;
        const TColor color = gradientBandColor(from, to, i, count);
        if (color != pendingColor) {
            fillPending();
            pending.Top = top;
            pendingColor = color;
        }
        pending.Bottom = bottom;
    }
    fillPending();
}

int plainTextWidth(Surface& canvas, std::string_view text) {
    std::string escaped;
    for (char c : text) {
        escaped += c;
        if (c == '&') escaped += '&';
    }
    return canvas.textWidth(escaped);
}

QImage greyGlyph(const QImage& glyph) {
    if (glyph.isNull()) return {};
    QImage greyed = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < greyed.height(); ++y)
        for (int x = 0; x < greyed.width(); ++x) {
            const QRgb pixel = greyed.pixel(x, y);
            const int value = 128 + (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3 / 2;
            greyed.setPixel(x, y, qRgba(value, value, value, qAlpha(pixel)));
        }
    return greyed;
}

QImage transparentGlyph(const QImage& glyph) {
    if (glyph.isNull() || glyph.hasAlphaChannel()) return glyph;
    QImage keyed = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1);
    for (int y = 0; y < keyed.height(); ++y)
        for (int x = 0; x < keyed.width(); ++x)
            if (keyed.pixel(x, y) == key) keyed.setPixel(x, y, qRgba(0, 0, 0, 0));
    return keyed;
}

void TAlertWindow::paint(Surface& canvas) const {
    canvas.setFont(current.Font);
    const AlertWindowLayout at = layoutOn(canvas);
    paintFrame(canvas, at);
    paintContent(canvas, at);
}

// The shown message's own colours, where it has them, else the window's.
std::pair<TColor, TColor> TAlertWindow::backgroundColours() const {
    const int shown = navigator.Position() - 1;
    if (shown >= 0 && shown < settingsCopy.Count() && settingsCopy.Items(shown).Color() != clNone)
        return {settingsCopy.Items(shown).Color(), settingsCopy.Items(shown).ColorTo()};
    return {current.WindowColor, current.WindowColorTo};
}

void TAlertWindow::paintFrame(Surface& canvas, const AlertWindowLayout& at) const {
    const TRect client{0, 0, width(), height()};
    const auto [from, to] = backgroundColours();
    fillPopupGradient(canvas, from, to, client, backgroundBands);
    canvas.setPenColor(current.BorderColor);
    canvas.setPenWidth(1);
    canvas.outlineRect(client);
    fillPopupGradient(canvas, current.CaptionColor, current.CaptionColorTo, at.caption, stripBands);
    paintGrip(canvas);
}

void TAlertWindow::paintContent(Surface& canvas, const AlertWindowLayout& at) const {
    paintButton(canvas, at, AlertButton::Close);
    const int shown = navigator.Position() - 1;
    if (shown >= 0 && shown < messageCount()) paintMessage(canvas, at.message);
    if (navigator.Visible()) {
        paintButton(canvas, at, AlertButton::Prev);
        paintPositionText(canvas);
        paintButton(canvas, at, AlertButton::Next);
    }
    if (current.ShowDelete && !lines.empty()) paintButton(canvas, at, AlertButton::Delete);
    if (current.ShowPopup) paintButton(canvas, at, AlertButton::Popup);
}

void TAlertWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPainterSurface surface(painter);
    surface.setFont(current.Font);
    const AlertWindowLayout at = layoutOn(surface);
    const auto [from, to] = backgroundColours();
    const FrameKey key{
        size(),
        devicePixelRatioF(),
        at.caption,
        {from, to, current.BorderColor, current.CaptionColor, current.CaptionColorTo}};
    if (frame.image.isNull() || !(frame.key == key)) {
        frame.key = key;
        frame.image = QImage(size() * key.pixelRatio, QImage::Format_ARGB32_Premultiplied);
        frame.image.setDevicePixelRatio(key.pixelRatio);
        QPainter framePainter(&frame.image);
        QPainterSurface frameSurface(framePainter);
        frameSurface.setFont(current.Font);
        paintFrame(frameSurface, at);
        frame.brush = frameSurface.brushColor();
        frame.brushSolid = frameSurface.brushSolid();
        frame.pen = frameSurface.penColor();
        frame.penWidth = frameSurface.penWidth();
    }
    painter.drawImage(0, 0, frame.image);
    // The content goes on as if it had painted the frame itself.
    if (frame.brushSolid)
        surface.setBrushColor(frame.brush);
    else
        surface.setBrushClear();
    surface.setPenColor(frame.pen);
    surface.setPenWidth(frame.penWidth);
    paintContent(surface, at);
}

void TAlertWindow::paintGrip(Surface& canvas) const {
    const int first = (width() - 34) / 2;
    for (int dot = 0; dot < 9; ++dot) {
        const int x = first + 4 * dot;
        canvas.fillRect({x + 1, 3, x + 3, 5}, white);
        canvas.fillRect({x, 2, x + 2, 4}, black);
        canvas.fillRect({x + 1, 3, x + 2, 4}, current.CaptionColorTo);
    }
}

bool TAlertWindow::movable(AlertButton button) const {
    if (button == AlertButton::Prev) return navigator.CanGoBack();
    if (button == AlertButton::Next) return navigator.CanGoForward();
    return true;
}

const QImage& TAlertWindow::glyph(AlertButton button) const {
    return glyphs[std::size_t(button)];
}

void TAlertWindow::paintButton(Surface& canvas, const AlertWindowLayout& layout,
                               AlertButton button) const {
    const TRect& rect = layout.button(button);
    const Marks& mark = buttonMarks[std::size_t(button)];
    const bool usable = movable(button);
    if (usable && (mark.pressed || mark.hover)) {
        const TRect face{rect.Left, rect.Top, rect.Right, rect.Bottom - 1};
        if (mark.pressed)
            fillPopupGradient(canvas, current.BtnDownColor, current.BtnDownColorTo, face,
                              stripBands);
        else
            fillPopupGradient(canvas, current.BtnHoverColor, current.BtnHoverColorTo, face,
                              stripBands);
        canvas.setPenColor(black);
        canvas.setPenWidth(1);
        canvas.outlineRect(face);
    }
    if (glyph(button).isNull()) {
        paintDefaultMark(canvas, button, rect, usable);
        return;
    }
    const QImage& shown = usable                        ? glyph(button)
                          : button == AlertButton::Prev ? greyPrev
                                                        : greyNext;
    const int top = rect.Top + (button == AlertButton::Close ? 2 : 4);
    canvas.drawImage(shown, {rect.Left + 2, top, rect.Left + 18, top + 16});
}

void TAlertWindow::paintDefaultMark(Surface& canvas, AlertButton button, const TRect& rect,
                                    bool usable) const {
    const auto [left, top, right, bottom] = rect;
    const int w = width();
    Font arrowFont = current.Font;
    arrowFont.color = usable ? black : grey;
    switch (button) {
    case AlertButton::Close:
        drawLines(canvas, {{w - 15, 20, w - 7, 13},
                           {w - 14, 20, w - 8, 13},
                           {w - 15, 14, w - 7, 21},
                           {w - 14, 14, w - 8, 21}});
        break;
    case AlertButton::Prev:
        drawArrow(canvas, arrowFont, "<", left + 5, top + 6);
        break;
    case AlertButton::Next:
        drawArrow(canvas, arrowFont, ">", left + 5, top + 6);
        break;
    case AlertButton::Delete:
        drawLines(canvas, {{right - 14, top + 15, right - 6, top + 8},
                           {right - 13, top + 15, right - 7, top + 8},
                           {right - 14, top + 9, right - 6, top + 16},
                           {right - 13, top + 9, right - 7, top + 16}});
        break;
    case AlertButton::Popup: {
        for (int i = 0; i < 4; ++i)
            drawLines(canvas, {{left + 7 + i, bottom - 10 + i, left + 14 - i, bottom - 10 + i}});
        Font bold;
        bold.bold = true;
        drawArrow(canvas, bold, ">", left + 5, top + 3);
        break;
    }
    }
    canvas.setFont(current.Font);
}

void TAlertWindow::paintPositionText(Surface& canvas) const {
    const std::string text =
        formatPosition(current.PositionFormat, navigator.Position(), navigator.Max());
    Font font = current.Font;
    font.color = black;
    canvas.setFont(font);
    canvas.setBrushClear();
    canvas.textOut(width() / 2 - plainTextWidth(canvas, text) / 2,
                   height() - canvas.textHeight("gt") - 5, text);
    canvas.setFont(current.Font);
}

void TAlertWindow::paintMessage(Surface& canvas, const TRect& rect) const {
    const Line& line = lines[std::size_t(navigator.Position() - 1)];
    const ImageList* images = current.Images;
    if (images && line.imageIndex >= 0 && line.imageIndex < images->count())
        canvas.drawImage(images->image(line.imageIndex),
                         {5, 16, 5 + images->width(), 16 + images->height()});
    canvas.setFont(current.Font);
    HtmlRenderOutput output;
    RenderHtmlText(canvas, rendererInput(rect), output);
}

} // namespace newsbell
