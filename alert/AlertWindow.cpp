#include "alert/AlertWindow.h"

#include "alert/AlertWindowPaint.h"
#include "base/Cp1251.h"
#include "htmltext/QPainterSurface.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QToolTip>
#include <algorithm>

namespace newsbell {

namespace {

constexpr int hitTestSize = 4096; // the room AutoSize measures a message in

constexpr std::array<AlertButton, alertButtonCount> allButtons = {
    AlertButton::Close, AlertButton::Prev, AlertButton::Next, AlertButton::Delete,
    AlertButton::Popup};

} // namespace

TAlertWindow::TAlertWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Every paint covers the whole window.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    // The window is never the active one, and its buttons' hints must show all the same.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    resize(300, 100);
    rememberedHint = toolTip();
}

TAlertWindow::~TAlertWindow() = default;

const std::string& TAlertWindow::messageText(int index) const {
    checkMessageIndex(index, messageCount());
    return lines[std::size_t(index)].text;
}

void TAlertWindow::addMessage(const std::string& text, int imageIndex) {
    lines.push_back({text, imageIndex});
    listChanged();
}

void TAlertWindow::setMessage(int index, const std::string& text, int imageIndex) {
    checkMessageIndex(index, messageCount());
    lines[std::size_t(index)] = {text, imageIndex};
    listChanged();
}

void TAlertWindow::clearMessages() {
    lines.clear();
    listChanged();
}

void TAlertWindow::listChanged() {
    const int count = messageCount();
    navigator.SetMax(count);
    if (count > 0) {
        navigator.SetMin(1);
    } else {
        navigator.SetMin(0);
        navigator.SetPosition(0);
        navigator.SetMax(0);
        closePath();
    }
    if (navigator.Position() == 0) navigator.SetPosition(navigator.Min());
    navigator.SetVisible(count > 1);
    update();
}

void TAlertWindow::deleteMessage(int index) {
    checkMessageIndex(index, messageCount());
    const int shown = navigator.Position() - 1;
    if (index < shown)
        navigator.SetPosition(shown);
    else if (index == shown && !navigator.CanGoForward() && navigator.CanGoBack())
        navigator.SetPosition(navigator.Position() - 1);
    lines.erase(lines.begin() + index);
    listChanged();
    if (OnDeleteMessage) OnDeleteMessage(index);
    update();
}

void TAlertWindow::DeleteCurrent() {
    if (navigator.Position() > 0) deleteMessage(navigator.Position() - 1);
}

void TAlertWindow::Next() {
    if (!navigator.CanGoForward()) return;
    navigator.SetPosition(navigator.Position() + 1);
    update();
    if (OnNextMessage) OnNextMessage();
}

void TAlertWindow::Previous() {
    if (!navigator.CanGoBack()) return;
    navigator.SetPosition(navigator.Position() - 1);
    update();
    if (OnPrevMessage) OnPrevMessage();
}

void TAlertWindow::closePath() {
    if (!isVisible()) return;
    bool canClose = true;
    if (OnCanClose) OnCanClose(canClose);
    if (!canClose) return;
    hide();
    if (OnClose) OnClose();
}

void TAlertWindow::applySettings(const AlertWindowSettings& settings) {
    current = settings;
    glyphs = {transparentGlyph(settings.GlyphClose), transparentGlyph(settings.GlyphPrev),
              transparentGlyph(settings.GlyphNext), transparentGlyph(settings.GlyphDelete),
              transparentGlyph(settings.GlyphPopup)};
    greyPrev = greyGlyph(glyph(AlertButton::Prev));
    greyNext = greyGlyph(glyph(AlertButton::Next));
    hoverLink = -1;
    if (current.AutoSize) autoSize();
    update();
}

void TAlertWindow::setShown(bool shown) {
    if (!shown) {
        hide();
        return;
    }
    show();
    raise();
}

