// The week window's cost per week along a ten-year join (520 weeks): extraction into the table,
// the file rewritten, the memo brought up to date, with a browser that serves every week's page
// from memory. Weeks 1, 2, 52 and 520 are timed in each of several joins and the medians shown,
// with the part that only writes the file's bytes measured apart (the same bytes written to the
// same file right after). Prints the ratios of week 520 to weeks 1 and 2 beyond the writing.
//   week_join_bench [joins]
#include "bench/Measures.h"
#include "bench/core/GeneratedPage.h"
#include "core/TableTextFile.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "weekwindow/TForm2.h"
#include "widgets/EventGrid.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QPushButton>
#include <QTemporaryDir>
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
constexpr int eventsPerWeek = 60;
const std::vector<int> timedWeeks{1, 2, 52, 520};

using Clock = std::chrono::steady_clock;

struct WeekTimes {
    double week = 0;    // the whole download-complete handler
    double writing = 0; // writing the file's bytes alone
};

// The best of a few writes of bytes to fileName: the byte-writing part of a week.
double writingTime(const QString& fileName, const std::string& bytes) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        writeFileAtomically(fileName, bytes);
        best = std::min(best, milliseconds(Clock::now() - start));
    }
    return best;
}

// One join of weeksInJoin weeks in a fresh, shown window; the times of the timed weeks.
std::map<int, WeekTimes> join(const std::string& page, const QString& fileName) {
    FakeDesktop desktop;
    ErrorReporter errors(desktop.messages);
    auto* browser = new FakeBrowser;
    browser->page = page;
    TForm2 form([browser] { return browser; }, desktop.desktop(), errors,
                QUrl(QStringLiteral("http://127.0.0.1:9/e_cal.php")));
    form.show();
    browser->finishLoad();
    const QDate first(2010, 5, 24);
    form.MonthCalendar1->setSelectedDate(first);
    form.MonthCalendar2->setSelectedDate(first.addDays(7 * (weeksInJoin - 1)));
    desktop.files.answers = {fileName};
    form.Button1->click();

    std::map<int, WeekTimes> times;
    for (int week = 1; week <= weeksInJoin; ++week) {
        const auto start = Clock::now();
        browser->finishLoad();
        const double spent = milliseconds(Clock::now() - start);
        QApplication::processEvents(); // what the window draws between weeks
        if (std::find(timedWeeks.begin(), timedWeeks.end(), week) == timedWeeks.end()) continue;
        times[week] = {spent, writingTime(fileName, form.run().fileBytes())};
    }
    if (form.ProcessRunning() || desktop.messages.shown.size() != 1 ||
        form.StringGrid1->table().rowCount() != weeksInJoin * eventsPerWeek + 1) {
        std::fprintf(stderr, "the join did not end as it should\n");
        std::exit(1);
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The headless platform's notes on every window change would bury the figures.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication application(argc, argv);
    const int joins = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::string page = generatedCalendarPage(eventsPerWeek);
    QTemporaryDir folder;

    std::map<int, std::vector<double>> weekTimes, writingTimes;
    for (int j = 0; j < joins; ++j)
        for (const auto& [week, times] :
             join(page, folder.filePath(QStringLiteral("joined.txt")))) {
            weekTimes[week].push_back(times.week);
            writingTimes[week].push_back(times.writing);
        }

    std::printf("%d-week join, %d events a week, median of %d joins\n", weeksInJoin, eventsPerWeek,
                joins);
    std::printf("%6s %12s %14s %14s\n", "week", "week ms", "writing ms", "beyond ms");
    std::map<int, double> beyond;
    for (int week : timedWeeks) {
        const double total = median(weekTimes[week]);
        const double writing = median(writingTimes[week]);
        beyond[week] = std::max(0.0, total - writing);
        std::printf("%6d %12.2f %14.2f %14.2f\n", week, total, writing, beyond[week]);
    }
    const double last = median(weekTimes[weeksInJoin]);
    std::printf("week %d: %.2f ms (target: under 20)\n", weeksInJoin, last);
    std::printf("beyond the writing, week %d / week 1: %.2f (target: at most 1.5)\n", weeksInJoin,
                beyond[weeksInJoin] / beyond[1]);
    // The first week of a fresh window also lays the table out and draws it for the first time.
    std::printf("beyond the writing, week %d / week 2: %.2f\n", weeksInJoin,
                beyond[weeksInJoin] / beyond[2]);
    return 0;
}
