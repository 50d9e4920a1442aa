#pragma once

#include "program/RobotFilesSettings.h"

#include <QObject>

class QAction;

namespace newsbell {

class FolderChooser;
class KeptSettings;
class RobotFilesWriter;
class TForm1;

// "Файлы для советников..." in the main window's menu: asks for the robots' files settings in
// a dialog, hands them to the writer and keeps them for the next start.
class RobotFilesItem final : public QObject {
    Q_OBJECT
public:
    // settings: none when nothing is kept.
    RobotFilesItem(TForm1& form, FolderChooser& folders, RobotFilesWriter& writer,
                   KeptSettings* settings);

    // Takes settings as the dialog's OK does. Switched on before any extraction has succeeded,
    // the window reads its page at once, so that the files appear without waiting for the next
    // alert pass.
    void useSettings(const RobotFilesSettings& settings);

    QAction* action = nullptr;

private:
    void askForSettings();

    TForm1& form_;
    FolderChooser& folders_;
    RobotFilesWriter& writer_;
    KeptSettings* settings_;
};

} // namespace newsbell
