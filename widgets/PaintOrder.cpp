#include "widgets/PaintOrder.h"

#include <QEvent>
#include <QWidget>

namespace newsbell {

PaintOrder::PaintOrder(QWidget& window, std::chrono::milliseconds bound) : window_(window) {
    bound_.setSingleShot(true);
    bound_.setInterval(bound);
    connect(&bound_, &QTimer::timeout, this, &PaintOrder::release);
}

PaintOrder::~PaintOrder() {
    release();
}

void PaintOrder::popupFirst(QWidget* popup) {
    if (popup_ || !popup || !popup->isVisible() || !window_.isVisible()) return;
    popup_ = popup;
    popup->installEventFilter(this);
    // Qt keeps what became dirty meanwhile and repaints the whole window when it may again.
    window_.setUpdatesEnabled(false);
    bound_.start();
}

bool PaintOrder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == popup_ && event->type() == QEvent::Paint) release();
    return QObject::eventFilter(watched, event);
}

void PaintOrder::release() {
    bound_.stop();
    if (!popup_ && window_.updatesEnabled()) return;
    if (popup_) popup_->removeEventFilter(this);
    popup_ = nullptr;
    window_.setUpdatesEnabled(true);
}

} // namespace newsbell
