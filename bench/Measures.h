#pragma once

// What the benchmark programs that time their own runs share.

#include <algorithm>
#include <chrono>
#include <vector>

namespace newsbell::bench {

// The middle value: a burst of other work on the machine moves it less than it moves a mean.
inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double milliseconds(std::chrono::steady_clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

} // namespace newsbell::bench
