#include "program/TrayIcon.h"

#include <QApplication>
#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace newsbell {

TrayIcon::TrayIcon(QWidget& window, Commands commands, bool trayAvailable) : window_(window) {
    showAction = menu.addAction(QString::fromUtf8("Показать окно"), this, &TrayIcon::showWindow);
    alertAction = menu.addAction(QString::fromUtf8("Включить оповещение событий"), this,
                                 std::move(commands.alertPass));
    menu.addSeparator();
    quitAction = menu.addAction(QString::fromUtf8("Выход"), this, std::move(commands.quit));
    if (trayAvailable) tray_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
    setNextEvent({});
    if (!tray_) return;
    tray_->setContextMenu(&menu);
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick)
                    showWindow();
            });
    tray_->show();
    window_.installEventFilter(this);
}

TrayIcon::~TrayIcon() {
    window_.removeEventFilter(this);
}

void TrayIcon::setNextEvent(const QString& text) {
    toolTip_ = text.isEmpty() ? QApplication::applicationName() : text;
    if (tray_) tray_->setToolTip(toolTip_);
}

QString TrayIcon::toolTip() const {
    return toolTip_;
}

void TrayIcon::showWindow() {
    window_.showNormal();
    window_.raise();
    window_.activateWindow();
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    // The window is hidden once the minimising is done, so the desktop does not keep a
    // minimised entry of it in the task bar.
    if (watched == &window_ && event->type() == QEvent::WindowStateChange && window_.isMinimized())
        QTimer::singleShot(0, &window_, &QWidget::hide);
    return QObject::eventFilter(watched, event);
}

} // namespace newsbell
