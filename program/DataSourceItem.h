#pragma once

#include "program/DataSourceDialog.h"

#include <QObject>

class QAction;

namespace newsbell {

class CalendarSource;
class ErrorReporter;
class KeptSettings;
class OpenFileChooser;
class TForm1;

// "Источник данных..." in the main window's menu: asks for the windows' data source in a
// dialog, which checks it, hands it to both windows and keeps it for the next start.
class DataSourceItem final : public QObject {
    Q_OBJECT
public:
    // settings: none when nothing is kept.
    DataSourceItem(TForm1& form, CalendarSource& source, DataSourceDialog::FeedMaker makeFeed,
                   OpenFileChooser& files, ErrorReporter& errors, KeptSettings* settings);

    // Takes a checked calendar as the dialog's OK does: both windows show it (CalendarSource::
    // use()), the settings keep it, and what its read had to tell is told.
    void useCalendar(const CalendarSource::Calendar& calendar, const QString& warnings);

    QAction* action = nullptr;

private:
    void askForSource();

    TForm1& form_;
    CalendarSource& source_;
    DataSourceDialog::FeedMaker makeFeed_;
    OpenFileChooser& files_;
    ErrorReporter& errors_;
    KeptSettings* settings_;
};

} // namespace newsbell
