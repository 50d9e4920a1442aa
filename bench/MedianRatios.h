#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace newsbell::bench {

// A ratio to print at the end: the CPU time of one benchmark over that of its baseline.
struct Ratio {
    std::string label;
    std::string benchmark;
    std::string baseline;
    double target; // the ratio aimed at, at most
};

// Shows the usual table, then each ratio of CPU times (CPU time, so that other work on the
// machine does not tilt it); with repetitions the medians stand for their benchmarks.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<Ratio> ratios) : ratios_(std::move(ratios)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times_[run.run_name.str()] = run.GetAdjustedCPUTime();
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const Ratio& ratio : ratios_) {
            const auto measured = times_.find(ratio.benchmark), base = times_.find(ratio.baseline);
            if (measured == times_.end() || base == times_.end()) continue;
            std::printf("%s: %.2f (target: at most %g)\n", ratio.label.c_str(),
                        measured->second / base->second, ratio.target);
        }
    }

private:
    std::vector<Ratio> ratios_;
    std::map<std::string, double> times_;
};

// Runs the benchmarks with repetitions in shuffled order, so that a burst of other work on the
// machine falls on both sides of a ratio, and prints the ratios of the medians. Flags given on
// the command line win.
inline int runWithRatios(int argc, char** argv, int repetitions, std::vector<Ratio> ratios) {
    const std::string repeat = "--benchmark_repetitions=" + std::to_string(repetitions);
    std::vector<char*> args = {argv[0], const_cast<char*>(repeat.c_str())};
    for (const char* flag :
         {"--benchmark_enable_random_interleaving=true", "--benchmark_report_aggregates_only=true"})
        args.push_back(const_cast<char*>(flag));
    args.insert(args.end(), argv + 1, argv + argc);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter(std::move(ratios));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace newsbell::bench
