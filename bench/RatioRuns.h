#pragma once

// What the benchmark programs that print ratios share: how they run and what they keep.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace newsbell::bench {

// Nine repetitions in shuffled order, so that a burst of other work on the machine falls on
// both sides of a ratio, and only their aggregates shown. Flags given on the command line win.
inline void initializeShuffledRepetitions(int argc, char** argv) {
    std::vector<char*> args = {argv[0]};
    for (const char* flag :
         {"--benchmark_repetitions=9", "--benchmark_enable_random_interleaving=true",
          "--benchmark_report_aggregates_only=true"})
        args.push_back(const_cast<char*>(flag));
    args.insert(args.end(), argv + 1, argv + argc);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
}

// Shows the usual table and keeps each benchmark's processor time per iteration (processor
// time, as the machine may be busy with other work); with repetitions their median stands for
// the benchmark.
class MedianTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                seconds[run.run_name.str()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    // The time of one benchmark over another's, when both ran.
    std::optional<double> ratio(const std::string& numerator,
                                const std::string& denominator) const {
        const auto top = seconds.find(numerator);
        const auto bottom = seconds.find(denominator);
        if (top == seconds.end() || bottom == seconds.end()) return std::nullopt;
        return top->second / bottom->second;
    }

private:
    std::map<std::string, double> seconds;
};

// Prints "<what>: <numerator / denominator> (target: <target>)" when both ran.
inline void printRatio(const MedianTimes& times, const std::string& what,
                       const std::string& numerator, const std::string& denominator,
                       const char* target) {
    if (const auto value = times.ratio(numerator, denominator))
        std::printf("%s: %.3f (target: %s)\n", what.c_str(), *value, target);
}

} // namespace newsbell::bench
