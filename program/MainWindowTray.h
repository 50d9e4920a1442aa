#pragma once

#include "program/TrayIcon.h"

#include <QObject>

namespace newsbell {

class BrowserHost;
class Clock;
class EventTable;
class TForm1;

// The tray's commands for the main window: the alert pass runs as a press of the window's
// button, so that a failure is reported as the window reports it; quitting closes the window
// and ends the program.
TrayIcon::Commands trayCommands(TForm1& form);

// Names today's coming events in the tray's tooltip: the one already inside the lead window
// ("Скоро: 14:30 USD Nonfarm Payrolls") and the next one beyond it ("Далее: ..."), read after
// every alert pass from the table the pass has just filled. Until the first pass they are read
// from the page the window's browser has loaded.
class NextEventTip final : public QObject {
    Q_OBJECT
public:
    // clock: the window's own, for telling which events are still to come.
    NextEventTip(TForm1& form, BrowserHost& browser, TrayIcon& tray, const Clock& clock);

private:
    void pageLoaded();
    void show(const EventTable& table);

    TForm1& form_;
    BrowserHost& browser_;
    TrayIcon& tray_;
    const Clock& clock_;
    bool passed_ = false;
};

} // namespace newsbell
