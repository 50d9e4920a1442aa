#pragma once

#include "base/Clock.h"

#include <QDateTime>
#include <chrono>
#include <mutex>

namespace newsbell::testing {

// A clock that stands still until the test sets or advances it. The calendar service reads it
// on its own thread while a test moves it, so every reading and change holds a lock. Its steady
// count moves on by a step at every reading (none unless the test sets one), so that work timed
// by it seems to take that long between two readings.
class TestClock final : public Clock {
public:
    explicit TestClock(QDateTime start) : moment_(std::move(start)) {}

    QDateTime now() const override;
    void set(const QDateTime& moment);
    // Another time of the same day.
    void setTimeOfDay(QTime time);
    void advance(std::chrono::seconds by);
    qint64 steadyMilliseconds() const override;
    void setSteadyStep(qint64 milliseconds);

private:
    mutable std::mutex mutex_;
    QDateTime moment_;
    qint64 step_ = 0;
    mutable qint64 steady_ = 0;
};

} // namespace newsbell::testing
