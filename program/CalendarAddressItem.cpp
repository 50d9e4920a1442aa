#include "program/CalendarAddressItem.h"

#include "mainwindow/TForm1.h"
#include "program/CalendarAddressDialog.h"
#include "program/KeptSettings.h"

#include <QAction>

namespace newsbell {

CalendarAddressItem::CalendarAddressItem(TForm1& form, WeekWindow week, Options options)
    : form_(form), week_(std::move(week)), options_(std::move(options)) {
    action = new QAction(QString::fromUtf8("Адрес календаря..."), this);
    form_.addMenuAction(action);
    connect(action, &QAction::triggered, this, &CalendarAddressItem::askForAddress);
}

void CalendarAddressItem::askForAddress() {
    CalendarAddressDialog dialog(options_.address, &form_);
    if (dialog.exec() == QDialog::Accepted) useCalendarAddress(dialog.address());
}

void CalendarAddressItem::useCalendarAddress(const QUrl& address) {
    options_.address = address;
    if (options_.settings) options_.settings->setCalendarAddress(address);
    const QUrl page = options_.pageFor(address);
    form_.showPage(page);
    if (!week_.running()) week_.showPage(page);
    if (options_.pageChanged) options_.pageChanged(page);
}

} // namespace newsbell
