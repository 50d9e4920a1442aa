#include "tests/support/TestClock.h"

namespace newsbell::testing {

QDateTime TestClock::now() const {
    const std::lock_guard lock(mutex_);
    return moment_;
}

void TestClock::set(const QDateTime& moment) {
    const std::lock_guard lock(mutex_);
    moment_ = moment;
}

void TestClock::setTimeOfDay(QTime time) {
    const std::lock_guard lock(mutex_);
    moment_.setTime(time);
}

void TestClock::advance(std::chrono::seconds by) {
    const std::lock_guard lock(mutex_);
    moment_ = moment_.addSecs(by.count());
}

qint64 TestClock::steadyMilliseconds() const {
    const std::lock_guard lock(mutex_);
    return steady_ += step_;
}

void TestClock::setSteadyStep(qint64 milliseconds) {
    const std::lock_guard lock(mutex_);
    step_ = milliseconds;
}

} // namespace newsbell::testing