void TAlertWindow::setOpacity(int alpha) {
    // Other platforms (offscreen, say) cannot make a window translucent and warn at every
    // step; there the popup simply shows opaque.
    static const bool translucent = QStringList{QStringLiteral("xcb"), QStringLiteral("wayland"),
                                                QStringLiteral("windows"), QStringLiteral("cocoa")}
                                        .contains(QGuiApplication::platformName());
    if (translucent) setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

QRect TAlertWindow::popupButtonRect() const {
    return toQRect(layout().button(AlertButton::Popup));
}

void TAlertWindow::markButton(AlertButton button, ButtonMark mark) {
    marks(button) = {mark == ButtonMark::Hover, mark == ButtonMark::Pressed};
    update();
}

template <typename Use> auto TAlertWindow::measuring(Use use) const {
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    device.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    QPainter painter(&device);
    QPainterSurface surface(painter);
    surface.setFont(current.Font);
    return use(surface);
}

AlertWindowLayout TAlertWindow::layoutOn(Surface& canvas) const {
    // The navigator makes room for the widest position text it will show.
    const std::string widest =
        formatPosition(current.PositionFormat, navigator.Max() - 1, navigator.Max());
    return layOutAlertWindow(width(), height(), current, navigator.Visible(),
                             plainTextWidth(canvas, widest) + 8);
}

AlertWindowLayout TAlertWindow::layout() const {
    return measuring([this](Surface& canvas) { return layoutOn(canvas); });
}

HtmlRenderInput TAlertWindow::rendererInput(const TRect& rect) const {
    HtmlRenderInput input;
    input.Text = lines[std::size_t(navigator.Position() - 1)].text;
    input.Rect = rect;
    input.Images = current.Images;
    input.PictureContainer = current.PictureContainer;
    input.PictureCache = &pictures;
    input.HoverLink = hoverLink;
    input.HoverStyle = current.Hover;
    return input;
}

HtmlRenderOutput TAlertWindow::hitTest(QPoint point) const {
    HtmlRenderOutput output;
    if (navigator.Position() <= 0) return output;
    measuring([&](Surface& canvas) {
        HtmlRenderInput input = rendererInput(layoutOn(canvas).message);
        input.PointX = point.x();
        input.PointY = point.y();
        input.HitTestOnly = true;
        return RenderHtmlText(canvas, input, output);
    });
    return output;
}

void TAlertWindow::autoSize() {
    const QSize extent = measuring([this](Surface& canvas) {
        const TRect message = layoutOn(canvas).message;
        QSize largest(0, 0);
        for (const Line& line : lines) {
            HtmlRenderInput input = rendererInput(message);
            input.Text = line.text;
            input.Rect = {message.Left, message.Top, message.Left + hitTestSize,
                          message.Top + hitTestSize};
            input.MeasureOnly = true;
            HtmlRenderOutput output;
            RenderHtmlText(canvas, input, output);
            largest = largest.expandedTo(QSize(output.ExtentX, output.ExtentY));
        }
        return largest;
    });
    resize(alertWindowAutoSize(current, extent, navigator.Visible()));
}

bool TAlertWindow::canEnter(AlertButton button) const {
    switch (button) {
    case AlertButton::Close:
        return true;
    case AlertButton::Prev:
        return navigator.CanGoBack();
    case AlertButton::Next:
        return navigator.CanGoForward();
    case AlertButton::Delete:
        return current.ShowDelete;
    case AlertButton::Popup:
        return current.ShowPopup;
    }
    return false;
}

bool TAlertWindow::canPress(AlertButton button) const {
    if (button == AlertButton::Delete) return current.ShowDelete;
    if (button == AlertButton::Popup) return current.ShowPopup;
    return true;
}

const std::string& TAlertWindow::hint(AlertButton button) const {
    switch (button) {
    case AlertButton::Close:
        return current.HintCloseBtn;
    case AlertButton::Prev:
        return current.HintPrevBtn;
    case AlertButton::Next:
        return current.HintNextBtn;
    case AlertButton::Delete:
        return current.HintDeleteBtn;
    case AlertButton::Popup:
        return current.HintPopupBtn;
    }
    return current.HintPopupBtn;
}

void TAlertWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    // A click is where the window would take the focus, and a click on a link follows it.
    clickLink(point);
    const AlertWindowLayout at = layout();
    if (contains(at.caption, point.x(), point.y())) {
        // Moves are measured on the screen: the window moves under the mouse meanwhile.
        dragging = true;
        dragStartMouse = event->globalPosition().toPoint();
        dragStartWindow = pos();
        return;
    }
    dragging = false;
    for (AlertButton button : allButtons)
        if (canPress(button) && contains(at.button(button), point.x(), point.y())) {
            marks(button).pressed = true;
            update();
        }
}

