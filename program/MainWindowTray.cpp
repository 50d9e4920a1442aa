#include "program/MainWindowTray.h"

#include "base/Clock.h"
#include "base/Cp1251.h"
#include "core/AlertPass.h"
#include "core/Extraction.h"
#include "mainwindow/TForm1.h"

#include <QApplication>
#include <QStringList>

namespace newsbell {

TrayIcon::Commands trayCommands(TForm1& form) {
    return {[&form] { form.runAlertPass(); },
            [&form] {
                form.close();
                QApplication::quit();
            }};
}

NextEventTip::NextEventTip(TForm1& form, BrowserHost& browser, TrayIcon& tray, const Clock& clock)
    : form_(form), browser_(browser), tray_(tray), clock_(clock) {
    connect(&form_, &TForm1::alertPassDone, this, [this] {
        passed_ = true;
        show(form_.table());
    });
    connect(&browser_, &BrowserHost::documentComplete, this, &NextEventTip::pageLoaded);
}

// The first pass comes minutes after the start; the page already knows what is coming.
void NextEventTip::pageLoaded() {
    if (passed_ || !browser_.pageLoaded()) return;
    EventTable table;
    const ExtractionOptions options(clock_.now().date().year());
    try {
        extractEvents(browser_.bodyHtml(), table, options);
    } catch (const std::exception&) {
        return; // the window tells what is wrong with the page when it is asked to read it
    }
    show(table);
}

void NextEventTip::show(const EventTable& table) {
    const QDateTime now = clock_.now();
    const AlertSettings settings = form_.alertSettings();
    QStringList lines;
    try {
        const auto name = [&table](const char* label, int row) {
            const Row& cells = table.row(row);
            return QString::fromUtf8(label) + fromCp1251(cells[3]) + QLatin1Char(' ') +
                   fromCp1251(cells[4]) + QLatin1Char(' ') + fromCp1251(cells[6]).trimmed();
        };
        if (const auto soon = soonEventRow(table, settings, now.date(), now.time()))
            lines << name("Скоро: ", *soon);
        if (const auto next = nextEventRow(table, settings, now.date(), now.time()))
            lines << name("Далее: ", *next);
    } catch (const std::exception&) {
        // Fields that do not form a time already failed the pass; the tip just says nothing.
        lines.clear();
    }
    tray_.setNextEvent(lines.join(u'\n'));
}

} // namespace newsbell
