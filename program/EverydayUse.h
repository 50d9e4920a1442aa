#pragma once

#include "program/TrayIcon.h"

#include <QObject>
#include <QUrl>
#include <functional>
#include <memory>

class QAction;

namespace newsbell {

class BrowserHost;
class Clock;
class KeptSettings;
class TForm1;

// What a program that runs all day offers beyond its two windows: the settings kept between
// runs, the tray icon naming the next event, and the calendar address chosen in a dialog. It
// works through the windows' public controls, handlers and signals only.
class EverydayUse final : public QObject {
    Q_OBJECT
public:
    struct WeekWindow {
        QWidget& window;
        BrowserHost& browser;
        std::function<bool()> running; // a week run is going on
    };
    struct Options {
        KeptSettings* settings = nullptr; // none: nothing is read or kept
        // The page the windows load for an address; an empty address stands for the built-in
        // calendar.
        std::function<QUrl(const QUrl& address)> pageFor;
        // Told the page both windows were sent to (a feed is read again only while shown).
        std::function<void(const QUrl& page)> pageChanged;
        QUrl address; // the address in use now, as the dialog offers it
        bool trayAvailable = false;
    };

    // clock: the window's own, for telling which events are still to come.
    EverydayUse(TForm1& form, WeekWindow week, Options options, const Clock& clock);
    ~EverydayUse() override;

    // Sends both windows to the page of address and keeps it for the next start. A week run
    // keeps its page until it is over; its window loads the new one from the next start.
    void useCalendarAddress(const QUrl& address);

    TrayIcon& tray() { return *tray_; }
    QAction* addressAction = nullptr; // "Адрес календаря..." in the main window's menu

private:
    void askForAddress();
    void showNextEvent();

    TForm1& form_;
    WeekWindow week_;
    Options options_;
    const Clock& clock_;
    std::unique_ptr<TrayIcon> tray_;
};

} // namespace newsbell
