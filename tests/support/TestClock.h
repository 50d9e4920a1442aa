#pragma once

#include "base/Clock.h"

#include <QDateTime>
#include <chrono>
#include <mutex>

namespace newsbell::testing {

// A clock that stands still until the test sets or advances it. The calendar service reads it
// on its own thread while a test moves it, so every reading and change holds a lock.
class TestClock final : public Clock {
public:
    explicit TestClock(QDateTime start) : moment_(std::move(start)) {}

    QDateTime now() const override;
    void set(const QDateTime& moment);
    // Another time of the same day.
    void setTimeOfDay(QTime time);
    void advance(std::chrono::seconds by);

private:
    mutable std::mutex mutex_;
    QDateTime moment_;
};

} // namespace newsbell::testing
