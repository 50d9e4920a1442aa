// The week run below the widgets, on a calendar page that loads whatever week a script asks for.
#include "base/Error.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WeekPages.h"
#include "weeks/WeekRun.h"
#include "weeks/WeekScripts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace newsbell {
namespace {

using namespace testing;

const QDate mar8(2010, 3, 8), mar15(2010, 3, 15), mar22(2010, 3, 22);

std::string script(QDate day) {
    return weekScript(day).toStdString();
}

// Loads the week a script names: its page has events(monday) events and reports
// reported(monday) as its date. The test delivers each load's notification by deliver().
class ScriptedPage final : public WeekPage {
public:
    std::string bodyHtml() override {
        if (onRead) onRead();
        return page;
    }
    void runScript(const QString& code) override {
        if (delay() > std::chrono::milliseconds::zero()) ADD_FAILURE() << "asked before it may";
        scripts.push_back(code.toStdString());
        if (failScripts) throw Error("script failed");
        const QDate monday = askedWeek(code);
        if (!monday.isValid()) return;
        page = legacyWeekPage(monday, events(monday), reported(monday));
        loadPending = true;
        if (whileAsked) whileAsked();
    }

    std::function<int(QDate)> events = [](QDate) { return 3; };
    std::function<QDate(QDate)> reported = [](QDate monday) { return monday; };
    std::chrono::milliseconds navigationDelay() const override { return delay(); }

    std::function<void()> onRead, whileAsked;
    std::function<std::chrono::milliseconds()> delay = [] { return std::chrono::milliseconds(); };
    bool failScripts = false;
    bool loadPending = false;
    std::string page;
    std::vector<std::string> scripts;
};

class Recorder final : public WeekRunListener {
public:
    void rangeSet() override { ++ranges; }
    void weekRequested(QDate monday) override { requested.push_back(monday); }
    void fileWritten(std::string_view file, size_t unchanged) override {
        writes.emplace_back(file.substr(unchanged));
        onDisk = readFileBytes(fileName);
    }
    void busyChanged(bool busy) override { busyNow = busy; }
    void runFinished() override { ++finished; }
    void weekFailed(const std::exception& failure) override { failures.push_back(failure.what()); }

    QString fileName;
    int ranges = 0, finished = 0;
    bool busyNow = false;
    std::vector<QDate> requested;
    std::vector<std::string> failures;
    std::vector<std::string> writes; // the bytes each write added
    std::string onDisk;              // the file as the last write left it
};

class WeekRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.writeTitles();
        recorder.fileName = folder.filePath(QStringLiteral("joined.txt"));
    }

    void start(QDate first, QDate last) { run.start(first, last, recorder.fileName); }

    // One download-complete notification per requested week, as the browser sends them; a run
    // that does not end is cut off.
    void deliver() {
        for (int loads = 0; loads < 60 && page.loadPending && run.running(); ++loads) {
            page.loadPending = false;
            run.downloadComplete();
        }
    }

    std::string file() { return readFileBytes(recorder.fileName); }

    QTemporaryDir folder;
    EventTable table;
    ScriptedPage page;
    Recorder recorder;
    TestClock clock{QDateTime(QDate(2010, 3, 10), QTime(12, 0))};
    WeekRun run{page, table, recorder, clock};
};

TEST_F(WeekRunTest, picked_days_become_mondays_in_order_and_the_first_is_asked_for) {
    struct Case {
        QDate first, last;
        const char *firstLabel, *lastLabel;
    };
    for (const Case& c : {
             Case{QDate(2010, 3, 10), QDate(2010, 3, 21), "8.3.2010", "15.3.2010"},
             Case{QDate(2010, 3, 21), QDate(2010, 3, 10), "8.3.2010", "15.3.2010"}, // swapped
             Case{QDate(2010, 3, 8), QDate(2010, 3, 13), "8.3.2010", "8.3.2010"},
             Case{QDate(2011, 1, 2), QDate(2011, 1, 3), "27.12.2010", "3.1.2011"},
         }) {
        SCOPED_TRACE(c.firstLabel);
        page.scripts.clear();
        start(c.first, c.last);
        EXPECT_EQ(run.firstLabel(), c.firstLabel);
        EXPECT_EQ(run.lastLabel(), c.lastLabel);
        EXPECT_EQ(run.requestedLabel(), c.firstLabel);
        EXPECT_EQ(page.scripts, std::vector<std::string>{script(run.firstMonday())});
        EXPECT_TRUE(run.running());
        run.stop();
    }
    EXPECT_EQ(script(mar8),
              "CP_targetInput=-1;CP_change_time('weekly');CP_tmpReturnFunction(2010,3,8);"
              "CP_hideCalendar('0');");
    EXPECT_FALSE(QFile::exists(recorder.fileName)) << "the file waits for the first week";
}

