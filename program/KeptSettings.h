#pragma once

#include "widgets/Desktop.h"

#include <QObject>
#include <QSettings>
#include <QUrl>
#include <functional>
#include <memory>

class QWidget;

namespace newsbell {

// What the trader set in the windows, kept between runs in the user's configuration folder:
// the alert fields and boxes of the main window, the calendar address, the folders files were
// last saved in and where the windows stood. Values are read once, when a window is handed
// over, and written as they change and when the program ends. A value that is missing, of the
// wrong kind or out of the window's range leaves the window's own default, with one line for
// the user; an unreadable file never stops the program.
class KeptSettings final : public QObject {
    Q_OBJECT
public:
    using Warn = std::function<void(const QString& line)>;

    // warn: where the lines about unusable values go (standard error in the program).
    KeptSettings(std::unique_ptr<QSettings> store, Warn warn);
    ~KeptSettings() override;

    // The main window's fields and check boxes (by their control names) and its place.
    void keepMainWindow(QWidget& window);
    // The week-range window's place.
    void keepWeekWindow(QWidget& window);

    // The weekly page typed by the user; empty for the built-in calendar.
    QUrl calendarAddress();
    void setCalendarAddress(const QUrl& address);

    QString saveFolder(const QString& window) const;
    void setSaveFolder(const QString& window, const QString& folder);

private:
    void keepFields(QWidget& window);
    void keepCheckBoxes(QWidget& window);
    void keepGeometry(QWidget& window, const QString& key);
    void warnUnusable(const QString& key, const QString& value, const QString& fallback);
    void warn(const char* utf8, const QString& key);

    std::unique_ptr<QSettings> store_;
    Warn warn_;
};

// The save dialog of one window, starting in the folder that window last saved in and
// remembering the folder of every file chosen.
class FolderKeepingFileChooser final : public FileChooser {
public:
    FolderKeepingFileChooser(FileChooser& chooser, KeptSettings& settings, QString window)
        : chooser_(chooser), settings_(settings), window_(std::move(window)) {}

    std::optional<QString> chooseFileToSave(QWidget* owner, const QString& startPath) override;

private:
    FileChooser& chooser_;
    KeptSettings& settings_;
    QString window_;
};

} // namespace newsbell
