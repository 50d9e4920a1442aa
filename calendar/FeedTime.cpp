#include "calendar/FeedTime.h"

#include <QDateTime>
#include <algorithm>
#include <array>
#include <limits>

namespace newsbell {

namespace {

constexpr qint64 secondsPerDay = 86400;
constexpr qint64 julianDayOf1970 = 2440588;

// The offset of a zone at a moment. Conversions come in runs within one offset's span (months
// between two switches), so the spans last looked up are kept, per thread.
int offsetAt(const QTimeZone& zone, qint64 moment) {
    struct Span {
        QTimeZone zone;
        qint64 start = 1; // empty until filled
        qint64 end = 0;
        int offset = 0;
    };
    thread_local std::array<Span, 4> spans;
    thread_local size_t next = 0;
    for (const Span& span : spans)
        if (moment >= span.start && moment < span.end && span.zone == zone) return span.offset;
    const QDateTime at = QDateTime::fromSecsSinceEpoch(moment, Qt::UTC);
    Span& span = spans[next++ % spans.size()];
    span = {zone, 1, 0, zone.offsetFromUtc(at)};
    const QTimeZone::OffsetData before = zone.previousTransition(at.addSecs(1));
    const QTimeZone::OffsetData after = zone.nextTransition(at);
    const qint64 start = before.atUtc.isValid() ? before.atUtc.toSecsSinceEpoch()
                                                : std::numeric_limits<qint64>::min();
    const qint64 end =
        after.atUtc.isValid() ? after.atUtc.toSecsSinceEpoch() : std::numeric_limits<qint64>::max();
    if (start <= moment && moment < end) {
        span.start = start;
        span.end = end;
    }
    return span.offset;
}

qint64 floorDivide(qint64 value, qint64 divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

} // namespace

QTimeZone zoneNamed(const QString& name, bool windowsNames) {
    const QByteArray id = name.toUtf8();
    const bool offsetForm = id.startsWith("UTC+") || id.startsWith("UTC-");
    // Qt takes an empty name for the system's zone and looks names up as paths.
    if (!id.isEmpty() && !offsetForm && !id.contains("..") && !id.startsWith('/')) {
        QTimeZone zone(id);
        if (zone.isValid()) return zone;
    }
    if (windowsNames) {
        const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(id);
        if (!iana.isEmpty()) return QTimeZone(iana);
    }
    return {};
}

qint64 plainSeconds(QDate date, QTime time) {
    return (date.toJulianDay() - julianDayOf1970) * secondsPerDay +
           time.msecsSinceStartOfDay() / 1000;
}

WallClock plainClock(qint64 seconds) {
    const qint64 day = floorDivide(seconds, secondsPerDay);
    return {QDate::fromJulianDay(day + julianDayOf1970),
            QTime::fromMSecsSinceStartOfDay(int(seconds - day * secondsPerDay) * 1000)};
}

qint64 momentOfWallClock(const QTimeZone& zone, QDate date, QTime time) {
    return momentOfWallClock(zone, plainSeconds(date, time));
}

qint64 momentOfWallClock(const QTimeZone& zone, qint64 wall) {
    // Offsets never reach a day, so the offsets a day before and after are all that can apply.
    std::array<int, 3> offsets = {offsetAt(zone, wall - secondsPerDay), offsetAt(zone, wall),
                                  offsetAt(zone, wall + secondsPerDay)};
    bool found = false;
    qint64 first = 0;
    for (size_t i = 0; i < offsets.size(); ++i) {
        const int offset = offsets[i];
        if (std::find(offsets.begin(), offsets.begin() + i, offset) != offsets.begin() + i)
            continue;
        const qint64 moment = wall - offset;
        if (offsetAt(zone, moment) != offset || (found && moment >= first)) continue;
        first = moment;
        found = true;
    }
    if (found) return first;
    // In a gap: the earliest candidate lies before the switch, where the old offset holds.
    const int largest = *std::max_element(offsets.begin(), offsets.end());
    return wall - offsetAt(zone, wall - largest);
}

WallClock wallClockAt(const QTimeZone& zone, qint64 moment) {
    return plainClock(moment + offsetAt(zone, moment));
}

} // namespace newsbell