TEST_F(WeekRunTest, the_page_is_set_up_only_while_no_run_is_on) {
    run.documentComplete();
    start(mar8, mar15);
    run.documentComplete();
    EXPECT_EQ(page.scripts,
              (std::vector<std::string>{"CP_targetInput=-1;CP_change_time('weekly');"
                                        "CP_tmpReturnFunction('');CP_hideCalendar('0');",
                                        script(mar8)}));
}

TEST_F(WeekRunTest, joins_the_weeks_in_order_and_ends_once) {
    struct Case {
        const char* name;
        QDate first, last;
        std::function<QDate(QDate)> reported;
        std::function<int(QDate)> events;
        std::vector<QDate> weeks;
    };
    const auto same = [](QDate monday) { return monday; };
    const auto three = [](QDate) { return 3; };
    for (const Case& c : {
             Case{"three weeks", mar8, QDate(2010, 3, 24), same, three, {mar8, mar15, mar22}},
             Case{"one week", mar15, mar15, same, three, {mar15}},
             // The end test never matches; the run still ends with the last Monday asked for.
             Case{"the page reports the sunday before",
                  mar8,
                  mar22,
                  [](QDate monday) { return monday.addDays(-1); },
                  three,
                  {mar8, mar15, mar22}},
             Case{"an empty week adds nothing",
                  mar8,
                  mar22,
                  same,
                  [](QDate monday) { return monday == mar15 ? 0 : 4; },
                  {mar8, mar15, mar22}},
             Case{"across the new year",
                  QDate(2010, 12, 27),
                  QDate(2011, 1, 10),
                  same,
                  three,
                  {QDate(2010, 12, 27), QDate(2011, 1, 3), QDate(2011, 1, 10)}},
         }) {
        SCOPED_TRACE(c.name);
        page.scripts.clear();
        recorder = Recorder{};
        recorder.fileName = folder.filePath(QString::fromUtf8(c.name));
        page.reported = c.reported;
        page.events = c.events;
        start(c.first, c.last);
        deliver();

        std::string expected;
        std::vector<std::string> scripts;
        for (QDate monday : c.weeks) {
            expected += expectedWeekText(monday, c.events(monday));
            scripts.push_back(script(monday));
        }
        EXPECT_EQ(page.scripts, scripts);
        EXPECT_EQ(recorder.requested, c.weeks);
        EXPECT_EQ(file(), expected);
        EXPECT_EQ(recorder.onDisk, expected) << "the last write left the whole file";
        EXPECT_EQ(recorder.writes.size(), c.weeks.size()) << "one write per week";
        EXPECT_EQ(recorder.finished, 1);
        EXPECT_FALSE(run.running());
        EXPECT_FALSE(recorder.busyNow);
        for (int row = 1; row < table.rowCount(); ++row)
            ASSERT_EQ(table.cell(0, row), std::to_string(row)) << "numbering without gaps";

        run.downloadComplete(); // a late notification after the end
        EXPECT_EQ(recorder.finished, 1);
        EXPECT_EQ(file(), expected);
    }
}

TEST_F(WeekRunTest, notifications_and_starts_during_a_week_change_nothing) {
    start(mar8, mar22);
    bool nested = false;
    run.setProcessEvents([&] {
        if (nested) return;
        nested = true;
        EXPECT_TRUE(run.busy());
        run.downloadComplete();          // a second notification for the same week
        start(mar22, QDate(2011, 1, 1)); // a start in the middle of the week
        nested = false;
    });
    deliver();
    EXPECT_EQ(file(),
              expectedWeekText(mar8, 3) + expectedWeekText(mar15, 3) + expectedWeekText(mar22, 3));
    EXPECT_EQ(page.scripts.size(), 3u);
    EXPECT_EQ(recorder.finished, 1);
}

TEST_F(WeekRunTest, a_week_that_loads_before_its_script_returns_is_processed_after_it) {
    page.whileAsked = [&] {
        page.loadPending = false;
        run.downloadComplete();
    };
    start(mar8, mar22);
    EXPECT_EQ(file(),
              expectedWeekText(mar8, 3) + expectedWeekText(mar15, 3) + expectedWeekText(mar22, 3));
    EXPECT_EQ(recorder.finished, 1);
}

