#pragma once

#include "program/TrayIcon.h"

#include <QObject>

namespace newsbell {

class Clock;
class TForm1;

// The tray's commands for the main window: the alert pass runs as a press of the window's
// button, so that a failure is reported as the window reports it; quitting closes the window
// and ends the program.
TrayIcon::Commands trayCommands(TForm1& form);

// Names the next event of today in the tray's tooltip after every alert pass of the window:
// "Далее: 14:30 USD Nonfarm Payrolls", read from the table the pass has just filled.
class NextEventTip final : public QObject {
    Q_OBJECT
public:
    // clock: the window's own, for telling which events are still to come.
    NextEventTip(TForm1& form, TrayIcon& tray, const Clock& clock);

private:
    void show();

    TForm1& form_;
    TrayIcon& tray_;
    const Clock& clock_;
};

} // namespace newsbell
