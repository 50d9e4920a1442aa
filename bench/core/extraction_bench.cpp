// Extraction speed on generated pages of 50, 500 and 5,000 events, against a floor that only
// finds every event's date marker in one forward pass over the same text. Prints the ratios:
// for a table refilled again and again (the window's table), and for a fresh table each time
// (the export, --due-at and newsbell-extract fill one of their own).
//   extraction_bench [benchmark flags]
//   extraction_bench --write-page N FILE   writes the N-event page (for the lxml peer script)
#include "bench/RatioRuns.h"
#include "bench/core/GeneratedPage.h"
#include "core/Extraction.h"
#include "core/TextSearch.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <map>

using namespace newsbell;

namespace {

const std::string& page(int events) {
    static std::map<int, std::string> pages;
    auto [it, added] = pages.try_emplace(events);
    if (added) it->second = generatedCalendarPage(events);
    return it->second;
}

void BM_Extraction(benchmark::State& state) {
    const std::string& text = page(int(state.range(0)));
    EventTable table;
    table.writeTitles();
    ExtractionOptions options(generatedPageYear);
    options.processEvents = [] {}; // the window's per-event yield, as a call that does nothing
    for (auto _ : state) {
        extractEvents(text, table, options);
        benchmark::DoNotOptimize(table.rowCount());
    }
    if (table.rowCount() != state.range(0) + 1) state.SkipWithError("wrong number of rows");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_ExtractionFreshTable(benchmark::State& state) {
    const std::string& text = page(int(state.range(0)));
    for (auto _ : state) {
        // As the export and newsbell-extract make theirs.
        EventTable table;
        table.writeTitles();
        const ExtractionOptions options(2010);
        extractEvents(text, table, options);
        benchmark::DoNotOptimize(table.rowCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_Floor(benchmark::State& state) {
    const std::string& text = page(int(state.range(0)));
    for (auto _ : state) {
        int found = 0;
        for (size_t at = findText(text, "ec_td_date noWrap>"); at != std::string::npos;
             at = findText(text, "ec_td_date noWrap>", at + 18))
            ++found;
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

BENCHMARK(BM_Extraction)->Arg(50)->Arg(500)->Arg(5000);
BENCHMARK(BM_ExtractionFreshTable)->Arg(50)->Arg(500)->Arg(5000);
BENCHMARK(BM_Floor)->Arg(50)->Arg(500)->Arg(5000);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--write-page") {
        std::ofstream(argv[3], std::ios::binary) << page(std::atoi(argv[2]));
        return 0;
    }
    bench::initializeShuffledRepetitions(argc, argv);
    bench::MedianTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    // CPU time, so that other work on the machine does not tilt the ratio.
    for (const char* size : {"50", "500", "5000"}) {
        bench::printRatio(times, std::string("extraction/floor ratio, ") + size + " events",
                          std::string("BM_Extraction/") + size, std::string("BM_Floor/") + size,
                          "at most 3");
        bench::printRatio(
            times, std::string("extraction into a fresh table/floor ratio, ") + size + " events",
            std::string("BM_ExtractionFreshTable/") + size, std::string("BM_Floor/") + size,
            "at most 2");
    }
    benchmark::Shutdown();
}
