#pragma once

#include <chrono>
#include <cstddef>
#include <deque>

namespace newsbell {

// Chromium guards against pages that navigate in a loop. A frame counts the navigations its
// documents start (a script setting the location, a link; not the host's own loads) in windows
// of 10 s: the first begins when the frame is made, the next with the first navigation after a
// window is over. Past 200 in one window it drops them, without a word to the host, so that
// their loads never come. A page that starts at most limit within any window is never stopped:
// this notes when each one started and tells how long the next must wait for that. A page
// slower than the guard never waits.
class NavigationPace {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    NavigationPace(size_t limit, std::chrono::milliseconds window)
        : limit_(limit), window_(window) {}

    // A navigation of the page's own started at (or had started by then).
    void started(TimePoint at);
    // How long from now until a navigation the page starts would be let through.
    std::chrono::milliseconds delay(TimePoint now) const;

private:
    size_t limit_;
    std::chrono::milliseconds window_;
    std::deque<TimePoint> recent_; // the last limit_ starts, oldest first
};

} // namespace newsbell