TEST_F(WeekRunTest, a_week_that_loads_for_a_stopped_run_is_no_week_of_the_next_one) {
    // The second week loads while the page still runs its script, and the user stops then.
    page.whileAsked = [&] {
        if (run.requestedLabel() != "15.3.2010") return;
        run.downloadComplete();
        run.stop();
    };
    start(mar8, mar22);
    run.downloadComplete();
    page.whileAsked = nullptr;
    start(QDate(2011, 1, 3), QDate(2011, 1, 3));
    EXPECT_EQ(table.rowCount(), 1) << "nothing read before the week asked for is there";
    EXPECT_TRUE(run.running());
}

TEST_F(WeekRunTest, a_failure_stalls_the_run_with_the_weeks_before_it_in_the_file) {
    start(mar8, mar22);
    run.downloadComplete();
    ASSERT_EQ(file(), expectedWeekText(mar8, 3));

    page.page = "<P>no date here</P>"; // the second week's page
    EXPECT_THROW(run.downloadComplete(), Error);
    EXPECT_TRUE(run.running()) << "stalled, not ended";
    EXPECT_FALSE(run.busy());
    EXPECT_EQ(page.scripts.size(), 2u) << "nothing further asked for";
    EXPECT_EQ(file(), expectedWeekText(mar8, 3));

    page.page = legacyWeekPage(mar15, 3);
    page.failScripts = true;
    EXPECT_THROW(run.downloadComplete(), Error);
    EXPECT_EQ(run.requestedLabel(), "22.3.2010") << "moved on before the script failed";
    EXPECT_EQ(file(), expectedWeekText(mar8, 3) + expectedWeekText(mar15, 3));
}

TEST_F(WeekRunTest, a_first_week_that_fails_leaves_the_file_of_an_earlier_run_as_it_was) {
    QFile earlier(recorder.fileName);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier join");
    earlier.close();
    start(mar8, mar22);
    page.page = "<P>no date here</P>";
    EXPECT_THROW(run.downloadComplete(), Error);
    EXPECT_EQ(file(), "an earlier join");
}

TEST_F(WeekRunTest, a_file_that_cannot_be_written_loses_no_rows_for_the_next_write) {
    recorder.fileName = folder.filePath(QStringLiteral("missing-folder/joined.txt"));
    start(mar8, mar15);
    EXPECT_THROW(run.downloadComplete(), Error);
    EXPECT_EQ(run.fileBytes(), "");
    EXPECT_EQ(table.rowCount(), 4) << "the week's rows stay in the table";
}

// The browser drops a navigation that comes too soon after many: the second week waits for it.
TEST_F(WeekRunTest, a_week_put_off_for_the_browser_is_asked_for_once_it_may_load) {
    using namespace std::chrono;
    int argc = 1;
    char name[] = "weeks_tests";
    char* argv[] = {name};
    const QCoreApplication application(argc, argv); // for the timer the run waits with
    struct Case {
        const char* name;
        std::function<void()> whileWaiting;
        std::vector<QDate> asked;
        std::vector<QDate> joined;
        std::vector<std::string> failures;
    };
    for (const Case& c : {
             Case{"a load meanwhile is not the week",
                  [&] { run.downloadComplete(); },
                  {mar8, mar15, mar22},
                  {mar8, mar15, mar22},
                  {}},
             Case{"a stop drops the request", [&] { run.stop(); }, {mar8}, {mar8}, {}},
             Case{"a new run is not asked for twice",
                  [&] {
                      page.delay = [] { return milliseconds(); };
                      start(mar22, mar22);
                  },
                  {mar8, mar22},
                  {mar22},
                  {}},
             Case{"a script that fails then stalls the run",
                  [&] { page.failScripts = true; },
                  {mar8, mar15},
                  {mar8},
                  {"script failed"}},
         }) {
        SCOPED_TRACE(c.name);
        page = ScriptedPage{};
        recorder = Recorder{};
        recorder.fileName = folder.filePath(QString::fromUtf8(c.name));
        start(mar8, mar22);
        const auto allowed = steady_clock::now() + milliseconds(30);
        page.delay = [allowed] {
            return std::max(ceil<milliseconds>(allowed - steady_clock::now()), milliseconds());
        };
        page.loadPending = false;
        run.downloadComplete(); // the first week; the second must wait
        c.whileWaiting();
        QEventLoop waiting;
        QTimer::singleShot(100, &waiting, &QEventLoop::quit);
        waiting.exec();
        deliver();

        std::vector<std::string> scripts;
        for (QDate monday : c.asked) scripts.push_back(script(monday));
        std::string joined;
        for (QDate monday : c.joined) joined += expectedWeekText(monday, 3);
        EXPECT_EQ(page.scripts, scripts);
        EXPECT_EQ(file(), joined);
        EXPECT_EQ(recorder.failures, c.failures);
        EXPECT_FALSE(recorder.busyNow);
    }
}

} // namespace
} // namespace newsbell
