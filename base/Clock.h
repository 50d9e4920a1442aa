#pragma once

#include <QDateTime>
#include <chrono>

namespace newsbell {

// "Now" comes through here so that tests can set the time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds on a count that only goes forward, for measuring spans: a change of the wall
    // clock must neither stall nor hurry them. Clocks set by hand count on now().
    virtual qint64 steadyMilliseconds() const { return now().toMSecsSinceEpoch(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 steadyMilliseconds() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

} // namespace newsbell
