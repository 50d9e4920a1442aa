#include "core/NewsGate.h"

#include <algorithm>
#include <optional>

namespace newsbell {

namespace {

constexpr qint64 secondsPerDay = 86400;

qint64 wallSeconds(QDate date, qint64 secondsOfDay) {
    return date.toJulianDay() * secondsPerDay + secondsOfDay;
}

struct CountedEvent {
    qint64 instant;
    int row;
};

// [start, end) around the events first to last (indexes into the currency's events).
struct Blackout {
    qint64 start;
    qint64 end;
    size_t first;
    size_t last;
};

// Every counted event of the table, by currency box, ordered by instant, then by table order.
std::array<std::vector<CountedEvent>, alertCurrencies.size()>
countedEvents(const EventTable& table, const GateSettings& settings) {
    std::array<std::vector<CountedEvent>, alertCurrencies.size()> events;
    for (int r = 1; r < table.rowCount(); ++r) {
        const Row& row = table.row(r);
        const std::optional<size_t> currency = currencyBox(row);
        if (!currency || !settings.currencies[*currency]) continue;
        const std::optional<size_t> importance = importanceBox(row);
        if (!importance || !settings.importances[*importance]) continue;
        const std::optional<QDate> date = eventDate(row);
        const std::optional<int> seconds = eventSecondsOfDay(row);
        if (!date || !seconds) continue;
        events[*currency].push_back({wallSeconds(*date, *seconds), r});
    }
    for (auto& ofCurrency : events)
        std::ranges::stable_sort(ofCurrency, {}, &CountedEvent::instant);
    return events;
}

std::vector<Blackout> joinedBlackouts(const std::vector<CountedEvent>& events,
                                      const GateSettings& settings) {
    const qint64 before = qint64(settings.beforeMinutes) * 60;
    const qint64 after = qint64(settings.afterMinutes) * 60;
    std::vector<Blackout> joined;
    for (size_t i = 0; i < events.size(); ++i) {
        const qint64 start = events[i].instant - before, end = events[i].instant + after;
        // Ordered by instant, a later blackout never ends before the one it joins.
        if (!joined.empty() && start <= joined.back().end) {
            joined.back().end = end;
            joined.back().last = i;
        } else {
            joined.push_back({start, end, i, i});
        }
    }
    return joined;
}

// A cell as one field of a gate line.
std::string field(std::string_view cell) {
    std::string out(cell);
    for (char& c : out) {
        if (c == ';') c = ',';
        if (c == '\r' || c == '\n') c = ' ';
    }
    return out;
}

std::string gateLine(std::string_view currency, const EventTable& table,
                     const std::vector<CountedEvent>& events, const GateSettings& settings,
                     qint64 now) {
    std::string line(currency);
    const std::vector<Blackout> joined = joinedBlackouts(events, settings);
    // The first blackout not yet over; an empty one at now is over as it begins.
    const auto current = std::ranges::find_if(
        joined, [now](const Blackout& blackout) { return blackout.end > now; });
    if (current == joined.end()) return line + ";0;;;;;";
    const bool inside = current->start <= now;
    size_t named = current->first;
    if (inside) {
        while (named < current->last && events[named].instant < now) ++named;
    }
    const Row& row = table.row(events[named].row);
    std::string_view title = row[6];
    if (title.starts_with(' ')) title.remove_prefix(1);
    line += inside ? ";1;" : ";0;";
    line += std::to_string(inside ? current->end - now : current->start - now);
    for (std::string_view cell :
         {std::string_view(row[1]), std::string_view(row[3]), std::string_view(row[5]), title}) {
        line += ';';
        line += field(cell);
    }
    return line;
}

} // namespace

std::vector<std::string> gateLines(const EventTable& table, const GateSettings& settings,
                                   QDate today, QTime now) {
    const auto events = countedEvents(table, settings);
    const qint64 nowSeconds = wallSeconds(today, now.msecsSinceStartOfDay() / 1000);
    std::vector<std::string> lines;
    for (size_t c = 0; c < alertCurrencies.size(); ++c)
        if (settings.currencies[c])
            lines.push_back(gateLine(alertCurrencies[c], table, events[c], settings, nowSeconds));
    return lines;
}

std::string gateFileText(const EventTable& table, const GateSettings& settings, QDate today,
                         QTime now) {
    std::string text;
    for (const std::string& line : gateLines(table, settings, today, now)) text += line + "\r\n";
    return text;
}

} // namespace newsbell
