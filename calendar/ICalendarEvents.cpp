#include "calendar/ICalendarEvents.h"

#include "calendar/FeedTime.h"

#include <algorithm>
#include <set>

namespace newsbell {

namespace {

constexpr qint64 secondsPerDay = 86400;
// Instances of one rule looked at per week; a rule every second would otherwise give hundreds of
// thousands of rows per week.
constexpr int stepsPerWeek = 50000;

qint64 dayStart(QDate date) {
    return plainSeconds(date, QTime(0, 0));
}

bool contains(const std::vector<qint64>& sorted, qint64 key) {
    return std::binary_search(sorted.begin(), sorted.end(), key);
}

// Seconds of one step of a rule that repeats within the day; 0 for the others.
qint64 stepWithinTheDay(const icalrecurrencetype& rule) {
    const qint64 interval = std::max<qint64>(1, rule.interval);
    switch (rule.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        return interval;
    case ICAL_MINUTELY_RECURRENCE:
        return 60 * interval;
    case ICAL_HOURLY_RECURRENCE:
        return 3600 * interval;
    default:
        return 0;
    }
}

// Whether the rule has no BY... parts: its instances are then its start and whole steps on.
bool onlySteps(const icalrecurrencetype& rule) {
    for (const short* part :
         {rule.by_second, rule.by_minute, rule.by_hour, rule.by_day, rule.by_month_day,
          rule.by_year_day, rule.by_week_no, rule.by_month, rule.by_set_pos})
        if (part[0] != ICAL_RECURRENCE_ARRAY_MAX) return false;
    return true;
}

} // namespace

qint64 instanceKey(const EventTime& time, const QTimeZone& local) {
    switch (time.clock.kind) {
    case EventClock::Utc:
    case EventClock::Days:
        return time.wall;
    case EventClock::Zone:
        return momentOfWallClock(time.clock.zone, time.wall);
    case EventClock::Floating:
        break;
    }
    return momentOfWallClock(local, time.wall);
}

icaltimetype icalFields(qint64 wall, bool days) {
    const WallClock clock = plainClock(wall);
    icaltimetype fields = icaltime_null_time();
    fields.year = clock.date.year();
    fields.month = clock.date.month();
    fields.day = clock.date.day();
    fields.is_date = days ? 1 : 0;
    if (!days) {
        fields.hour = clock.time.hour();
        fields.minute = clock.time.minute();
        fields.second = clock.time.second();
    }
    return fields;
}

std::optional<qint64> wallOfFields(const icaltimetype& fields) {
    const QDate date(fields.year, fields.month, fields.day);
    // A leap second is read as the second before it.
    const QTime time(fields.hour, fields.minute, std::min(fields.second, 59));
    if (fields.year < 1 || !date.isValid() || (!fields.is_date && !time.isValid()))
        return std::nullopt;
    return plainSeconds(date, fields.is_date ? QTime(0, 0) : time);
}

bool forEachInstance(icalrecurrencetype rule, qint64 start, bool days, qint64 from, qint64 to,
                     int maxSteps, const std::function<bool(qint64)>& visit) {
    // libical's jump ahead is only right for daily and longer rules (it loses the rhythm of an
    // hourly one). A rule within the day that only steps starts over at its last step before
    // from; one with BY... parts is followed from its start, as far as maxSteps.
    const bool ahead = rule.count == 0 && from > start;
    const qint64 step = stepWithinTheDay(rule);
    if (ahead && step > 0 && onlySteps(rule)) start += (from - start) / step * step;
    icalrecur_iterator* iterator = icalrecur_iterator_new(rule, icalFields(start, days));
    if (!iterator) return true;
    bool inWindow = true;
    if (ahead && step == 0)
        inWindow = icalrecur_iterator_set_start(iterator, icalFields(from, days)) != 0;
    int steps = 0;
    for (; inWindow && steps < maxSteps; ++steps) {
        const icaltimetype next = icalrecur_iterator_next(iterator);
        if (icaltime_is_null_time(next)) break;
        const std::optional<qint64> wall = wallOfFields(next);
        if (!wall || *wall >= to) break;
        if (*wall >= from && !visit(*wall)) break;
    }
    icalrecur_iterator_free(iterator);
    return steps < maxSteps;
}

void addTimedEntry(const FeedEntry& cells, qint64 moment, const QTimeZone& local,
                   std::vector<FeedEntry>& out) {
    const WallClock clock = wallClockAt(local, moment);
    FeedEntry& entry = out.emplace_back(cells);
    entry.timed = true;
    entry.moment = moment;
    entry.row.date = clock.date;
    entry.row.time = clockText(clock.time);
}

void addDayEntries(const FeedEntry& cells, QDate start, qint64 days, QDate first, QDate last,
                   std::vector<FeedEntry>& out) {
    const QDate from = std::max(start, first);
    const QDate to = std::min(start.addDays(days - 1), last);
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        FeedEntry& entry = out.emplace_back(cells);
        entry.row.date = day;
    }
}

void ExpandedEvents::addEntries(QDate first, QDate last, std::vector<FeedEntry>& out) const {
    // The same for every timed event, so worked out once.
    const Window asked{first, last, momentOfWallClock(local_, dayStart(first)),
                       momentOfWallClock(local_, dayStart(last.addDays(1)))};
    for (const ExpandedEvent& event : events_) addEvent(event, asked, out);
}

void ExpandedEvents::addEvent(const ExpandedEvent& event, const Window& asked,
                              std::vector<FeedEntry>& out) const {
    const bool days = event.start.clock.kind == EventClock::Days;
    const QDate first = asked.first, last = asked.last;
    // The keys of the instances that give rows in first..last.
    const qint64 from = days ? dayStart(first) - (event.days - 1) * secondsPerDay : asked.start;
    const qint64 to = days ? dayStart(last.addDays(1)) : asked.end;
    std::set<qint64> seen;
    // Whether to go on: an event gives at most mostInstancesPerWeek instances a week.
    auto add = [&](qint64 key) {
        if (key < from || key >= to || contains(event.excluded, key) || !seen.insert(key).second)
            return true;
        if (days)
            addDayEntries(event.cells, plainClock(key).date, event.days, first, last, out);
        else
            addTimedEntry(event.cells, key, local_, out);
        return seen.size() < size_t(mostInstancesPerWeek);
    };
    for (auto it = std::lower_bound(event.known.begin(), event.known.end(), from);
         it != event.known.end() && *it < to; ++it)
        if (!add(*it)) return;
    // Wall clocks differ from the local one by less than two days.
    const qint64 wallFrom = days ? from : dayStart(first) - 2 * secondsPerDay;
    const qint64 wallTo = days ? to : dayStart(last.addDays(1)) + 2 * secondsPerDay;
    for (const OpenRule& open : event.rules) {
        if (seen.size() >= size_t(mostInstancesPerWeek)) return;
        forEachInstance(open.rule, event.start.wall, days, wallFrom, wallTo, stepsPerWeek,
                        [&](qint64 wall) {
                            const qint64 key = instanceKey({event.start.clock, wall}, local_);
                            return open.lastMoment && key > *open.lastMoment ? true : add(key);
                        });
    }
}

} // namespace newsbell
