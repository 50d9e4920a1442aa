#pragma once

#include "calendar/FeedDocument.h"

#include <functional>
#include <libical/ical.h>
#include <optional>
#include <vector>

namespace newsbell {

// How the date and time fields of an event's times are read.
struct EventClock {
    enum Kind { Utc, Zone, Floating, Days } kind = Utc;
    QTimeZone zone; // Kind::Zone
};

// A time of an event as written: its clock and its fields as plainSeconds() (a whole day at
// midnight).
struct EventTime {
    EventClock clock;
    qint64 wall = 0;
};

// Instances are told apart by the moment they happen, or for whole days by their date: the key
// of an instance. RECURRENCE-ID and EXDATE name instances by it.
qint64 instanceKey(const EventTime& time, const QTimeZone& local);

// A rule, worked out for each week asked for.
struct EventRule {
    icalrecurrencetype rule{};
    std::optional<qint64> lastMoment; // a UTC UNTIL of a rule on another clock
};

// An event whose rows are worked out per week: it recurs, or lasts several whole days.
struct ExpandedEvent {
    FeedEntry cells;
    EventTime start;
    qint64 days = 1;           // whole-day events: days each instance covers
    std::vector<qint64> known; // sorted instance keys: DTSTART, RDATE
    std::vector<EventRule> rules;
    std::vector<qint64> excluded; // sorted instance keys: EXDATE, changed and cancelled instances
};

class ExpandedEvents final : public LaterEntries {
public:
    ExpandedEvents(std::vector<ExpandedEvent> events, QTimeZone local)
        : events_(std::move(events)), local_(std::move(local)) {}
    void addEntries(QDate first, QDate last, std::vector<FeedEntry>& out) const override;
    bool isEmpty() const override { return events_.empty(); }

private:
    // The local days asked for, and the moments they span.
    struct Window {
        QDate first, last;
        qint64 start, end;
    };
    // frequentLeft: rows that rules repeating within the day may still add to the week.
    void addEvent(const ExpandedEvent& event, const Window& asked, int& frequentLeft,
                  std::vector<FeedEntry>& out) const;
    // The time a clock of an event shows at moment, as plainSeconds().
    qint64 wallOf(const EventClock& clock, qint64 moment) const;

    std::vector<ExpandedEvent> events_;
    QTimeZone local_;
};

// The row of an event at a moment (local date and "HH:MM").
void addTimedEntry(const FeedEntry& cells, qint64 moment, const QTimeZone& local,
                   std::vector<FeedEntry>& out);
// "All Day" rows of an instance over days days from start, as far as they fall in first..last.
void addDayEntries(const FeedEntry& cells, QDate start, qint64 days, QDate first, QDate last,
                   std::vector<FeedEntry>& out);

// Whether the instances of rule from start (plainSeconds of DTSTART) can be worked out.
bool ruleUnderstood(const icalrecurrencetype& rule, qint64 start, bool days);

// Calls visit(wall) for the instances of rule from start whose wall time lies in [from, to), in
// order, while it returns true. The work is bounded by the window, not by where the rule starts
// or how often it repeats: a rule jumps to from where its steps allow (COUNT less the steps
// skipped), and a rule within the day is found day by day.
void forEachInstance(const icalrecurrencetype& rule, qint64 start, bool days, qint64 from,
                     qint64 to, const std::function<bool(qint64)>& visit);

// A week shows no more instances of one event: an event every five minutes fills the week.
inline constexpr int mostInstancesPerWeek = 2016;

// Whether a rule gives more than one instance a day: it repeats within the day, or names
// several hours, minutes or seconds.
bool repeatsWithinTheDay(const icalrecurrencetype& rule);
// A week shows no more rows of such rules, all events together: one an hour fills the week, and
// each row costs the page that shows it (rules every second would give a page no browser loads).
inline constexpr int mostFrequentRowsPerWeek = 168;

// libical's fields of a plainSeconds() value, and back (nothing for fields that are no date).
icaltimetype icalFields(qint64 wall, bool days);
std::optional<qint64> wallOfFields(const icaltimetype& fields);

} // namespace newsbell
