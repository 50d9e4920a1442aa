#include "calendar/ICalendarReader.h"

#include "calendar/FeedTime.h"
#include "calendar/ICalendarEvents.h"
#include "calendar/ICalendarText.h"

#include <QHash>
#include <algorithm>
#include <map>
#include <memory>

namespace newsbell {

namespace {

using Component = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;

QString text(const char* utf8) {
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

bool isCurrencyCode(QStringView value) {
    return value.size() == 3 &&
           std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

// The properties of an event that the table uses, found in one pass (libical looks for each
// kind through all of them).
struct EventProperties {
    icalcomponent* event = nullptr;
    qint64 line = 0; // of its BEGIN:VEVENT
    icalproperty* uid = nullptr;
    icalproperty* status = nullptr;
    icalproperty* start = nullptr;
    icalproperty* end = nullptr;
    icalproperty* duration = nullptr;
    icalproperty* summary = nullptr;
    icalproperty* recurrenceId = nullptr;
    std::vector<icalproperty*> categories, rules, dates, exceptions, errors;
};

// Where each kind goes: the first of a kind, or all of them.
struct FirstOf {
    icalproperty_kind kind;
    icalproperty* EventProperties::*slot;
};
struct AllOf {
    icalproperty_kind kind;
    std::vector<icalproperty*> EventProperties::*list;
};
constexpr FirstOf firstOf[] = {{ICAL_UID_PROPERTY, &EventProperties::uid},
                               {ICAL_STATUS_PROPERTY, &EventProperties::status},
                               {ICAL_DTSTART_PROPERTY, &EventProperties::start},
                               {ICAL_DTEND_PROPERTY, &EventProperties::end},
                               {ICAL_DURATION_PROPERTY, &EventProperties::duration},
                               {ICAL_SUMMARY_PROPERTY, &EventProperties::summary},
                               {ICAL_RECURRENCEID_PROPERTY, &EventProperties::recurrenceId}};
constexpr AllOf allOf[] = {{ICAL_CATEGORIES_PROPERTY, &EventProperties::categories},
                           {ICAL_RRULE_PROPERTY, &EventProperties::rules},
                           {ICAL_RDATE_PROPERTY, &EventProperties::dates},
                           {ICAL_EXDATE_PROPERTY, &EventProperties::exceptions},
                           {ICAL_XLICERROR_PROPERTY, &EventProperties::errors}};

EventProperties propertiesOf(icalcomponent* event, qint64 line) {
    EventProperties found;
    found.event = event;
    found.line = line;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_ANY_PROPERTY)) {
        const icalproperty_kind kind = icalproperty_isa(p);
        for (const FirstOf& first : firstOf)
            if (first.kind == kind && !(found.*first.slot)) found.*first.slot = p;
        for (const AllOf& all : allOf)
            if (all.kind == kind) (found.*all.list).push_back(p);
    }
    return found;
}

std::vector<icalcomponent*> eventsOf(icalcomponent* root) {
    std::vector<icalcomponent*> calendars, events;
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(root);
    } else {
        // Several calendars in one document come under a root of libical's own.
        for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
            calendars.push_back(c);
    }
    for (icalcomponent* calendar : calendars)
        for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             e; e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            events.push_back(e);
    return events;
}

class ICalendarReading {
public:
    ICalendarReading(QByteArrayView bytes, const QString& source, const FeedZones& zones)
        : bytes_(bytes), source_(source), zones_(zones) {}

    FeedDocument read() {
        PreparedICalendar prepared = prepareICalendar(bytes_, source_);
        warnings_ = std::move(prepared.warnings);
        Component root(icalparser_parse_string(prepared.text.c_str()), icalcomponent_free);
        if (!root)
            throw feedError(source_, prepared.lineCount,
                            QStringLiteral("календарь iCalendar не читается: документ "
                                           "оборван или его BEGIN и END не сходятся"));
        const std::vector<icalcomponent*> components = eventsOf(root.get());
        std::vector<EventProperties> events;
        events.reserve(components.size());
        for (size_t i = 0; i < components.size(); ++i) {
            const qint64 line = i < prepared.eventLines.size() ? prepared.eventLines[i] : 0;
            events.push_back(propertiesOf(components[i], line));
        }
        for (const EventProperties& event : events) noteChangedInstance(event);
        for (size_t i = 0; i < events.size(); ++i) readEvent(events[i], int(i));
        return FeedDocument(std::move(entries_),
                            std::make_shared<ExpandedEvents>(std::move(expanded_), zones_.local),
                            std::move(warnings_));
    }

private:
    void warn(qint64 line, const QString& problem) {
        warnings_ << feedProblem(source_, line, problem);
    }

