#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <functional>

class QSystemTrayIcon;
class QWidget;

namespace newsbell {

// The program's icon in the desktop's tray, for a program that runs all day out of sight: its
// menu shows the window, runs an alert pass or ends the program, and minimising the window
// hides it there. Where the desktop has no tray, nothing changes. The tooltip names today's
// coming events.
class TrayIcon final : public QObject {
    Q_OBJECT
public:
    struct Commands {
        std::function<void()> alertPass;
        std::function<void()> quit;
    };

    // trayAvailable: whether the desktop offers a tray (QSystemTrayIcon::isSystemTrayAvailable()).
    TrayIcon(QWidget& window, Commands commands, bool trayAvailable);
    ~TrayIcon() override;

    // "Далее: 14:30 USD Nonfarm Payrolls" (one line per event), or the program's name when
    // text is empty.
    void setNextEvent(const QString& text);
    QString toolTip() const;

    QMenu menu;
    QAction* showAction = nullptr;
    QAction* alertAction = nullptr;
    QAction* quitAction = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showWindow();

    QWidget& window_;
    QPointer<QSystemTrayIcon> tray_;
    QString toolTip_;
};

} // namespace newsbell
