#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

namespace newsbell {

// The fade's sense of time: a monotonic clock and a wait that a stop request cuts short.
class FadeClock {
public:
    using time_point = std::chrono::steady_clock::time_point;

    virtual ~FadeClock() = default;
    virtual time_point now() const = 0;
    // Returns at the deadline, or as soon as a stop is requested; sleeps meanwhile.
    virtual void waitUntil(time_point deadline, std::stop_token stop) const = 0;
};

// The steady clock of the machine.
std::shared_ptr<const FadeClock> steadyFadeClock();

// One fade, fixed when it starts.
struct FadePlan {
    bool fadeIn = true;
    int alphaEnd = 180;
    int step = 2;                          // opacity change per step; 0 jumps to the end
    std::chrono::milliseconds stepTime{0}; // least length of a step
};

// Runs one fade on a thread of its own. The thread only computes opacities and waits: it
// hands every opacity to `apply` and, as its last act, calls `ended`; both run on the fade's
// thread, so they must pass their news on to the user-interface thread themselves.
class TFadeThread {
public:
    TFadeThread(const FadePlan& plan, std::shared_ptr<const FadeClock> clock,
                std::function<void(int alpha)> apply, std::function<void()> ended);
    TFadeThread(const TFadeThread&) = delete;
    TFadeThread& operator=(const TFadeThread&) = delete;
    // Stops the fade and waits for its thread.
    ~TFadeThread() = default;

    const FadePlan& plan() const { return plan_; }
    // Asks the fade to stop before its next step; it does not apply its end value then.
    void Terminate() { thread_.request_stop(); }
    bool Terminated() const { return thread_.get_stop_token().stop_requested(); }

private:
    void Execute(std::stop_token stop);
    // Applies alpha and waits out the rest of the step.
    void runStep(int alpha, std::stop_token stop);

    const FadePlan plan_;
    const std::shared_ptr<const FadeClock> clock_;
    const std::function<void(int)> apply_;
    const std::function<void()> ended_;
    std::jthread thread_; // last: starts once everything it reads is in place
};

} // namespace newsbell
