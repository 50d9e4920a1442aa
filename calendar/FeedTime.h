#pragma once

#include <QDate>
#include <QTime>
#include <QTimeZone>

namespace newsbell {

// The zone of a tz database name ("Europe/Berlin"); with windowsNames also a Windows zone name
// ("W. Europe Standard Time") through Qt's mapping table. An invalid zone when the name is
// neither; offsets that Qt would also take for zones ("UTC+03:00") are no names.
QTimeZone zoneNamed(const QString& name, bool windowsNames = false);

// Seconds since 1970-01-01 00:00 UTC of a wall-clock time of zone. A time the zone skips (the
// hour lost in spring) is read with the offset in force before the skip, and a time the zone
// shows twice (the hour repeated in autumn) is its first occurrence.
qint64 momentOfWallClock(const QTimeZone& zone, QDate date, QTime time);
// The same for a wall-clock time given as plainSeconds().
qint64 momentOfWallClock(const QTimeZone& zone, qint64 wall);

struct WallClock {
    QDate date;
    QTime time;
};

// What the clocks of zone show at moment.
WallClock wallClockAt(const QTimeZone& zone, qint64 moment);

// Seconds since 1970-01-01 00:00 of a date and time on a clock that never changes (UTC, or the
// wall clock taken as such), and back.
qint64 plainSeconds(QDate date, QTime time);
WallClock plainClock(qint64 seconds);

} // namespace newsbell
