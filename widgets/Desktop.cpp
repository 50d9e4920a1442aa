#include "widgets/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace newsbell {

void QtMessageSink::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtLinkOpener::openLink(const QUrl& address) {
    QDesktopServices::openUrl(address);
}

std::optional<QString> QtFileChooser::chooseFileToSave(QWidget* owner, const QString& startPath) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QFileInfo(startPath).absolutePath());
    dialog.setNameFilter(QStringLiteral("*.txt"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // The overwrite prompt is QFileDialog's default; the read-only box does not exist here.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtFolderChooser::chooseFolder(QWidget* owner, const QString& start) {
    const QString folder =
        QFileDialog::getExistingDirectory(owner, QString::fromUtf8("Папка для файлов советников"),
                                          start.isEmpty() ? QDir::homePath() : start);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

std::optional<QString> QtOpenFileChooser::chooseFileToOpen(QWidget* owner, const QString& start) {
    const QString file = QFileDialog::getOpenFileName(
        owner, QString::fromUtf8("Файл ленты календаря"),
        start.isEmpty() ? QDir::homePath() : QFileInfo(start).absolutePath(),
        QString::fromUtf8("Ленты календаря (*.xml *.json *.ics);;Все файлы (*)"));
    if (file.isEmpty()) return std::nullopt;
    return file;
}

} // namespace newsbell
