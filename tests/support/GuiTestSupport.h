#pragma once

#include "browser/BrowserHost.h"
#include "calendar/CalendarWeek.h"
#include "core/EventTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/WeekPages.h"
#include "widgets/Desktop.h"

#include <QDate>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace newsbell::testing {

// A browser that serves a page text set by the test, or fails as the test says.
class FakeBrowser final : public BrowserHost {
public:
    QWidget* widget() override { return &view; }
    void navigate(const QUrl& url) override { visited.push_back(url); }
    bool hasDocument() const override { return !page.empty(); }
    bool pageLoaded() const override { return loaded; }
    std::optional<LoadFailure> loadFailure() const override;
    bool loading() const override { return stillLoading; }
    std::string bodyHtml() override;
    void runScript(const QString& code, const QString& language) override;

    // Tells the window a load has finished, as the real browser does.
    void finishLoad();

    QWidget view;
    std::vector<QUrl> visited;
    std::string page;             // cp1251; empty means no document
    std::string failure;          // when set, bodyHtml() throws it
    bool loaded = true;           // false: the load ended on the browser's error page
    QString failedBecause;        // the reason of a load that did not reach its page
    bool stillLoading = false;    // a load is under way
    std::function<void()> onRead; // runs inside bodyHtml(), before it answers
    std::vector<QString> scripts; // run in the page, in order
    std::function<void(const QString&)> onScript;
};

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

// Stands at moment. Its steady count moves on by step at every reading, so that work timed by
// it seems to take step milliseconds between two readings.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime at) : moment(std::move(at)) {}
    QDateTime now() const override { return moment; }
    qint64 steadyMilliseconds() const override { return steady += step; }
    QDateTime moment;
    qint64 step = 0;

private:
    mutable qint64 steady = 0;
};

// Fakes for every desktop service, bundled the way the window takes them.
struct FakeDesktop {
    RecordingMessages messages;
    RecordingLinks links;
    ScriptedFileChooser files;
    FixedClock clock{QDateTime(QDate(2010, 5, 26), QTime(12, 0))};
    CountingSound sound;
    Desktop desktop() { return {messages, links, files, clock, sound}; }
};

// A demo event's fields in the table's column order, from the date on.
QStringList fieldsOf(const CalendarEvent& event);

// The table text file lines of what the demo calendar shows for the week of monday at the
// moment now, with extra (the events it adds soon after it starts).
std::vector<std::string> demoWeekLines(QDate monday, const QDateTime& now,
                                       const std::vector<CalendarEvent>& extra = {});

std::string joined(const std::vector<std::string>& lines);

// Column 0 of rows 1 to n-1, joined with ",": the running numbers left after deletions.
std::string rowNumbers(const EventTable& table);

} // namespace newsbell::testing
