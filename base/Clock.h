#pragma once

#include <QDateTime>

namespace newsbell {

// "Now" comes through here so that tests can set the time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace newsbell
