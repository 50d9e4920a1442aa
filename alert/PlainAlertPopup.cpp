#include "alert/PlainAlertPopup.h"

#include "htmltext/QPainterSurface.h"
#include "htmltext/RenderHtmlText.h"
#include "htmltext/SystemColors.h"

#include <QGuiApplication>
#include <QPainter>

namespace newsbell {

PlainAlertPopup::PlainAlertPopup(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    resize(300, 100);
}

void PlainAlertPopup::addMessage(const std::string& text, int imageIndex) {
    messages_.emplace_back(text, imageIndex);
    listChanged();
}

void PlainAlertPopup::setMessage(int index, const std::string& text, int imageIndex) {
    messages_.at(size_t(index)) = {text, imageIndex};
    listChanged();
}

void PlainAlertPopup::clearMessages() {
    messages_.clear();
    listChanged();
}

void PlainAlertPopup::deleteMessage(int index) {
    checkMessageIndex(index, messageCount());
    messages_.erase(messages_.begin() + index);
    listChanged();
    if (OnDeleteMessage) OnDeleteMessage(index);
}

void PlainAlertPopup::applySettings(const AlertWindowSettings& settings) {
    settings_ = settings;
    update();
}

// Only these platforms draw windows translucent; the others would warn at every step and show
// the popup opaque anyway.
void PlainAlertPopup::setOpacity(int alpha) {
    static const bool translucent =
        QStringList{"xcb", "windows", "cocoa"}.contains(QGuiApplication::platformName());
    if (translucent) setWindowOpacity(alpha / 255.0);
}

void PlainAlertPopup::listChanged() {
    if (messages_.empty()) closePath();
    update();
}

void PlainAlertPopup::closePath() {
    if (!isVisible()) return;
    bool canClose = true;
    if (OnCanClose) OnCanClose(canClose);
    if (!canClose) return;
    hide();
    if (OnClose) OnClose();
}

void PlainAlertPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toDrawnColor(settings_.WindowColor));
    painter.setPen(toDrawnColor(settings_.BorderColor));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (messages_.empty()) return;
    QPainterSurface surface(painter);
    surface.setFont(settings_.Font);
    HtmlRenderInput input;
    input.Text = messages_.front().first;
    input.Rect = {settings_.MarginX, 20 + settings_.MarginY, width() - 20 - settings_.MarginX,
                  height() - 25 - settings_.MarginY};
    input.Images = settings_.Images;
    input.PictureContainer = settings_.PictureContainer;
    input.PictureCache = &pictures_;
    HtmlRenderOutput output;
    RenderHtmlText(surface, input, output);
}

void PlainAlertPopup::mouseMoveEvent(QMouseEvent*) {
    if (OnMouseMove) OnMouseMove();
}

void PlainAlertPopup::mouseReleaseEvent(QMouseEvent*) {
    closePath();
}

void PlainAlertPopup::leaveEvent(QEvent*) {
    if (OnMouseLeave) OnMouseLeave();
}

} // namespace newsbell
