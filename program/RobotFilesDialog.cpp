#include "program/RobotFilesDialog.h"

#include "widgets/Desktop.h"
#include "widgets/WidgetStyle.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace newsbell {

namespace {

QSpinBox* minutesField(int value) {
    auto* field = new QSpinBox;
    field->setRange(0, longestGateWindow);
    field->setValue(value);
    field->setSuffix(text(" мин"));
    return field;
}

} // namespace

QString robotFilesProblem(const RobotFilesSettings& settings) {
    if (!settings.enabled) return {};
    if (settings.folder.trimmed().isEmpty()) return text("Выберите папку для файлов.");
    if (!QFileInfo(settings.folder).isDir()) return text("Такой папки нет: ") + settings.folder;
    return {};
}

RobotFilesDialog::RobotFilesDialog(const RobotFilesSettings& current, FolderChooser& folders,
                                   QWidget* parent)
    : QDialog(parent), folders_(folders) {
    setWindowTitle(text("Файлы для советников"));
    auto* layout = new QVBoxLayout(this);
    auto* about = new QLabel(text(
        "Newsbell сам записывает в папку (обычно папку файлов торгового терминала) таблицу недели "
        "newsbell_week.txt после каждого сбора данных и новостной фильтр newsbell_gate.txt "
        "после каждого сбора и каждую минуту. Валюты фильтра — отмеченные в главном окне."));
    about->setWordWrap(true);
    layout->addWidget(about);

    enabledBox = new QCheckBox(text("Записывать файлы для советников"));
    enabledBox->setChecked(current.enabled);
    layout->addWidget(enabledBox);

    auto* form = new QFormLayout;
    auto* folderRow = new QHBoxLayout;
    folderField = new QLineEdit(current.folder);
    folderField->setMinimumWidth(360);
    chooseButton = new QPushButton(text("Выбрать..."));
    folderRow->addWidget(folderField);
    folderRow->addWidget(chooseButton);
    form->addRow(text("Папка:"), folderRow);
    beforeField = minutesField(current.gate.beforeMinutes);
    afterField = minutesField(current.gate.afterMinutes);
    form->addRow(text("Запрет до события:"), beforeField);
    form->addRow(text("Запрет после события:"), afterField);
    auto* importanceRow = new QHBoxLayout;
    const char* names[] = {"Низкая", "Средняя", "Высокая"};
    for (size_t i = 0; i < importanceBoxes.size(); ++i) {
        importanceBoxes[i] = new QCheckBox(text(names[i]));
        importanceBoxes[i]->setChecked(current.gate.importances[i]);
        importanceRow->addWidget(importanceBoxes[i]);
    }
    importanceRow->addStretch();
    form->addRow(text("Учитывать важность:"), importanceRow);
    layout->addLayout(form);

    problemLabel = new QLabel;
    problemLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(problemLabel);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(chooseButton, &QPushButton::clicked, this, &RobotFilesDialog::chooseFolder);
    connect(enabledBox, &QCheckBox::toggled, this, &RobotFilesDialog::check);
    connect(folderField, &QLineEdit::textChanged, this, &RobotFilesDialog::check);
    check();
}

RobotFilesSettings RobotFilesDialog::settings() const {
    RobotFilesSettings settings;
    settings.enabled = enabledBox->isChecked();
    settings.folder = folderField->text().trimmed();
    settings.gate.beforeMinutes = beforeField->value();
    settings.gate.afterMinutes = afterField->value();
    for (size_t i = 0; i < importanceBoxes.size(); ++i)
        settings.gate.importances[i] = importanceBoxes[i]->isChecked();
    return settings;
}

void RobotFilesDialog::chooseFolder() {
    const std::optional<QString> chosen = folders_.chooseFolder(this, folderField->text());
    if (!chosen) return;
    folderField->setText(*chosen);
}

void RobotFilesDialog::check() {
    const QString problem = robotFilesProblem(settings());
    problemLabel->setText(problem);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

} // namespace newsbell
