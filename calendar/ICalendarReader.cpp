#include "calendar/ICalendarReader.h"

#include "calendar/FeedTime.h"
#include "calendar/ICalendarEvents.h"
#include "calendar/ICalendarText.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <array>
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
    EventClock floating{EventClock::Floating, {}}; // of times without a zone: its calendar's
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

EventProperties propertiesOf(icalcomponent* event, qint64 line, const EventClock& floating) {
    EventProperties found;
    found.event = event;
    found.line = line;
    found.floating = floating;
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

std::vector<icalcomponent*> calendarsOf(icalcomponent* root) {
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) return {root};
    // Several calendars in one document come under a root of libical's own.
    std::vector<icalcomponent*> calendars;
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
        calendars.push_back(c);
    return calendars;
}

// The value of a calendar's X-WR-TIMEZONE; empty when it has none.
QString calendarZoneName(icalcomponent* calendar) {
    for (icalproperty* p = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(calendar, ICAL_X_PROPERTY)) {
        const char* name = icalproperty_get_x_name(p);
        if (name && qstricmp(name, "X-WR-TIMEZONE") == 0)
            return text(icalproperty_get_value_as_string(p)).trimmed();
    }
    return {};
}

// The two-letter codes of major economies a title may start with, and their currencies.
struct CountryCurrency {
    QStringView code;
    QStringView currency;
};
constexpr CountryCurrency countryCurrencies[] = {
    {u"US", u"USD"}, {u"EU", u"EUR"}, {u"EZ", u"EUR"}, {u"DE", u"EUR"}, {u"FR", u"EUR"},
    {u"IT", u"EUR"}, {u"ES", u"EUR"}, {u"GB", u"GBP"}, {u"UK", u"GBP"}, {u"JP", u"JPY"},
    {u"AU", u"AUD"}, {u"NZ", u"NZD"}, {u"CA", u"CAD"}, {u"CH", u"CHF"}, {u"CN", u"CNY"}};

// The currency a title starts with, as "USD " or as the country code "US "; it then leaves the
// title.
QString takeCurrency(QString& title) {
    if (title.size() >= 4 && isCurrencyCode(QStringView(title).first(3)) && title[3] == u' ') {
        const QString currency = title.first(3);
        title.remove(0, 4);
        return currency;
    }
    if (title.size() < 3 || title[2] != u' ') return {};
    for (const CountryCurrency& country : countryCurrencies) {
        if (title.startsWith(country.code)) {
            title.remove(0, 3);
            return country.currency.toString();
        }
    }
    return {};
}

// The importance a title ends with, "(HIGH)", "(MEDIUM)" or "(LOW)" in any case; it then leaves
// the title, which is trimmed. 0 for a title without one.
int takeImportance(QString& title) {
    static constexpr std::array<QStringView, 3> marks = {u"(LOW)", u"(MEDIUM)", u"(HIGH)"};
    for (size_t i = 0; i < marks.size(); ++i) {
        if (title.endsWith(marks[i], Qt::CaseInsensitive)) {
            title.chop(marks[i].size());
            title = title.trimmed();
            return int(i) + 1;
        }
    }
    return 0;
}

