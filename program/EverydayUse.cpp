#include "program/EverydayUse.h"

#include "base/Clock.h"
#include "base/Cp1251.h"
#include "core/AlertPass.h"
#include "mainwindow/TForm1.h"
#include "program/CalendarAddressDialog.h"
#include "program/KeptSettings.h"
#include "widgets/EventGrid.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>

namespace newsbell {

EverydayUse::EverydayUse(TForm1& form, WeekWindow week, Options options, const Clock& clock)
    : form_(form), week_(std::move(week)), options_(std::move(options)), clock_(clock) {
    if (options_.settings) {
        options_.settings->keepMainWindow(form_);
        options_.settings->keepWeekWindow(week_.window);
    }
    TrayIcon::Commands commands;
    // Through the button, so that a failing pass is reported as the window reports it.
    commands.alertPass = [this] { form_.Button4->click(); };
    commands.quit = [this] {
        form_.close();
        QApplication::quit();
    };
    tray_ = std::make_unique<TrayIcon>(form_, std::move(commands), options_.trayAvailable);
    connect(&form_, &TForm1::alertPassDone, this, &EverydayUse::showNextEvent);

    addressAction = new QAction(QString::fromUtf8("Адрес календаря..."), this);
    form_.N1->insertAction(form_.N3, addressAction);
    connect(addressAction, &QAction::triggered, this, &EverydayUse::askForAddress);
}

EverydayUse::~EverydayUse() {
    form_.N1->removeAction(addressAction);
}

void EverydayUse::askForAddress() {
    CalendarAddressDialog dialog(options_.address, &form_);
    if (dialog.exec() == QDialog::Accepted) useCalendarAddress(dialog.address());
}

void EverydayUse::useCalendarAddress(const QUrl& address) {
    options_.address = address;
    if (options_.settings) options_.settings->setCalendarAddress(address);
    const QUrl page = options_.pageFor(address);
    form_.WebBrowser1->navigate(page);
    if (!week_.running()) week_.browser.navigate(page);
    if (options_.pageChanged) options_.pageChanged(page);
}

// "Далее: 14:30 USD Nonfarm Payrolls", read from the table the pass has just filled.
void EverydayUse::showNextEvent() {
    const EventTable& table = form_.StringGrid1->table();
    const QDateTime now = clock_.now();
    std::optional<int> next;
    try {
        next = nextEventRow(table, form_.alertSettings(), now.date(), now.time());
    } catch (const std::exception&) {
        // Fields that do not form a time already failed the pass; the tip just says nothing.
    }
    if (!next) {
        tray_->setNextEvent({});
        return;
    }
    const Row& row = table.row(*next);
    tray_->setNextEvent(QString::fromUtf8("Далее: ") + fromCp1251(row[3]) + QLatin1Char(' ') +
                        fromCp1251(row[4]) + QLatin1Char(' ') + fromCp1251(row[6]).trimmed());
}

} // namespace newsbell