void TAlertWindow::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove();
    if (dragging) {
        if (event->buttons() & Qt::LeftButton) {
            move(dragStartWindow + event->globalPosition().toPoint() - dragStartMouse);
            raise();
        }
        return;
    }
    const QPoint point = event->position().toPoint();
    trackLink(point);
    trackButtons(point);
}

void TAlertWindow::trackButtons(QPoint point) {
    const AlertWindowLayout at = layout();
    for (AlertButton button : allButtons) {
        Marks& mark = marks(button);
        const QString buttonHint = fromCp1251(hint(button));
        if (canEnter(button) && contains(at.button(button), point.x(), point.y())) {
            if (mark.hover) continue;
            mark.hover = true;
            update();
            setToolTip(buttonHint);
            QToolTip::hideText();
            continue;
        }
        if (toolTip() == buttonHint) {
            setToolTip(rememberedHint);
            QToolTip::hideText();
        }
        if (mark.hover || mark.pressed) {
            mark = {};
            update();
        }
    }
}

void TAlertWindow::mouseReleaseEvent(QMouseEvent*) {
    if (dragging) {
        dragging = false;
        if (OnWindowMoved) OnWindowMoved();
    }
    // The action follows the mark the press left, which a move off the button has cleared.
    std::array<bool, alertButtonCount> pressed{};
    for (AlertButton button : allButtons) {
        pressed[std::size_t(button)] = marks(button).pressed;
        marks(button).pressed = false;
    }
    update();
    if (pressed[std::size_t(AlertButton::Close)]) {
        if (current.AutoDelete) DeleteCurrent();
        closePath();
    }
    if (pressed[std::size_t(AlertButton::Prev)]) Previous();
    if (pressed[std::size_t(AlertButton::Next)]) Next();
    if (pressed[std::size_t(AlertButton::Delete)]) DeleteCurrent();
    if (pressed[std::size_t(AlertButton::Popup)] && OnPopupbtnClick) OnPopupbtnClick();
}

void TAlertWindow::leaveEvent(QEvent*) {
    dragging = false;
    // Every mark goes: the mouse is over none of the buttons any more.
    buttonMarks = {};
    if (current.AutoHide) hide();
    setToolTip(rememberedHint);
    forgetLink();
    update();
    if (OnMouseLeave) OnMouseLeave();
}

void TAlertWindow::trackLink(QPoint point) {
    const HtmlRenderOutput hit = hitTest(point);
    if (!hit.AnchorHit) {
        unsetCursor();
        forgetLink();
        return;
    }
    setCursor(Qt::PointingHandCursor);
    if (hit.MouseLink != hoverLink && current.Hover) {
        // The link left behind loses its hover look as the new one gains it.
        if (hoverLink != -1) update(toQRect(hoverRect));
        update(toQRect(hit.HoverRect));
    }
    hoverLink = hit.MouseLink;
    hoverRect = hit.HoverRect;
}

void TAlertWindow::clickLink(QPoint point) {
    const HtmlRenderOutput hit = hitTest(point);
    if (hit.AnchorHit && OnAnchorClick) OnAnchorClick(hit.AnchorValue, navigator.Position() - 1);
    if (hoverLink != -1 && current.Hover) update(toQRect(hoverRect));
}

void TAlertWindow::forgetLink() {
    if (hoverLink != -1 && current.Hover) update(toQRect(hoverRect));
    hoverLink = -1;
}

} // namespace newsbell
