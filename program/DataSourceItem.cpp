#include "program/DataSourceItem.h"

#include "mainwindow/TForm1.h"
#include "program/KeptSettings.h"

#include <QAction>

namespace newsbell {

DataSourceItem::DataSourceItem(TForm1& form, CalendarSource& source,
                               DataSourceDialog::FeedMaker makeFeed, OpenFileChooser& files,
                               ErrorReporter& errors, KeptSettings* settings)
    : form_(form), source_(source), makeFeed_(std::move(makeFeed)), files_(files), errors_(errors),
      settings_(settings) {
    action = new QAction(QString::fromUtf8("Источник данных..."), this);
    form_.addMenuAction(action);
    connect(action, &QAction::triggered, this, &DataSourceItem::askForSource);
}

void DataSourceItem::askForSource() {
    DataSourceDialog dialog(source_.choice(), makeFeed_, files_, &form_);
    if (dialog.exec() == QDialog::Accepted) useCalendar(dialog.calendar(), dialog.warnings());
}

void DataSourceItem::useCalendar(const CalendarSource::Calendar& calendar,
                                 const QString& warnings) {
    if (settings_) settings_->setDataSource(calendar.choice);
    source_.use(calendar);
    if (!warnings.isEmpty()) errors_.report(warnings);
}

} // namespace newsbell
