#include "alert/FadeThread.h"

#include <condition_variable>
#include <mutex>

namespace newsbell {

namespace {

class SteadyFadeClock final : public FadeClock {
public:
    time_point now() const override { return std::chrono::steady_clock::now(); }

    void waitUntil(time_point deadline, std::stop_token stop) const override {
        std::mutex mutex;
        std::condition_variable_any wakeUp;
        std::unique_lock lock(mutex);
        wakeUp.wait_until(lock, stop, deadline, [] { return false; });
    }
};

} // namespace

std::shared_ptr<const FadeClock> steadyFadeClock() {
    static const auto clock = std::make_shared<const SteadyFadeClock>();
    return clock;
}

TFadeThread::TFadeThread(const FadePlan& plan, std::shared_ptr<const FadeClock> clock,
                         std::function<void(int alpha)> apply, std::function<void()> ended)
    : plan_(plan), clock_(std::move(clock)), apply_(std::move(apply)), ended_(std::move(ended)),
      thread_([this](std::stop_token stop) { Execute(stop); }) {}

void TFadeThread::runStep(int alpha, std::stop_token stop) {
    // Measured from the step's own start, so a late wake-up never shortens the next step.
    const FadeClock::time_point start = clock_->now();
    apply_(alpha);
    if (plan_.stepTime > std::chrono::milliseconds::zero())
        clock_->waitUntil(start + plan_.stepTime, stop);
}

void TFadeThread::Execute(std::stop_token stop) {
    // A step of 0 would never arrive: such a fade goes straight to its end value.
    const int step = plan_.step;
    if (plan_.fadeIn) {
        apply_(0);
        for (int alpha = 0; step > 0 && alpha < plan_.alphaEnd && !stop.stop_requested();
             alpha += step)
            runStep(alpha, stop);
        if (!stop.stop_requested()) apply_(plan_.alphaEnd);
    } else {
        for (int alpha = plan_.alphaEnd; step > 0 && alpha > 0 && !stop.stop_requested();
             alpha -= step)
            runStep(alpha, stop);
        if (!stop.stop_requested()) apply_(0);
    }
    ended_();
}

} // namespace newsbell
