#include "headless/WeekJoin.h"

#include "base/Error.h"
#include "core/TableTextFile.h"
#include "headless/WeekExport.h"
#include "weeks/BrowserWeekPage.h"
#include "weeks/WeekRun.h"

#include <QEventLoop>
#include <QTimer>
#include <optional>

namespace newsbell {

namespace {

class HeadlessJoin final : private WeekRunListener {
public:
    HeadlessJoin(BrowserHost& browser, const WeekJoinOptions& options, const Clock& clock,
                 const std::function<void(const QString&)>& progress)
        : browser_(browser), options_(options), progress_(progress), page_(browser),
          run_(page_, table_, *this, clock) {
        table_.writeTitles();
        weekWait_.setSingleShot(true);
        weekWait_.setInterval(options.loadWait);
        QObject::connect(&weekWait_, &QTimer::timeout, &loop_, [this] {
            fail(QStringLiteral("Страница календаря не загрузила неделю %1 за %2 с")
                     .arg(QString::fromLatin1(run_.requestedLabel()))
                     .arg(double(options_.loadWait.count()) / 1000.0)
                     .toStdString());
        });
    }

    void join() {
        checkOutputFile(options_.fileName); // before any page loads, touching nothing
        loadCalendarPage(browser_, options_.page, options_.loadWait);
        run_.documentComplete();
        QObject::connect(&browser_, &BrowserHost::downloadComplete, &loop_, [this] { loaded(); });
        run_.start(options_.first, options_.last, options_.fileName);
        if (!finished_ && !failure_) loop_.exec();
        if (failure_) throw Error(*failure_);
    }

private:
    void loaded() {
        weekWait_.stop();
        try {
            if (!browser_.pageLoaded())
                throw Error(QStringLiteral("страница не открылась").toStdString());
            run_.downloadComplete();
        } catch (const std::exception& failure) {
            weekFailed(failure);
        }
    }

    // The first failure ends the join; nothing after it reaches the file.
    void fail(std::string message) {
        if (!failure_) failure_ = std::move(message);
        run_.stop();
        loop_.quit();
    }

    void rangeSet() override {}
    void weekRequested(QDate monday) override {
        progress_(QStringLiteral("week %1 of %2 (%3)")
                      .arg(run_.requestedWeek())
                      .arg(run_.weekCount())
                      .arg(monday.toString(Qt::ISODate)));
        weekWait_.start();
    }
    void fileWritten(std::string_view, size_t) override {}
    void busyChanged(bool) override {}
    void runFinished() override {
        finished_ = true;
        weekWait_.stop();
        loop_.quit();
    }
    void weekFailed(const std::exception& failure) override {
        fail(QStringLiteral("Неделя %1: %2")
                 .arg(QString::fromLatin1(run_.requestedLabel()), QString::fromUtf8(failure.what()))
                 .toStdString());
    }

    BrowserHost& browser_;
    const WeekJoinOptions& options_;
    const std::function<void(const QString&)>& progress_;
    EventTable table_;
    BrowserWeekPage page_;
    WeekRun run_;
    QEventLoop loop_;
    QTimer weekWait_;
    bool finished_ = false;
    std::optional<std::string> failure_;
};

} // namespace

void joinWeeks(BrowserHost& browser, const WeekJoinOptions& options, const Clock& clock,
               const std::function<void(const QString&)>& progress) {
    HeadlessJoin(browser, options, clock, progress).join();
}

} // namespace newsbell
