#include "calendar/ICalendarReader.h"

#include "base/Error.h"
#include "calendar/FeedTime.h"
#include "calendar/ICalendarEvents.h"
#include "calendar/ICalendarText.h"

#include <QHash>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>

namespace newsbell {

namespace {

// Instances of a rule with COUNT read at once; beyond them the rule is cut with a warning.
constexpr int largestCount = 100000;
const QString allDay = QStringLiteral("All Day");

using Component = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;

QString text(const char* utf8) {
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

bool isCurrencyCode(QStringView value) {
    return value.size() == 3 &&
           std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

bool isLineMark(const char* name) {
    return name && std::string_view(name) == iCalendarLineMark;
}

qint64 lineNumber(const char* value) {
    return value ? std::strtoll(value, nullptr, 10) : 0;
}

// The line number libical carried for us, or fallback.
qint64 propertyLine(icalproperty* property, qint64 fallback) {
    for (icalparameter* p = icalproperty_get_first_parameter(property, ICAL_X_PARAMETER); p;
         p = icalproperty_get_next_parameter(property, ICAL_X_PARAMETER))
        if (isLineMark(icalparameter_get_xname(p))) return lineNumber(icalparameter_get_xvalue(p));
    return fallback;
}

qint64 eventLine(icalcomponent* event) {
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY))
        if (isLineMark(icalproperty_get_x_name(p))) return lineNumber(icalproperty_get_x(p));
    return 0;
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
        const std::string prepared = preparedICalendar(bytes_, source_);
        Component root(icalparser_parse_string(prepared.c_str()), icalcomponent_free);
        if (!root)
            fail(std::count(bytes_.begin(), bytes_.end(), '\n') + 1,
                 QStringLiteral("календарь iCalendar не читается: документ оборван или его "
                                "BEGIN и END не сходятся"));
        const std::vector<icalcomponent*> events = eventsOf(root.get());
        for (icalcomponent* event : events) noteChangedInstance(event);
        for (size_t i = 0; i < events.size(); ++i) readEvent(events[i], int(i));
        return FeedDocument(std::move(entries_),
                            std::make_shared<ExpandedEvents>(std::move(expanded_), zones_.local),
                            std::move(warnings_));
    }

private:
    [[noreturn]] void fail(qint64 line, const QString& problem) const {
        throw Error(feedProblem(source_, line, problem).toStdString());
    }

    void warn(qint64 line, const QString& problem) {
        warnings_ << feedProblem(source_, line, problem);
    }

    QTimeZone zoneOf(const QString& name, qint64 line) {
        auto known = zonesByName_.find(name);
        if (known != zonesByName_.end()) return *known;
        const QTimeZone zone = newsbell::zoneNamed(name, true);
        if (!zone.isValid())
            fail(line, QStringLiteral("часовой пояс «%1» неизвестен: нужно имя из базы поясов "
                                      "(Europe/Berlin) или имя пояса Windows")
                           .arg(name));
        zonesByName_.insert(name, zone);
        return zone;
    }

    // A date or date-time value of property; nothing when its fields are no date.
    std::optional<EventTime> timeOf(icalproperty* property, const icaltimetype& fields,
                                    qint64 line) {
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
            time.clock.zone =
                zoneOf(text(icalparameter_get_tzid(tzid)), propertyLine(property, line));
        } else {
            time.clock.kind = EventClock::Floating;
        }
        return time;
    }

    // Instances given by RECURRENCE-ID are replaced by their own VEVENT (or cancelled by it),
    // whichever comes first in the document.
    void noteChangedInstance(icalcomponent* event) {
        icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        if (!id) return;
        const std::optional<EventTime> time =
            timeOf(id, icalproperty_get_recurrenceid(id), eventLine(event));
        if (time)
            changed_[text(icalcomponent_get_uid(event))].push_back(
                instanceKey(*time, zones_.local));
    }

