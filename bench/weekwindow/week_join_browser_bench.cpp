// The week join as the user waits for it: the week window on the real browser (offscreen), a
// ten-year join (520 weeks) on the demo calendar and on a feed of one event a week, whose pages
// are the fastest the built-in calendar serves. A week costs from the request of its page to
// the request of the next (the last week: to the end message): the page's own script, the
// navigation and load, reading the page text, the extraction, the file rewritten, the memo, and
// any wait for the browser's navigation guard. Prints, for each calendar, the median cost of
// weeks 1, 2, 52 and 520 over several joins and their ratios to week 2 (week 1 also lays the
// window out), with the whole join's time and the waits for the guard.
//   week_join_browser_bench [joins]
#include "bench/Measures.h"
#include "browser/WebEngineBrowserHost.h"
#include "browser/WebEngineSetup.h"
#include "calendar/CalendarServer.h"
#include "calendar/FeedCalendar.h"
#include "tests/support/FakeDesktop.h"
#include "weekwindow/TForm2.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

using namespace newsbell;
using namespace newsbell::testing;

namespace {

using bench::median;
using bench::milliseconds;

constexpr int weeksInJoin = 520;
const std::vector<int> timedWeeks{1, 2, 52, 520};
const QDate firstMonday(2015, 1, 5);
constexpr int stallSeconds = 120; // a week that takes longer ends the benchmark

using Clock = std::chrono::steady_clock;

[[noreturn]] void giveUp(const QString& why) {
    std::fprintf(stderr, "week_join_browser_bench: %s\n", qPrintable(why));
    std::exit(1);
}

struct Join {
    std::vector<double> weekMs; // week k at k - 1
    double seconds = 0;
    int waits = 0;       // weeks put off for the navigation guard
    double waitedMs = 0; // how long, all told
};

// One join of weeksInJoin weeks in a fresh, shown window on the calendar at page.
Join join(const QUrl& page, const QString& fileName) {
    FakeDesktop desktop;
    ErrorReporter errors(desktop.messages);
    auto* browser = new WebEngineBrowserHost;
    TForm2 form([browser] { return browser; }, desktop.desktop(), errors, page);
    form.show();
    if (!QTest::qWaitFor([&] { return form.Button1->isEnabled(); }, stallSeconds * 1000))
        giveUp(QStringLiteral("the calendar page did not load"));

    // Each request moves the left calendar to its Monday; the run starts from a Wednesday, so
    // that the first request moves it too. The loop runs as the window's own would: a test's
    // wait that sleeps between looks would delay the browser's notifications.
    form.MonthCalendar1->setSelectedDate(firstMonday.addDays(2));
    form.MonthCalendar2->setSelectedDate(firstMonday.addDays(7 * (weeksInJoin - 1)));
    desktop.files.answers = {fileName};
    QEventLoop loop;
    QTimer stalled;
    stalled.setSingleShot(true);
    stalled.setInterval(stallSeconds * 1000);
    QObject::connect(&stalled, &QTimer::timeout, &loop, [&] { loop.exit(1); });
    std::vector<Clock::time_point> requested;
    Join times;
    QObject::connect(form.MonthCalendar1, &QCalendarWidget::selectionChanged, &form, [&] {
        requested.push_back(Clock::now());
        stalled.start();
        const auto delay = browser->navigationDelay();
        if (delay.count() == 0) return;
        ++times.waits;
        times.waitedMs += double(delay.count());
    });
    Clock::time_point finished;
    desktop.messages.whileShown = [&] {
        finished = Clock::now();
        loop.quit();
    };
    form.Button1->click();
    if (loop.exec() != 0) giveUp(QStringLiteral("week %1 did not come").arg(requested.size() + 1));
    if (desktop.messages.shown != QStringList{QString::fromUtf8("Склейка данных завершена")} ||
        int(requested.size()) != weeksInJoin)
        giveUp(QStringLiteral("the join ended with %1 weeks: %2")
                   .arg(requested.size())
                   .arg(desktop.messages.shown.join(QStringLiteral("; "))));
    requested.push_back(finished);
    for (size_t week = 1; week < requested.size(); ++week)
        times.weekMs.push_back(milliseconds(requested[week] - requested[week - 1]));
    times.seconds = milliseconds(finished - requested.front()) / 1000;
    return times;
}

// A weekly XML feed of ten years, one event every Monday.
QString writeFeed(const QTemporaryDir& folder) {
    QByteArray feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<weeklyevents>\n";
    for (int week = 0; week < weeksInJoin; ++week)
        feed += "<event><title>CPI m/m</title><country>USD</country><date>" +
                firstMonday.addDays(7 * week).toString(QStringLiteral("MM-dd-yyyy")).toLatin1() +
                "</date><time>8:30am</time><impact>High</impact><forecast>0.2%</forecast>"
                "<previous>0.1%</previous></event>\n";
    QFile file(folder.filePath(QStringLiteral("weekly.xml")));
    if (!file.open(QIODevice::WriteOnly) || file.write(feed + "</weeklyevents>\n") < 0)
        giveUp(QStringLiteral("the feed could not be written"));
    return file.fileName();
}

void report(const char* calendar, const std::vector<Join>& joins) {
    std::map<int, double> week;
    for (int timed : timedWeeks) {
        std::vector<double> values;
        for (const Join& one : joins) values.push_back(one.weekMs[size_t(timed - 1)]);
        week[timed] = median(values);
    }
    std::vector<double> seconds, waits, waited;
    for (const Join& one : joins) {
        seconds.push_back(one.seconds);
        waits.push_back(one.waits);
        waited.push_back(one.waitedMs / 1000);
    }
    std::printf("%-9s %9.1f %9.1f %9.1f %9.1f %9.1f %12.0f %9.1f\n", calendar, week[1], week[2],
                week[52], week[520], median(seconds), median(waits), median(waited));
    std::printf("  week 1 / week 2: %.2f, week 52 / week 2: %.2f\n", week[1] / week[2],
                week[52] / week[2]);
    std::printf("  week 520 / week 2: %.2f (target: at most 1.5)\n", week[520] / week[2]);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWebEngineProcess(true);
    // The headless platform's notes on every window change would bury the figures.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication application(argc, argv);
    const int joins = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("joined.txt"));

    SystemClock clock;
    CalendarServer demo(clock);
    demo.start();
    FeedCalendar feed({writeFeed(folder),
                       {QTimeZone::utc(), QTimeZone::utc()},
                       folder.filePath(QStringLiteral("cache"))},
                      clock);
    if (!feed.read().error.isEmpty()) giveUp(QStringLiteral("the feed did not read"));
    CalendarServer feedServer(clock, feed);
    feedServer.start();

    std::vector<Join> demoJoins, feedJoins;
    for (int j = 0; j < joins; ++j) { // in turn, so that other work on the machine hits both
        demoJoins.push_back(join(QUrl(demo.url()), fileName));
        feedJoins.push_back(join(QUrl(feedServer.url()), fileName));
    }
    std::printf("%d-week join in the week window on the real browser, median of %d joins\n",
                weeksInJoin, joins);
    std::printf("%-9s %9s %9s %9s %9s %9s %12s %9s\n", "calendar", "week 1", "week 2", "week 52",
                "week 520", "join s", "guard waits", "waited s");
    std::printf("%-9s %9s %9s %9s %9s\n", "", "ms", "ms", "ms", "ms");
    report("demo", demoJoins);
    report("feed", feedJoins);
    return 0;
}
