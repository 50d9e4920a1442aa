#pragma once

#include "base/Clock.h"

#include <chrono>
#include <optional>

namespace newsbell {

// Lets a window answer (paint, timer ticks, clicks) during a long piece of work, but at most
// once per interval rather than at every step: each answer repaints what changed, and with the
// browser in the window every repaint composites the whole window, which costs more than
// reading hundreds of rows. Work shorter than the interval never answers in between.
class TimedYield {
public:
    static constexpr std::chrono::milliseconds interval{16}; // about one frame

    explicit TimedYield(const Clock& clock) : clock_(&clock) {}

    // One step of the work; the first call starts the count.
    void operator()();

private:
    const Clock* clock_;
    std::optional<qint64> last_; // the start of the work, or the last answer
};

} // namespace newsbell
