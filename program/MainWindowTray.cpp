#include "program/MainWindowTray.h"

#include "base/Clock.h"
#include "base/Cp1251.h"
#include "core/AlertPass.h"
#include "mainwindow/TForm1.h"

#include <QApplication>

namespace newsbell {

TrayIcon::Commands trayCommands(TForm1& form) {
    return {[&form] { form.runAlertPass(); },
            [&form] {
                form.close();
                QApplication::quit();
            }};
}

NextEventTip::NextEventTip(TForm1& form, TrayIcon& tray, const Clock& clock)
    : form_(form), tray_(tray), clock_(clock) {
    connect(&form_, &TForm1::alertPassDone, this, &NextEventTip::show);
}

void NextEventTip::show() {
    const EventTable& table = form_.table();
    const QDateTime now = clock_.now();
    std::optional<int> next;
    try {
        next = nextEventRow(table, form_.alertSettings(), now.date(), now.time());
    } catch (const std::exception&) {
        // Fields that do not form a time already failed the pass; the tip just says nothing.
    }
    if (!next) {
        tray_.setNextEvent({});
        return;
    }
    const Row& row = table.row(*next);
    tray_.setNextEvent(QString::fromUtf8("Далее: ") + fromCp1251(row[3]) + u' ' +
                       fromCp1251(row[4]) + u' ' + fromCp1251(row[6]).trimmed());
}

} // namespace newsbell