// What an error that libical put in place of a property means for the table: a property the
// table uses that did not read; nothing for an empty property, one the table does not use, or a
// line that is no property (libical's own words are never shown).
QString lostPropertyProblem(const char* error) {
    const QString message = text(error);
    static const QRegularExpression lost(QStringLiteral(
        "^Can't parse as \\S+ value in (\\S+) property\\. Removing entire property:? ?(.*)$"));
    const QRegularExpressionMatch match = lost.match(message);
    if (!match.hasMatch()) return {};
    const QString name = match.captured(1), value = match.captured(2);
    if (name == u"RRULE")
        return QStringLiteral("часть события не прочитана: правило RRULE «%1» не читается, "
                              "показано только DTSTART")
            .arg(value);
    static constexpr std::array<QStringView, 5> used = {u"DTEND", u"DURATION", u"RDATE", u"EXDATE",
                                                        u"RECURRENCE-ID"};
    if (std::ranges::find(used, QStringView(name)) == used.end()) return {};
    return QStringLiteral("часть события не прочитана: значение %1 «%2» не читается, свойство "
                          "пропущено")
        .arg(name, value);
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
        std::vector<EventProperties> events;
        for (icalcomponent* calendar : calendarsOf(root.get())) {
            const EventClock floating = floatingClockOf(calendar);
            for (icalcomponent* e =
                     icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
                 e; e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
                const size_t i = events.size();
                const qint64 line = i < prepared.eventLines.size() ? prepared.eventLines[i] : 0;
                events.push_back(propertiesOf(e, line, floating));
            }
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

    // Times without a zone are wall times of the zone that X-WR-TIMEZONE names, when it names
    // one, and otherwise of the table's zone.
    EventClock floatingClockOf(icalcomponent* calendar) {
        const QString name = calendarZoneName(calendar);
        if (name.isEmpty()) return {EventClock::Floating, {}};
        const QTimeZone zone = zoneNamed(name);
        if (zone.isValid()) return {EventClock::Zone, zone};
        warn(lineHolding(bytes_, 1, "X-WR-TIMEZONE", ""),
             QStringLiteral("X-WR-TIMEZONE «%1» не пояс из базы поясов: время без пояса показано "
                            "по часам таблицы")
                 .arg(name));
        return {EventClock::Floating, {}};
    }

    // The zone of a TZID; an invalid zone when it cannot be placed.
    QTimeZone zoneOf(const QString& name) {
        auto known = zonesByName_.find(name);
        if (known != zonesByName_.end()) return *known;
        const QTimeZone zone = zoneNamed(name, true);
        zonesByName_.insert(name, zone);
        return zone;
    }

    // A date or date-time value of property; nothing when its fields are no date, or when its
    // zone cannot be placed (whose name unplaced_ then keeps).
    std::optional<EventTime> timeOf(icalproperty* property, const icaltimetype& fields,
                                    const EventProperties& event) {
        const std::optional<qint64> wall = wallOfFields(fields);
        if (!wall) return std::nullopt;
        EventTime time{{}, *wall};
        if (fields.is_date) {
            time.clock.kind = EventClock::Days;
        } else if (icaltime_is_utc(fields)) {
            time.clock.kind = EventClock::Utc;
        } else if (icalparameter* tzid =
                       icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
            const QString name = text(icalparameter_get_tzid(tzid));
            time.clock = {EventClock::Zone, zoneOf(name)};
            if (!time.clock.zone.isValid()) {
                if (unplaced_.isEmpty()) unplaced_ = name;
                return std::nullopt;
            }
        } else {
            time.clock = event.floating;
        }
        return time;
    }

    // Instances given by RECURRENCE-ID are replaced by their own VEVENT (or cancelled by it),
    // whichever comes first in the document.
    void noteChangedInstance(const EventProperties& event) {
        if (!event.recurrenceId) return;
        const std::optional<EventTime> time =
            timeOf(event.recurrenceId, icalproperty_get_recurrenceid(event.recurrenceId), event);
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
        // Real calendars write them into the title: "USD ADP Employment Change(HIGH)".
        if (currency.isEmpty()) currency = takeCurrency(title);
        if (cells.row.importance == 0) cells.row.importance = takeImportance(title);
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
                                     const EventTime& start, const EventProperties& event) {
        std::vector<qint64> keys;
        for (icalproperty* p : properties) {
            icaltimetype value;
            if (dates) {
                const icaldatetimeperiodtype date = icalproperty_get_rdate(p);
                value = icaltime_is_null_time(date.time) ? date.period.start : date.time;
            } else {
                value = icalproperty_get_exdate(p);
            }
            const std::optional<EventTime> time = timeOf(p, value, event);
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

    // Whether the event is left out, with one message saying why.
    bool leftOut(const EventProperties& event, bool started) {
        if (!unplaced_.isEmpty()) {
            const QByteArray name = unplaced_.toUtf8();
            warn(
                lineHolding(bytes_, event.line, "TZID",
                            std::string_view(name.data(), size_t(name.size()))),
                QStringLiteral("событие пропущено: часовой пояс «%1» неизвестен (нужно имя из базы "
                               "поясов, например Europe/Berlin, или имя пояса Windows)")
                    .arg(unplaced_));
            return true;
        }
        if (started) return false;
        warn(event.line, event.start
                             ? QStringLiteral("событие с невозможной датой DTSTART пропущено")
                             : QStringLiteral("событие без DTSTART пропущено"));
        return true;
    }

    void readEvent(const EventProperties& event, int order) {
        if (event.status && icalproperty_get_status(event.status) == ICAL_STATUS_CANCELLED) return;
        unplaced_.clear();
        const std::optional<EventTime> start =
            event.start ? timeOf(event.start, icalproperty_get_dtstart(event.start), event)
                        : std::nullopt;
        ExpandedEvent expanded;
        if (start) {
            expanded.known = instanceKeys(event.dates, true, *start, event);
            expanded.excluded = instanceKeys(event.exceptions, false, *start, event);
        }
        // A changed instance whose zone cannot be placed cannot stand in for its original.
        if (event.recurrenceId)
            timeOf(event.recurrenceId, icalproperty_get_recurrenceid(event.recurrenceId), event);
        if (leftOut(event, start.has_value())) return;
        for (icalproperty* error : event.errors) {
            const QString problem = lostPropertyProblem(icalproperty_get_xlicerror(error));
            if (!problem.isEmpty()) warn(event.line, problem);
        }
        const bool days = start->clock.kind == EventClock::Days;
        expanded.cells = cellsOf(event, order, days);
        expanded.start = *start;
        expanded.days = days ? daysCovered(event, start->wall) : 1;
        expanded.known.push_back(instanceKey(*start, zones_.local));
        addRules(event, expanded);
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
    QHash<QString, QTimeZone> zonesByName_; // invalid for a zone that cannot be placed
    QString unplaced_; // the first zone of the event being read that cannot be placed
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