    QTimeZone zoneOf(const char* tzid, qint64 eventLine) {
        const QString name = text(tzid);
        auto known = zonesByName_.find(name);
        if (known != zonesByName_.end()) return *known;
        const QTimeZone zone = zoneNamed(name, true);
        if (!zone.isValid())
            throw feedError(source_, lineHolding(bytes_, eventLine, "TZID", tzid ? tzid : ""),
                            QStringLiteral("часовой пояс «%1» неизвестен: нужно имя из базы поясов "
                                           "(Europe/Berlin) или имя пояса Windows")
                                .arg(name));
        zonesByName_.insert(name, zone);
        return zone;
    }

    // A date or date-time value of property; nothing when its fields are no date.
    std::optional<EventTime> timeOf(icalproperty* property, const icaltimetype& fields,
                                    qint64 eventLine) {
        const std::optional<qint64> wall = wallOfFields(fields);
        if (!wall) return std::nullopt;
        EventTime time{{}, *wall};
        if (fields.is_date) {
            time.clock.kind = EventClock::Days;
        } else if (icaltime_is_utc(fields)) {
            time.clock.kind = EventClock::Utc;
        } else if (icalparameter* tzid =
                       icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
            time.clock.kind = EventClock::Zone;
            time.clock.zone = zoneOf(icalparameter_get_tzid(tzid), eventLine);
        } else {
            time.clock.kind = EventClock::Floating;
        }
        return time;
    }

    // Instances given by RECURRENCE-ID are replaced by their own VEVENT (or cancelled by it),
    // whichever comes first in the document.
    void noteChangedInstance(const EventProperties& event) {
        if (!event.recurrenceId) return;
        const std::optional<EventTime> time = timeOf(
            event.recurrenceId, icalproperty_get_recurrenceid(event.recurrenceId), event.line);
        if (time) changed_[uidOf(event)].push_back(instanceKey(*time, zones_.local));
    }

    static QString uidOf(const EventProperties& event) {
        return event.uid ? text(icalproperty_get_uid(event.uid)) : QString();
    }

    // Currency, importance and title from CATEGORIES and SUMMARY.
    FeedEntry cellsOf(const EventProperties& event, int order, bool days) {
        FeedEntry cells;
        cells.order = order;
        if (days) cells.row.time = QStringLiteral("All Day");
        QString currency;
        for (icalproperty* p : event.categories) {
            const QString value = text(icalproperty_get_categories(p));
            if (currency.isEmpty() && isCurrencyCode(value)) currency = value;
            if (cells.row.importance == 0) cells.row.importance = feedImportance(value);
        }
        QString title = event.summary ? text(icalproperty_get_summary(event.summary)) : QString();
        if (currency.isEmpty() && title.size() >= 4 &&
            isCurrencyCode(QStringView(title).first(3)) && title[3] == u' ') {
            currency = title.first(3);
            title.remove(0, 4);
        }
        cells.row.currency = feedCellText(currency);
        cells.row.name = feedCellText(title);
        return cells;
    }

    // Whole days an all-day event covers, from DTEND or DURATION; at least one.
    static qint64 daysCovered(const EventProperties& event, qint64 startWall) {
        constexpr qint64 day = 86400;
        if (event.end) {
            icaltimetype fields = icalproperty_get_dtend(event.end);
            fields.is_date = 1;
            if (const std::optional<qint64> wall = wallOfFields(fields))
                return std::max<qint64>(1, (*wall - startWall) / day);
        }
        if (event.duration) {
            const icaldurationtype d = icalproperty_get_duration(event.duration);
            const qint64 seconds = (qint64(d.weeks) * 7 + d.days) * day + qint64(d.hours) * 3600 +
                                   qint64(d.minutes) * 60 + d.seconds;
            if (!d.is_neg) return std::max<qint64>(1, (seconds + day - 1) / day);
        }
        return 1;
    }

    // Keys of the instances that RDATE (or EXDATE) values name, those of start's type.
    std::vector<qint64> instanceKeys(const std::vector<icalproperty*>& properties, bool dates,
                                     const EventTime& start, qint64 line) {
        std::vector<qint64> keys;
        for (icalproperty* p : properties) {
            icaltimetype value;
            if (dates) {
                const icaldatetimeperiodtype date = icalproperty_get_rdate(p);
                value = icaltime_is_null_time(date.time) ? date.period.start : date.time;
            } else {
                value = icalproperty_get_exdate(p);
            }
            const std::optional<EventTime> time = timeOf(p, value, line);
            if (time &&
                (time->clock.kind == EventClock::Days) == (start.clock.kind == EventClock::Days))
                keys.push_back(instanceKey(*time, zones_.local));
        }
        return keys;
    }

