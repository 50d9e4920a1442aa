#pragma once

#include "program/CalendarSource.h"
#include "program/DataSource.h"

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace newsbell {

class OpenFileChooser;

// "Источник данных": the built-in demonstration calendar, a calendar page, or a feed (a file or
// an http or https address; weekly XML, weekly JSON or iCalendar, told by its content) with the
// zone of the XML feed's clock and the table's zone. OK is offered only while the fields will
// do; what is wrong is said above the buttons. A feed other than the one in use is read once
// before OK is taken, off the user-interface thread, with a busy bar and a button that stops
// the read; when the read fails the dialog stays open and says why.
class DataSourceDialog final : public QDialog {
    Q_OBJECT
public:
    // The calendar of a feed's choice, not read yet; throws Error when it cannot be served.
    using FeedMaker = std::function<std::shared_ptr<CalendarFeed>(const DataSource& choice)>;

    DataSourceDialog(const DataSource& current, FeedMaker makeFeed, OpenFileChooser& files,
                     QWidget* parent = nullptr);
    ~DataSourceDialog() override;

    // The choice as the fields hold it.
    DataSource choice() const;
    // After OK: the calendar chosen, a new feed's read once; the feed is none when the choice is
    // the one in use.
    CalendarSource::Calendar calendar() const { return {choice(), feed_}; }
    // What the feed's read had to tell (events it left out), one problem a line; empty when
    // nothing.
    const QString& warnings() const { return warnings_; }

    // Whether a feed is being read.
    bool checking() const { return reading_ != nullptr; }

    void done(int result) override;

    QRadioButton* demoButton = nullptr;
    QRadioButton* pageButton = nullptr;
    QRadioButton* feedButton = nullptr;
    QLineEdit* pageField = nullptr;
    QLineEdit* feedField = nullptr;
    QPushButton* fileButton = nullptr;
    QComboBox* feedZoneField = nullptr;
    QComboBox* tableZoneField = nullptr;
    QLabel* problemLabel = nullptr;
    QLabel* busyText = nullptr;
    QProgressBar* busyBar = nullptr;
    QPushButton* stopButton = nullptr;
    QDialogButtonBox* buttons = nullptr;

private:
    void check();
    void takeChoice();
    void readFinished(const FeedRead& read);
    void stopReading();
    void setReading(bool reading);
    void chooseFile();

    const DataSource current_;
    FeedMaker makeFeed_;
    OpenFileChooser& files_;
    std::shared_ptr<CalendarFeed> feed_; // being read, or read
    std::unique_ptr<FeedReadInBackground> reading_;
    QString warnings_;
};

} // namespace newsbell
