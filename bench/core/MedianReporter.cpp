#include "bench/core/MedianReporter.h"

#include <cstdio>

namespace newsbell {

void MedianReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
        if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
            seconds_[run.run_name.str()] = run.GetAdjustedCPUTime();
}

std::optional<double> MedianReporter::seconds(const std::string& name) const {
    const auto found = seconds_.find(name);
    if (found == seconds_.end()) return std::nullopt;
    return found->second;
}

void runShuffledRepetitions(int argc, char** argv, MedianReporter& reporter) {
    std::vector<char*> args = {argv[0]};
    for (const char* flag :
         {"--benchmark_repetitions=9", "--benchmark_enable_random_interleaving=true",
          "--benchmark_report_aggregates_only=true"})
        args.push_back(const_cast<char*>(flag));
    args.insert(args.end(), argv + 1, argv + argc);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}

void printRatio(const MedianReporter& reporter, const std::string& what,
                const std::string& numerator, const std::string& denominator, const char* target) {
    const std::optional<double> top = reporter.seconds(numerator);
    const std::optional<double> bottom = reporter.seconds(denominator);
    if (!top || !bottom) return;
    std::printf("%s: %.3f (target: %s)\n", what.c_str(), *top / *bottom, target);
}

} // namespace newsbell
