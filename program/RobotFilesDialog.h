#pragma once

#include "program/RobotFilesSettings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace newsbell {

class FolderChooser;

// What is wrong with settings about to be taken, or an empty text when they will do: switched
// on, the files need a folder that exists.
QString robotFilesProblem(const RobotFilesSettings& settings);

// "Файлы для советников": switches the files on or off, takes their folder (typed, or chosen in
// the folder dialog), the gate's windows before and after an event and the importances it
// counts. OK is offered only while the settings will do; what is wrong is said above the buttons.
class RobotFilesDialog final : public QDialog {
    Q_OBJECT
public:
    RobotFilesDialog(const RobotFilesSettings& current, FolderChooser& folders,
                     QWidget* parent = nullptr);

    RobotFilesSettings settings() const;

    QCheckBox* enabledBox = nullptr;
    QLineEdit* folderField = nullptr;
    QPushButton* chooseButton = nullptr;
    QSpinBox* beforeField = nullptr;
    QSpinBox* afterField = nullptr;
    std::array<QCheckBox*, alertImportances.size()> importanceBoxes{};
    QLabel* problemLabel = nullptr;
    QDialogButtonBox* buttons = nullptr;

private:
    void chooseFolder();
    void check();

    FolderChooser& folders_;
};

} // namespace newsbell