    void addRules(const EventProperties& event, ExpandedEvent& expanded) {
        const bool days = expanded.start.clock.kind == EventClock::Days;
        for (icalproperty* p : event.rules) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            if (rule.freq == ICAL_NO_RECURRENCE) continue;
            if (rule.rscale) {
                warn(event.line, QStringLiteral("повторение в календаре RSCALE не поддерживается"));
                continue;
            }
            if (!ruleUnderstood(rule, expanded.start.wall, days)) {
                warn(event.line,
                     QStringLiteral("правило RRULE не понято, показано только DTSTART"));
                continue;
            }
            if (repeatsWithinTheDay(rule))
                warn(event.line, QStringLiteral("повторение чаще раза в день: неделя покажет не "
                                                "больше %1 таких повторений всех событий")
                                     .arg(mostFrequentRowsPerWeek));
            EventRule kept{rule, std::nullopt};
            // libical would hold a UTC UNTIL against wall times; the moments are compared.
            const bool wallClock = expanded.start.clock.kind == EventClock::Zone ||
                                   expanded.start.clock.kind == EventClock::Floating;
            if (wallClock && !icaltime_is_null_time(rule.until) && icaltime_is_utc(rule.until)) {
                if (const std::optional<qint64> until = wallOfFields(rule.until)) {
                    kept.lastMoment = *until;
                    kept.rule.until = icaltime_null_time();
                }
            }
            expanded.rules.push_back(kept);
        }
    }

    void readEvent(const EventProperties& event, int order) {
        for (icalproperty* error : event.errors)
            warn(event.line, QStringLiteral("часть события не прочитана: ") +
                                 text(icalproperty_get_xlicerror(error)));
        if (event.status && icalproperty_get_status(event.status) == ICAL_STATUS_CANCELLED) return;
        const std::optional<EventTime> start =
            event.start ? timeOf(event.start, icalproperty_get_dtstart(event.start), event.line)
                        : std::nullopt;
        if (!start) {
            warn(event.line, event.start
                                 ? QStringLiteral("событие с невозможной датой DTSTART пропущено")
                                 : QStringLiteral("событие без DTSTART пропущено"));
            return;
        }
        const bool days = start->clock.kind == EventClock::Days;
        ExpandedEvent expanded;
        expanded.cells = cellsOf(event, order, days);
        expanded.start = *start;
        expanded.days = days ? daysCovered(event, start->wall) : 1;
        expanded.known = instanceKeys(event.dates, true, *start, event.line);
        expanded.known.push_back(instanceKey(*start, zones_.local));
        addRules(event, expanded);
        expanded.excluded = instanceKeys(event.exceptions, false, *start, event.line);
        // A changed instance does not take itself away.
        if (!event.recurrenceId && !changed_.empty()) {
            const auto changed = changed_.find(uidOf(event));
            if (changed != changed_.end())
                expanded.excluded.insert(expanded.excluded.end(), changed->second.begin(),
                                         changed->second.end());
        }
        std::sort(expanded.known.begin(), expanded.known.end());
        std::sort(expanded.excluded.begin(), expanded.excluded.end());
        addEvent(std::move(expanded));
    }

    // An event of a single instance is a row now; the others are worked out per week.
    void addEvent(ExpandedEvent&& event) {
        const bool days = event.start.clock.kind == EventClock::Days;
        if (!event.rules.empty() || event.known.size() > 1 || (days && event.days > 1)) {
            expanded_.push_back(std::move(event));
            return;
        }
        const qint64 key = event.known.front();
        if (std::binary_search(event.excluded.begin(), event.excluded.end(), key)) return;
        if (days) {
            const QDate date = plainClock(key).date;
            addDayEntries(event.cells, date, 1, date, date, entries_);
        } else {
            addTimedEntry(event.cells, key, zones_.local, entries_);
        }
    }

    QByteArrayView bytes_;
    const QString& source_;
    const FeedZones& zones_;
    QHash<QString, QTimeZone> zonesByName_;
    std::map<QString, std::vector<qint64>> changed_; // by UID
    std::vector<FeedEntry> entries_;
    std::vector<ExpandedEvent> expanded_;
    QStringList warnings_;
};

} // namespace

FeedDocument readICalendar(QByteArrayView bytes, const QString& source, const FeedZones& zones) {
    return ICalendarReading(bytes, source, zones).read();
}

} // namespace newsbell
