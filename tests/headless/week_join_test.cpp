// The headless join with a browser that serves weeks from memory, for what the real calendar
// cannot be made to do on demand.
#include "base/Error.h"
#include "browser/NavigationPace.h"
#include "headless/WeekJoin.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WeekPages.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace newsbell {
namespace {

using namespace std::chrono_literals;
using namespace testing;

const QUrl page(QStringLiteral("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show"));
const QDate mar8(2010, 3, 8), mar15(2010, 3, 15), mar22(2010, 3, 22);

// Sets browser up to serve the week a script asks for with three events, except that the week
// failing does what fault says.
void serveWeeks(FakeBrowser& browser, QDate failing, std::function<void(FakeBrowser&)> fault) {
    browser.page = legacyWeekPage(QDate(2026, 3, 2), 2); // the page opened first
    browser.onScript = [&browser, failing, fault](const QString& code) {
        const QDate monday = askedWeek(code);
        if (!monday.isValid()) return;
        if (monday == failing) return fault(browser);
        browser.page = legacyWeekPage(monday, 3);
        QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
    };
    QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
}

// Joins the weeks from 8 March 2010 to last into file; the failure's message, empty when none.
QString join(BrowserHost& browser, const QString& file, QStringList* progress = nullptr,
             QDate last = mar22, std::chrono::milliseconds loadWait = 200ms) {
    try {
        joinWeeks(browser, {page, mar8, last, file, loadWait},
                  TestClock(QDateTime(mar8, QTime(12, 0))), [&](const QString& line) {
                      if (progress) *progress << line;
                  });
        return {};
    } catch (const Error& failure) {
        return QString::fromUtf8(failure.what());
    }
}

TEST(WeekJoin, a_week_that_does_not_come_ends_the_join_with_the_weeks_before_it_in_the_file) {
    const auto never = [](FakeBrowser&) {};
    const auto errorPage = [](FakeBrowser& browser) {
        browser.loaded = false;
        QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
    };
    struct Case {
        const char* name;
        QDate failing;
        std::function<void(FakeBrowser&)> fault;
        bool oldFile;
        const char* message;
        std::string file;
    };
    const std::string old = "a file of some earlier run";
    for (const Case& c : {
             Case{"the second week never loads", mar15, never, true,
                  "Страница календаря не загрузила неделю 15.3.2010 за 0.2 с",
                  expectedWeekText(mar8, 3)},
             Case{"the second week ends on the browser's error page", mar15, errorPage, true,
                  "Неделя 15.3.2010: страница не открылась", expectedWeekText(mar8, 3)},
             // Nothing better than the old file came: it stays as it was, or stays away.
             Case{"the first week never loads", mar8, never, true,
                  "Страница календаря не загрузила неделю 8.3.2010 за 0.2 с", old},
             Case{"the first week ends on the browser's error page, no file before", mar8,
                  errorPage, false, "Неделя 8.3.2010: страница не открылась", "<missing>"},
         }) {
        SCOPED_TRACE(c.name);
        FakeBrowser browser;
        serveWeeks(browser, c.failing, c.fault);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("joined.txt"));
        if (c.oldFile) {
            QFile earlier(file);
            ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
            earlier.write(old.data(), qint64(old.size()));
        }
        QStringList progress;
        EXPECT_EQ(join(browser, file, &progress), QString::fromUtf8(c.message));
        EXPECT_EQ(readFileBytes(file), c.file);
        EXPECT_EQ(progress.size(), c.failing == mar8 ? 1 : 2);
        EXPECT_EQ(progress.last(), QStringLiteral("week %1 of 3 (%2)")
                                       .arg(progress.size())
                                       .arg(c.failing.toString(Qt::ISODate)));
        EXPECT_EQ(browser.visited, std::vector<QUrl>{page});
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
                  QStringList(c.oldFile ? 1 : 0, QStringLiteral("joined.txt")));
    }
}

