#include "calendar/ICalendarEvents.h"

#include "calendar/FeedTime.h"

#include <algorithm>
#include <bitset>
#include <limits>
#include <set>
#include <span>
#include <unordered_map>

namespace newsbell {

namespace {

constexpr qint64 secondsPerDay = 86400;
// Instances of one rule looked at per week; a rule every second would otherwise give hundreds of
// thousands of rows per week.
constexpr int stepsPerWeek = 50000;
// Days a rule within the day is counted through from its start to the week asked for, so that
// its COUNT can end it: far more than any feed's history.
constexpr qint64 mostCountedDays = 400000;

qint64 dayOf(qint64 wall) {
    return wall / secondsPerDay - (wall % secondsPerDay < 0 ? 1 : 0);
}

qint64 dayStart(QDate date) {
    return plainSeconds(date, QTime(0, 0));
}

bool contains(const std::vector<qint64>& sorted, qint64 key) {
    return std::binary_search(sorted.begin(), sorted.end(), key);
}

// The values of a BY... part, up to the mark that ends them.
template <size_t size> std::span<const short> values(const short (&part)[size]) {
    return {part, size_t(std::ranges::find(part, short(ICAL_RECURRENCE_ARRAY_MAX)) - part)};
}

bool allows(std::span<const short> part, int value) {
    return part.empty() || std::ranges::find(part, value) != part.end();
}

// Whether a day, counted from 1 or (when negative) from the end of days, is one of part's.
bool allowsCounted(std::span<const short> part, int day, int days) {
    return part.empty() || std::ranges::any_of(part, [&](short wanted) {
               return wanted > 0 ? wanted == day : days + 1 + wanted == day;
           });
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

// Seconds of one step of a daily or weekly rule without BY... parts; 0 for the others.
qint64 stepOfDays(const icalrecurrencetype& rule) {
    const qint64 interval = std::max<qint64>(1, rule.interval);
    if (!onlySteps(rule)) return 0;
    if (rule.freq == ICAL_DAILY_RECURRENCE) return secondsPerDay * interval;
    if (rule.freq == ICAL_WEEKLY_RECURRENCE) return 7 * secondsPerDay * interval;
    return 0;
}

// The wall time of UNTIL; none when the rule has none.
std::optional<qint64> untilOf(const icalrecurrencetype& rule) {
    return icaltime_is_null_time(rule.until) ? std::nullopt : wallOfFields(rule.until);
}

// A rule within the day keeps, of the times every INTERVAL steps from its start, those that its
// BY... parts allow: they only filter. Its instances are found here day by day; libical would
// try every second, and look for years for one that fits.
class StepsWithinTheDay {
public:
    StepsWithinTheDay(const icalrecurrencetype& rule, qint64 start)
        : rule_(rule), start_(start), step_(stepWithinTheDay(rule)), until_(untilOf(rule)),
          months_(values(rule.by_month)), monthDays_(values(rule.by_month_day)),
          yearDays_(values(rule.by_year_day)), weekdays_(values(rule.by_day)) {
        const auto hours = values(rule.by_hour), minutes = values(rule.by_minute),
                   seconds = values(rule.by_second);
        for (qint64 t = 0; t < secondsPerDay; ++t)
            times_[size_t(t)] = allows(hours, int(t / 3600)) && allows(minutes, int(t / 60 % 60)) &&
                                allows(seconds, int(t % 60));
        // Each step is a set of one time: a position other than the first or last leaves none.
        const auto positions = values(rule.by_set_pos);
        none_ = !positions.empty() && !allows(positions, 1) && !allows(positions, -1);
    }

    void forEach(qint64 from, qint64 to, const std::function<bool(qint64)>& visit) {
        if (none_) return;
        if (until_) to = std::min(to, *until_ + 1);
        // COUNT only ends the rule before to when it has fewer steps than there are till then.
        const bool counted = rule_.count > 0 && rule_.count <= (to - start_) / step_ + 1;
        qint64 day = dayOf(std::max(start_, counted ? start_ : from));
        const qint64 lastDay = dayOf(to - 1);
        if (counted && dayOf(from) - day > mostCountedDays) return;
        qint64 seen = 0;
        for (; day <= lastDay; ++day) {
            const qint64 begin = day * secondsPerDay;
            if (!dayFits(plainClock(begin).date)) continue;
            if (begin + secondsPerDay <= from) {
                seen += stepsFitting(firstStep(begin));
            } else {
                for (qint64 t = firstStep(begin); t < secondsPerDay; t += step_) {
                    if (counted && seen >= rule_.count) return;
                    if (!times_[size_t(t)]) continue;
                    ++seen;
                    if (begin + t >= to) return;
                    if (begin + t >= from && !visit(begin + t)) return;
                }
            }
            if (counted && seen >= rule_.count) return;
        }
    }

    // BYWEEKNO and BYDAY with a position belong to longer rules.
    static bool understood(const icalrecurrencetype& rule) {
        return values(rule.by_week_no).empty() &&
               std::ranges::none_of(values(rule.by_day), [](short day) {
                   return icalrecurrencetype_day_position(day) != 0;
               });
    }

private:
    bool dayFits(QDate date) const {
        const auto month = [&](short wanted) {
            return !icalrecurrencetype_month_is_leap(wanted) &&
                   icalrecurrencetype_month_month(wanted) == date.month();
        };
        // libical counts weekdays from Sunday as 1, Qt from Monday.
        const auto weekday = [&](short wanted) {
            return int(icalrecurrencetype_day_day_of_week(wanted)) == date.dayOfWeek() % 7 + 1;
        };
        return (months_.empty() || std::ranges::any_of(months_, month)) &&
               (weekdays_.empty() || std::ranges::any_of(weekdays_, weekday)) &&
               allowsCounted(monthDays_, date.day(), date.daysInMonth()) &&
               allowsCounted(yearDays_, date.dayOfYear(), date.daysInYear());
    }

    // Seconds after begin (a day's start) of the first step on or after it.
    qint64 firstStep(qint64 begin) const {
        if (begin <= start_) return start_ - begin;
        return start_ + (begin - start_ + step_ - 1) / step_ * step_ - begin;
    }

    // Steps of a whole day from first on that the time parts allow; the same for each first.
    qint64 stepsFitting(qint64 first) {
        const auto known = fitting_.find(first);
        if (known != fitting_.end()) return known->second;
        qint64 count = 0;
        for (qint64 t = first; t < secondsPerDay; t += step_) count += times_[size_t(t)];
        fitting_.emplace(first, count);
        return count;
    }

    const icalrecurrencetype& rule_;
    qint64 start_, step_;
    std::optional<qint64> until_;
    std::span<const short> months_, monthDays_, yearDays_, weekdays_;
    std::bitset<secondsPerDay> times_;
    bool none_ = false;
    std::unordered_map<qint64, qint64> fitting_;
};

// Instances of daily and longer rules, from libical.
bool libicalInstances(icalrecurrencetype rule, qint64 start, bool days, qint64 from, qint64 to,
                      int maxSteps, const std::function<bool(qint64)>& visit) {
    // libical looks for the next instance as far as UNTIL, so it is held to the window's end.
    const std::optional<qint64> until = untilOf(rule);
    if (!until || *until >= to) rule.until = icalFields(to - 1, days);
    if (from > start) {
        // Instances of a day hold at most one time for each of the time parts' values.
        qint64 perDay = 1;
        for (const std::span<const short> part :
             {values(rule.by_hour), values(rule.by_minute), values(rule.by_second)})
            perDay *= std::max<qint64>(1, qint64(part.size()));
        if (rule.count > 0 && rule.count > ((to - start) / secondsPerDay + 1) * perDay)
            rule.count = 0; // it cannot end before to
        if (const qint64 step = stepOfDays(rule)) {
            const qint64 skipped = (from - start) / step;
            if (rule.count > 0 && skipped >= rule.count) return true;
            if (rule.count > 0) rule.count -= int(skipped);
            start += skipped * step;
        }
    }
    icalrecur_iterator* iterator = icalrecur_iterator_new(rule, icalFields(start, days));
    if (!iterator) return true;
    // libical's own jump ahead, only for rules without COUNT.
    bool inWindow = true;
    if (from > start && rule.count == 0)
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

bool repeatsWithinTheDay(const icalrecurrencetype& rule) {
    return stepWithinTheDay(rule) > 0 || values(rule.by_hour).size() > 1 ||
           values(rule.by_minute).size() > 1 || values(rule.by_second).size() > 1;
}

bool ruleUnderstood(const icalrecurrencetype& rule, qint64 start, bool days) {
    if (stepWithinTheDay(rule) > 0) return StepsWithinTheDay::understood(rule);
    icalrecur_iterator* test = icalrecur_iterator_new(rule, icalFields(start, days));
    if (test) icalrecur_iterator_free(test);
    return test != nullptr;
}

void forEachInstance(const icalrecurrencetype& rule, qint64 start, bool days, qint64 from,
                     qint64 to, const std::function<bool(qint64)>& visit) {
    if (from >= to) return;
    if (stepWithinTheDay(rule) == 0) {
        libicalInstances(rule, start, days, from, to, stepsPerWeek, visit);
        return;
    }
    if (!days) return StepsWithinTheDay(rule, start).forEach(from, to, visit);
    // Whole days: a day with any step is one instance.
    qint64 lastDay = std::numeric_limits<qint64>::min();
    StepsWithinTheDay(rule, start).forEach(from, to, [&](qint64 wall) {
        const qint64 day = dayOf(wall);
        if (day == lastDay) return true;
        lastDay = day;
        return visit(day * secondsPerDay);
    });
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

qint64 ExpandedEvents::wallOf(const EventClock& clock, qint64 moment) const {
    if (clock.kind == EventClock::Utc) return moment;
    const WallClock wall =
        wallClockAt(clock.kind == EventClock::Zone ? clock.zone : local_, moment);
    return plainSeconds(wall.date, wall.time);
}

void ExpandedEvents::addEntries(QDate first, QDate last, std::vector<FeedEntry>& out) const {
    // The same for every timed event, so worked out once.
    const Window asked{first, last, momentOfWallClock(local_, dayStart(first)),
                       momentOfWallClock(local_, dayStart(last.addDays(1)))};
    int frequentLeft = mostFrequentRowsPerWeek;
    for (const ExpandedEvent& event : events_) addEvent(event, asked, frequentLeft, out);
}

void ExpandedEvents::addEvent(const ExpandedEvent& event, const Window& asked, int& frequentLeft,
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
    // The event's wall times around the moments asked for: a switch of its clock shifts them
    // by an hour or two, and a rule every second gives an instance for each.
    constexpr qint64 margin = 3 * 3600;
    const qint64 wallFrom = days ? from : wallOf(event.start.clock, asked.start) - margin;
    const qint64 wallTo = days ? to : wallOf(event.start.clock, asked.end) + margin;
    for (const EventRule& rule : event.rules) {
        if (seen.size() >= size_t(mostInstancesPerWeek)) return;
        const bool frequent = repeatsWithinTheDay(rule.rule);
        forEachInstance(rule.rule, event.start.wall, days, wallFrom, wallTo, [&](qint64 wall) {
            if (frequent && frequentLeft == 0) return false;
            const qint64 key = instanceKey({event.start.clock, wall}, local_);
            if (rule.lastMoment && key > *rule.lastMoment) return true;
            const size_t before = seen.size();
            const bool more = add(key);
            if (frequent && seen.size() > before) --frequentLeft;
            return more;
        });
    }
}

} // namespace newsbell
