#pragma once

#include "tests/support/TestClock.h"
#include "widgets/Desktop.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace newsbell::testing {

class RecordingMessages final : public MessageSink {
public:
    void showMessage(const QString& text) override;
    QStringList shown;
    std::function<void()> whileShown; // runs while the box would be open
};

class RecordingLinks final : public LinkOpener {
public:
    void openLink(const QUrl& address) override { opened.push_back(address); }
    std::vector<QUrl> opened;
};

// Answers the save dialog with the next prepared answer; an empty string cancels.
class ScriptedFileChooser final : public FileChooser {
public:
    std::optional<QString> chooseFileToSave(QWidget*, const QString& startPath) override;
    std::deque<QString> answers;
    QStringList startPaths;
};

class CountingSound final : public SoundPlayer {
public:
    void play() override { ++plays; }
    int plays = 0;
};

// Fakes for every desktop service, bundled the way the windows take them.
struct FakeDesktop {
    RecordingMessages messages;
    RecordingLinks links;
    ScriptedFileChooser files;
    TestClock clock{QDateTime(QDate(2010, 5, 26), QTime(12, 0))};
    CountingSound sound;
    Desktop desktop() { return {messages, links, files, clock, sound}; }
};

} // namespace newsbell::testing
