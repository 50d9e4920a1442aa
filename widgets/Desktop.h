#pragma once

#include "base/Clock.h"

#include <QString>
#include <QUrl>
#include <optional>

class QWidget;

namespace newsbell {

// What the windows ask of the desktop, each behind an interface the tests replace.

// A plain modal message box with an OK button.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString& text) = 0;
};

// Opens a web address in the user's default browser; failures are not the program's concern.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    virtual void openLink(const QUrl& address) = 0;
};

// The save dialog: the chosen file name, or nothing when the user cancels. The dialog starts in
// the folder that holds startPath (the program's own file) and appends ".txt" to a bare name.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<QString> chooseFileToSave(QWidget* owner, const QString& startPath) = 0;
};

// The folder dialog: the chosen folder, or nothing when the user cancels. The dialog starts in
// start (or the user's home folder when start is empty).
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& start) = 0;
};

// The open dialog for a calendar feed's file: the chosen file, or nothing when the user cancels.
// The dialog starts in the folder that holds start (or the user's home folder when start is
// empty).
class OpenFileChooser {
public:
    virtual ~OpenFileChooser() = default;
    virtual std::optional<QString> chooseFileToOpen(QWidget* owner, const QString& start) = 0;
};

// The alert sound: starts at once and never waits for it; a new sound cuts off one still
// playing. Where nothing can be played it falls back to the desktop's beep, silently.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play() = 0;
};

struct Desktop {
    MessageSink& messages;
    LinkOpener& links;
    FileChooser& files;
    const Clock& clock;
    SoundPlayer& sound;
};

// The real desktop: QMessageBox, QDesktopServices and QFileDialog.
class QtMessageSink final : public MessageSink {
public:
    void showMessage(const QString& text) override;
};

class QtLinkOpener final : public LinkOpener {
public:
    void openLink(const QUrl& address) override;
};

class QtFileChooser final : public FileChooser {
public:
    std::optional<QString> chooseFileToSave(QWidget* owner, const QString& startPath) override;
};

class QtFolderChooser final : public FolderChooser {
public:
    std::optional<QString> chooseFolder(QWidget* owner, const QString& start) override;
};

class QtOpenFileChooser final : public OpenFileChooser {
public:
    std::optional<QString> chooseFileToOpen(QWidget* owner, const QString& start) override;
};

} // namespace newsbell
