// One alert pass over the table of a 5,000-event page (examination and composition) against
// the extraction of the same page, in one run. Prints the pass's time as a share of the
// extraction's (target: at most 0.1, the pass adds at most 10% to what every pass extracts),
// and for scale the share when every one of the day's 700 rows is due and composed.
//   alert_pass_bench [benchmark flags]
#include "bench/RatioRuns.h"
#include "bench/core/GeneratedPage.h"
#include "core/AlertPass.h"
#include "core/Extraction.h"

#include <benchmark/benchmark.h>

using namespace newsbell;

namespace {

constexpr int events = 5000;
const QDate today(2010, 5, 26); // the generated page's Wednesday, about 700 events

const std::string& page() {
    static const std::string text = generatedCalendarPage(events);
    return text;
}

const EventTable& table() {
    static const EventTable extracted = [] {
        EventTable t;
        t.writeTitles();
        extractEvents(page(), t, ExtractionOptions(generatedPageYear));
        return t;
    }();
    return extracted;
}

void BM_Extraction(benchmark::State& state) {
    EventTable t;
    t.writeTitles();
    ExtractionOptions options(generatedPageYear);
    options.processEvents = [] {}; // the window's per-event yield, as a call that does nothing
    for (auto _ : state) {
        extractEvents(page(), t, options);
        benchmark::DoNotOptimize(t.rowCount());
    }
}

// The pass as it runs every minute: the default windows at midday, a few dozen rows due.
void BM_AlertPass(benchmark::State& state) {
    int due = 0;
    for (auto _ : state) {
        due = 0;
        runAlertPass(table(), {}, today, QTime(12, 5), [&due](const DueAlert&) { ++due; });
        benchmark::DoNotOptimize(due);
    }
    state.counters["due"] = due;
}

// The most a pass can compose: a lead of 23:59 at midnight makes every row of the day due.
void BM_AlertPassAllDue(benchmark::State& state) {
    AlertSettings settings;
    settings.leadHours = "23";
    settings.leadMinutes = "59";
    int due = 0;
    for (auto _ : state) {
        due = 0;
        runAlertPass(table(), settings, today, QTime(0, 0), [&due](const DueAlert&) { ++due; });
        benchmark::DoNotOptimize(due);
    }
    state.counters["due"] = due;
}

BENCHMARK(BM_Extraction);
BENCHMARK(BM_AlertPass);
BENCHMARK(BM_AlertPassAllDue);

} // namespace

int main(int argc, char** argv) {
    bench::initializeShuffledRepetitions(argc, argv);
    bench::MedianTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    bench::printRatio(times, "alert pass/extraction ratio, 5000 events, default windows",
                      "BM_AlertPass", "BM_Extraction", "at most 0.1");
    bench::printRatio(times, "alert pass/extraction ratio, every row of the day due",
                      "BM_AlertPassAllDue", "BM_Extraction", "none, the most a pass can compose");
    benchmark::Shutdown();
}