// A FIFO cannot be rewritten week after week: the reader gets the whole join, or nothing.
TEST(WeekJoin, a_fifo_gets_the_whole_join_once_or_nothing) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "the last week fails" : "all weeks load");
        FakeBrowser browser;
        serveWeeks(browser, fails ? mar22 : QDate(), [](FakeBrowser&) {});
        QTemporaryDir folder;
        const QString fifo = folder.filePath(QStringLiteral("robot.fifo"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
        const int reader = ::open(QFile::encodeName(fifo), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
        EXPECT_EQ(join(browser, fifo).isEmpty(), !fails);
        EXPECT_EQ(readWaiting(reader), fails ? ""
                                             : expectedWeekText(mar8, 3) +
                                                   expectedWeekText(mar15, 3) +
                                                   expectedWeekText(mar22, 3));
        ::close(reader);
    }
}

TEST(WeekJoin, an_output_no_write_can_reach_is_refused_before_any_page_loads) {
    QTemporaryDir folder;
    for (const QString& output :
         {folder.path(), folder.filePath(QStringLiteral("no/joined.txt"))}) {
        FakeBrowser browser;
        EXPECT_TRUE(
            join(browser, output).startsWith(QString::fromUtf8("Не удалось сохранить файл")));
        EXPECT_TRUE(browser.visited.empty());
    }
}

// A calendar page in a browser that guards against pages navigating in a loop as Chromium does,
// scaled down: it counts the navigations week scripts start; once limit have come since its
// window began, it drops the next ones (nothing loads) until the window is over, and the first
// one after that begins a new window. Each week loads loadTime after its script.
class GuardedBrowser final : public BrowserHost {
public:
    static constexpr size_t limit = 10;

    GuardedBrowser(bool paced, std::chrono::milliseconds window, std::chrono::milliseconds loadTime)
        : paced_(paced), window_(window), loadTime_(loadTime), pace_(limit, window) {}

    QWidget* widget() override { return nullptr; }
    void navigate(const QUrl&) override { load(QDate(2026, 3, 2)); }
    bool hasDocument() const override { return !page_.empty(); }
    bool pageLoaded() const override { return true; }
    std::optional<LoadFailure> loadFailure() const override { return std::nullopt; }
    bool loading() const override { return false; }
    std::string bodyHtml() override { return page_; }
    void runScript(const QString& code, const QString&) override {
        const QDate monday = askedWeek(code);
        if (!monday.isValid()) return;
        const auto now = std::chrono::steady_clock::now();
        if (++count_ > limit) {
            if (now - windowStart_ <= window_) {
                ++dropped;
                return;
            }
            windowStart_ = now;
            count_ = 1;
        }
        ++navigations;
        pace_.started(now);
        load(monday);
    }
    std::chrono::milliseconds navigationDelay() const override {
        const auto delay = paced_ ? pace_.delay(std::chrono::steady_clock::now()) : 0ms;
        longestDelay = std::max(longestDelay, delay);
        return delay;
    }

    int navigations = 0, dropped = 0;
    mutable std::chrono::milliseconds longestDelay{};

private:
    void load(QDate monday) {
        QTimer::singleShot(loadTime_, this, [this, monday] {
            page_ = legacyWeekPage(monday, 3);
            emit downloadComplete();
            emit documentComplete();
        });
    }

    const bool paced_;
    const std::chrono::milliseconds window_, loadTime_;
    std::string page_;
    NavigationPace pace_;
    size_t count_ = 0;
    std::chrono::steady_clock::time_point windowStart_ = std::chrono::steady_clock::now();
};

TEST(WeekJoin, a_long_join_on_a_fast_page_waits_for_the_browser_only_when_it_must) {
    constexpr int weeks = 15;
    const QDate last = mar8.addDays(7 * (weeks - 1));
    struct Case {
        const char* name;
        bool paced;
        std::chrono::milliseconds window, loadTime, loadWait;
        bool waits;
        const char* message;
    };
    for (const Case& c : {
             // A week put off for the guard waits up to a window, within the load's wait.
             Case{"a fast page, paced", true, 1s, 0ms, 3s, true, ""},
             Case{"a page slower than the guard", true, 100ms, 25ms, 3s, false, ""},
             // Without pacing the guard drops the eleventh week, whose load never comes.
             Case{"a fast page, unpaced", false, 1min, 0ms, 300ms, false,
                  "Страница календаря не загрузила неделю 17.5.2010 за 0.3 с"},
         }) {
        SCOPED_TRACE(c.name);
        GuardedBrowser browser(c.paced, c.window, c.loadTime);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("joined.txt"));
        EXPECT_EQ(join(browser, file, nullptr, last, c.loadWait), QString::fromUtf8(c.message));
        const int joined = c.message[0] ? int(GuardedBrowser::limit) : weeks;
        std::string expected;
        for (int week = 0; week < joined; ++week)
            expected += expectedWeekText(mar8.addDays(7 * week), 3);
        EXPECT_EQ(readFileBytes(file), expected);
        EXPECT_EQ(browser.navigations, joined);
        EXPECT_EQ(browser.dropped, c.message[0] ? 1 : 0);
        EXPECT_EQ(browser.longestDelay > 0ms, c.waits);
    }
}

} // namespace
} // namespace newsbell
