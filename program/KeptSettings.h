#pragma once

#include "program/DataSource.h"
#include "program/RobotFilesSettings.h"
#include "widgets/Desktop.h"

#include <QObject>
#include <QSettings>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace newsbell {

class AlertField;
class TForm1;

// What the trader set in the windows, kept between runs in the user's configuration folder.
// The keys say what a value means, never which control holds it:
//   alert/leadHours, alert/leadMinutes      the lead window before an event (hours, minutes)
//   alert/afterMinutes                      the after window behind it
//   alert/intervalMinutes                   the time between alert passes
//   alert/currencies/EUR ... /NZD           the currency boxes ("true" or "false")
//   alert/importance/1 ... /3               the importance boxes
//   alert/popup, alert/sound                "Всплывающая подсказка", "Звуковое сопровождение"
//   mainWindow/geometry, weekWindow/geometry  where the windows stood
//   mainWindow/saveFolder, weekWindow/saveFolder  the folder each window last saved in
//   source/kind                             where the calendar comes from: "demo", "page"
//                                           or "feed" ("Источник данных...")
//   source/address                          the calendar page's address
//   source/feed                             the feed: an http or https address, or a file
//   source/feedZone, source/tableZone       the XML feed's clock and the table's zone (tz
//                                           names; UTC and the computer's when missing)
//   robots/enabled                          the files for trading robots are written
//   robots/folder                           the folder they are written to
//   robots/beforeMinutes, robots/afterMinutes  the news gate's windows around an event
//   robots/importance/1 ... /3              the importances the news gate counts
// The alert keys are the main window's own (TForm1::alertFields()). A file of the versions that
// kept the alert fields and boxes under their control names (mainWindow/Edit1,
// mainWindow/CheckBox4, ...) is read once under those and written anew under these keys; so is
// the calendar/address of the versions that kept only a page's address (empty for the built-in
// calendar).
// Values are read once, when a window is handed over, and written as they change and when the
// program ends. A value that is missing, of the wrong kind or out of the window's range leaves
// the window's own default, with one line for the user (the value cut to 200 characters). The
// store comes from openSettingsFile(), which sees to a file that cannot be read whole; a file
// that cannot be written is told once.
class KeptSettings final : public QObject {
    Q_OBJECT
public:
    using Warn = std::function<void(const QString& line)>;

    // warn: where the lines for the user go (standard error in the program).
    KeptSettings(std::unique_ptr<QSettings> store, Warn warn);
    // Writes what is pending.
    ~KeptSettings() override;

    // Writes what is pending now; a failure is told to warn only (the window is gone by then).
    void save();

    // The main window's alert fields and boxes and its place. Throws std::logic_error when
    // the window has no field for a key of the old files: a fault of the build, told at start.
    void keepMainWindow(TForm1& window);
    // The week-range window's place.
    void keepWeekWindow(QWidget& window);

    // Where the windows' calendar comes from.
    DataSource dataSource();
    void setDataSource(const DataSource& source);

    // "Файлы для советников..."; a value that does not do leaves its default, with a line.
    RobotFilesSettings robotFiles();
    void setRobotFiles(const RobotFilesSettings& files);

    QString saveFolder(const QString& window) const;
    void setSaveFolder(const QString& window, const QString& folder);

signals:
    // The file did not take what was written while the window is open; told once a run, as
    // to warn.
    void notSaved(const QString& message);

private:
    // Sets key and has the file written soon after.
    void write(const QString& key, const QVariant& value);
    // Writes what is pending; the message when this is the first write that failed.
    std::optional<QString> writeProblem();
    void renameOldKeys(const std::vector<AlertField>& fields);
    void carryOverAddress();
    // The value of key when it will do (problem() empty), else otherwise, told.
    QString readChecked(const QString& key, const std::function<QString(const QString&)>& problem,
                        const QString& otherwise);
    void keepField(const AlertField& field);
    void keepGeometry(QWidget& window, const QString& key);
    void warnUnusable(const QString& key, const QString& value, const QString& fallback);
    void warn(const char* utf8, const QString& key);
    void readBool(const QString& key, bool& value);
    void readMinutes(const QString& key, int& value);

    std::unique_ptr<QSettings> store_;
    Warn warn_;
    bool writeDue_ = false;
    bool toldNotSaved_ = false;
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
