#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace newsbell {

// Shows the usual table and keeps each benchmark's CPU time (CPU time, so that other work on
// the machine does not tilt a ratio); with repetitions, the median stands for its benchmark.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    std::optional<double> seconds(const std::string& name) const;

private:
    std::map<std::string, double> seconds_;
};

// Runs the benchmarks in nine repetitions in shuffled order, so that a burst of other work on
// the machine falls on both sides of a ratio. Flags given on the command line win.
void runShuffledRepetitions(int argc, char** argv, MedianReporter& reporter);

// Prints "<what>: <numerator / denominator> (target: <target>)" when both were run.
void printRatio(const MedianReporter& reporter, const std::string& what,
                const std::string& numerator, const std::string& denominator, const char* target);

} // namespace newsbell
