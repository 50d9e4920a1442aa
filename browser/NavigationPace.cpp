#include "browser/NavigationPace.h"

namespace newsbell {

void NavigationPace::started(TimePoint at) {
    recent_.push_back(at);
    if (recent_.size() > limit_) recent_.pop_front();
}

std::chrono::milliseconds NavigationPace::delay(TimePoint now) const {
    if (recent_.size() < limit_) return {};
    const auto left = recent_.front() + window_ - now;
    if (left < decltype(left)::zero()) return {};
    // The browser lets it through only once the window is more than over.
    return std::chrono::duration_cast<std::chrono::milliseconds>(left) +
           std::chrono::milliseconds(1);
}

} // namespace newsbell
