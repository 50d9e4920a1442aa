#include "program/RobotFilesItem.h"

#include "mainwindow/TForm1.h"
#include "program/KeptSettings.h"
#include "program/RobotFiles.h"
#include "program/RobotFilesDialog.h"

#include <QAction>

namespace newsbell {

RobotFilesItem::RobotFilesItem(TForm1& form, FolderChooser& folders, RobotFilesWriter& writer,
                               KeptSettings* settings)
    : form_(form), folders_(folders), writer_(writer), settings_(settings) {
    action = new QAction(QString::fromUtf8("Файлы для советников..."), this);
    form_.addMenuAction(action);
    connect(action, &QAction::triggered, this, &RobotFilesItem::askForSettings);
}

void RobotFilesItem::askForSettings() {
    RobotFilesDialog dialog(writer_.settings(), folders_, &form_);
    if (dialog.exec() == QDialog::Accepted) useSettings(dialog.settings());
}

void RobotFilesItem::useSettings(const RobotFilesSettings& settings) {
    if (settings_) settings_->setRobotFiles(settings);
    writer_.setSettings(settings);
    if (settings.enabled && !writer_.hasGoodTable()) form_.collectTable();
}

} // namespace newsbell