    // Currency, importance and title from CATEGORIES and SUMMARY.
    FeedEntry cellsOf(icalcomponent* event, int order, bool days) {
        FeedEntry cells;
        cells.order = order;
        cells.time = days ? allDay : QString();
        QString currency;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_CATEGORIES_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_CATEGORIES_PROPERTY)) {
            const QString value = text(icalproperty_get_categories(p));
            if (currency.isEmpty() && isCurrencyCode(value)) currency = value;
            if (cells.importance == 0) cells.importance = feedImportance(value);
        }
        icalproperty* summary = icalcomponent_get_first_property(event, ICAL_SUMMARY_PROPERTY);
        QString title = summary ? text(icalproperty_get_summary(summary)) : QString();
        if (currency.isEmpty() && title.size() >= 4 &&
            isCurrencyCode(QStringView(title).first(3)) && title[3] == u' ') {
            currency = title.first(3);
            title.remove(0, 4);
        }
        cells.currency = feedCellText(currency);
        cells.title = feedCellText(title);
        return cells;
    }

    // Whole days an all-day event covers, from DTEND or DURATION; at least one.
    qint64 daysCovered(icalcomponent* event, qint64 startWall) {
        constexpr qint64 day = 86400;
        if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
            icaltimetype fields = icalproperty_get_dtend(end);
            fields.is_date = 1;
            if (const std::optional<qint64> wall = wallOfFields(fields))
                return std::max<qint64>(1, (*wall - startWall) / day);
        }
        if (icalproperty* length =
                icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
            const icaldurationtype d = icalproperty_get_duration(length);
            const qint64 seconds = (qint64(d.weeks) * 7 + d.days) * day + qint64(d.hours) * 3600 +
                                   qint64(d.minutes) * 60 + d.seconds;
            if (!d.is_neg) return std::max<qint64>(1, (seconds + day - 1) / day);
        }
        return 1;
    }

    // Keys of the instances named by the values of property kind that are of start's type.
    std::vector<qint64> instanceKeys(icalcomponent* event, icalproperty_kind kind,
                                     const EventTime& start, qint64 line) {
        std::vector<qint64> keys;
        for (icalproperty* p = icalcomponent_get_first_property(event, kind); p;
             p = icalcomponent_get_next_property(event, kind)) {
            const icaltimetype fields = kind == ICAL_RDATE_PROPERTY ? icalproperty_get_rdate(p).time
                                                                    : icalproperty_get_exdate(p);
            icaltimetype value = fields;
            if (kind == ICAL_RDATE_PROPERTY && icaltime_is_null_time(value))
                value = icalproperty_get_rdate(p).period.start;
            const std::optional<EventTime> time = timeOf(p, value, line);
            if (time &&
                (time->clock.kind == EventClock::Days) == (start.clock.kind == EventClock::Days))
                keys.push_back(instanceKey(*time, zones_.local));
        }
        return keys;
    }

    void addRules(icalcomponent* event, ExpandedEvent& expanded, qint64 line) {
        const bool days = expanded.start.clock.kind == EventClock::Days;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            if (rule.freq == ICAL_NO_RECURRENCE) continue;
            if (rule.rscale) {
                warn(line, QStringLiteral("повторение в календаре RSCALE не поддерживается"));
                continue;
            }
            if (icalrecur_iterator* test =
                    icalrecur_iterator_new(rule, icalFields(expanded.start.wall, days))) {
                icalrecur_iterator_free(test);
            } else {
                warn(line, QStringLiteral("правило RRULE не понято, показано только DTSTART"));
                continue;
            }
            if (rule.count > 0) {
                const bool whole = forEachInstance(
                    rule, expanded.start.wall, days, expanded.start.wall,
                    std::numeric_limits<qint64>::max(), largestCount, [&](qint64 wall) {
                        expanded.known.push_back(
                            instanceKey({expanded.start.clock, wall}, zones_.local));
                    });
                if (!whole)
                    warn(line, QStringLiteral("повторений больше %1, прочитаны первые %1")
                                   .arg(largestCount));
                continue;
            }
            OpenRule open{rule, std::nullopt};
            // libical would hold a UTC UNTIL against wall times; the moments are compared.
            const bool wallClock = expanded.start.clock.kind == EventClock::Zone ||
                                   expanded.start.clock.kind == EventClock::Floating;
            if (wallClock && !icaltime_is_null_time(rule.until) && icaltime_is_utc(rule.until)) {
                if (const std::optional<qint64> until = wallOfFields(rule.until)) {
                    open.lastMoment = *until;
                    open.rule.until = icaltime_null_time();
                }
            }
            expanded.rules.push_back(open);
        }
    }

    void readEvent(icalcomponent* event, int order) {
        const qint64 line = eventLine(event);
        reportLibicalErrors(event, line);
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) return;
        icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        const std::optional<EventTime> start =
            dtstart ? timeOf(dtstart, icalproperty_get_dtstart(dtstart), line) : std::nullopt;
        if (!start) {
            warn(line, dtstart ? QStringLiteral("событие с невозможной датой DTSTART пропущено")
                               : QStringLiteral("событие без DTSTART пропущено"));
            return;
        }
        const bool days = start->clock.kind == EventClock::Days;
        ExpandedEvent expanded;
        expanded.cells = cellsOf(event, order, days);
        expanded.start = *start;
        expanded.days = days ? daysCovered(event, start->wall) : 1;
        expanded.known = instanceKeys(event, ICAL_RDATE_PROPERTY, *start, line);
        expanded.known.push_back(instanceKey(*start, zones_.local));
        addRules(event, expanded, line);
        expanded.excluded = instanceKeys(event, ICAL_EXDATE_PROPERTY, *start, line);
        // A changed instance does not take itself away.
        if (!icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
            const auto changed = changed_.find(text(icalcomponent_get_uid(event)));
            if (changed != changed_.end())
                expanded.excluded.insert(expanded.excluded.end(), changed->second.begin(),
                                         changed->second.end());
        }
        std::sort(expanded.known.begin(), expanded.known.end());
        std::sort(expanded.excluded.begin(), expanded.excluded.end());
        addEvent(std::move(expanded));
    }

    // An event of a single instance is a row now; the others are worked out per week.
    void addEvent(ExpandedEvent event) {
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

    void reportLibicalErrors(icalcomponent* event, qint64 line) {
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_XLICERROR_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_XLICERROR_PROPERTY))
            warn(line, QStringLiteral("часть события не прочитана: ") +
                           text(icalproperty_get_xlicerror(p)));
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
