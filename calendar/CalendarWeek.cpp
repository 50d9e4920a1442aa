#include "calendar/CalendarWeek.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string_view>

namespace newsbell {
namespace {

struct Indicator {
    const char* currency;
    const char* name;
    int importance;
    int hour;
    int minute;
    const char* suffix; // nullptr: a speech, no values
    double typical;
    double spread;
    int decimals;
};

// Recurring releases of the eight currencies, with realistic times and value ranges.
constexpr std::array indicators{
    Indicator{"EUR", "German ZEW Economic Sentiment", 2, 10, 0, "", 10, 15, 1},
    Indicator{"EUR", "CPI (YoY)", 3, 10, 0, "%", 2.1, 0.5, 1},
    Indicator{"EUR", "German Ifo Business Climate", 2, 9, 0, "", 88, 3, 1},
    Indicator{"EUR", "ECB Interest Rate Decision", 3, 13, 15, "%", 4, 0, 2},
    Indicator{"EUR", "German Manufacturing PMI", 2, 8, 30, "", 45, 3, 1},
    Indicator{"EUR", "Retail Sales (MoM)", 1, 10, 0, "%", 0.2, 0.6, 1},
    Indicator{"EUR", "Unemployment Rate", 1, 10, 0, "%", 6.5, 0.2, 1},
    Indicator{"EUR", "ECB President Speaks", 3, 14, 30, nullptr, 0, 0, 0},
    Indicator{"USD", "Nonfarm Payrolls", 3, 13, 30, "K", 180, 80, 0},
    Indicator{"USD", "Unemployment Rate", 3, 13, 30, "%", 4.1, 0.2, 1},
    Indicator{"USD", "CPI (MoM)", 3, 13, 30, "%", 0.3, 0.2, 1},
    Indicator{"USD", "Initial Jobless Claims", 2, 13, 30, "K", 220, 20, 0},
    Indicator{"USD", "Retail Sales (MoM)", 3, 13, 30, "%", 0.4, 0.5, 1},
    Indicator{"USD", "ISM Manufacturing PMI", 3, 15, 0, "", 49, 2, 1},
    Indicator{"USD", "Crude Oil Inventories", 2, 15, 30, "M", -1, 3, 3},
    Indicator{"USD", "Building Permits", 1, 13, 30, "M", 1.45, 0.1, 3},
    Indicator{"USD", "CB Consumer Confidence", 2, 15, 0, "", 102, 5, 1},
    Indicator{"USD", "Fed Chair Speaks", 3, 18, 0, nullptr, 0, 0, 0},
    Indicator{"GBP", "CPI (YoY)", 3, 7, 0, "%", 2.8, 0.6, 1},
    Indicator{"GBP", "BoE Interest Rate Decision", 3, 12, 0, "%", 4.75, 0, 2},
    Indicator{"GBP", "Manufacturing PMI", 2, 9, 30, "", 47, 2, 1},
    Indicator{"GBP", "Claimant Count Change", 2, 7, 0, "K", 20, 15, 1},
    Indicator{"GBP", "Retail Sales (MoM)", 2, 7, 0, "%", 0.3, 0.7, 1},
    Indicator{"JPY", "Tankan Large Manufacturers Index", 2, 0, 50, "", 12, 3, 0},
    Indicator{"JPY", "GDP (QoQ)", 2, 0, 50, "%", 0.2, 0.4, 1},
    Indicator{"JPY", "BoJ Interest Rate Decision", 3, 3, 0, "%", 0.25, 0, 2},
    Indicator{"JPY", "Trade Balance", 1, 0, 50, "B", -400, 300, 1},
    Indicator{"CHF", "SNB Interest Rate Decision", 3, 8, 30, "%", 1, 0, 2},
    Indicator{"CHF", "CPI (MoM)", 2, 7, 30, "%", 0.1, 0.2, 1},
    Indicator{"CHF", "KOF Leading Indicators", 1, 8, 0, "", 101, 2, 1},
    Indicator{"CHF", "Trade Balance", 1, 7, 0, "B", 4.5, 1.5, 2},
    Indicator{"AUD", "Employment Change", 3, 0, 30, "K", 25, 20, 1},
    Indicator{"AUD", "RBA Interest Rate Decision", 3, 3, 30, "%", 4.35, 0, 2},
    Indicator{"AUD", "Retail Sales (MoM)", 2, 0, 30, "%", 0.3, 0.5, 1},
    Indicator{"AUD", "Westpac Consumer Sentiment", 1, 23, 30, "%", 0.5, 2, 1},
    Indicator{"CAD", "Employment Change", 3, 13, 30, "K", 20, 25, 1},
    Indicator{"CAD", "BoC Interest Rate Decision", 3, 14, 45, "%", 3.75, 0, 2},
    Indicator{"CAD", "CPI (MoM)", 2, 13, 30, "%", 0.2, 0.3, 1},
    Indicator{"CAD", "Ivey PMI", 1, 15, 0, "", 53, 4, 1},
    Indicator{"NZD", "GDP (QoQ)", 3, 21, 45, "%", 0.4, 0.4, 1},
    Indicator{"NZD", "RBNZ Interest Rate Decision", 3, 1, 0, "%", 4.25, 0, 2},
    Indicator{"NZD", "Trade Balance", 1, 21, 45, "M", -900, 400, 0},
    Indicator{"NZD", "ANZ Business Confidence", 1, 0, 0, "", 10, 15, 1},
};

const Indicator& indicatorNamed(std::string_view currency, std::string_view name) {
    for (const Indicator& indicator : indicators)
        if (indicator.currency == currency && indicator.name == name) return indicator;
    return indicators.front();
}

struct Holiday {
    const char* currency;
    const char* note;
};

constexpr std::array holidays{
    Holiday{"EUR", "Holiday: Germany - Bank Holiday"},
    Holiday{"USD", "Holiday: United States - Federal Holiday"},
    Holiday{"GBP", "Holiday: United Kingdom - Bank Holiday"},
    Holiday{"JPY", "Holiday: Japan - National Holiday"},
    Holiday{"CHF", "Holiday: Switzerland - Public Holiday"},
    Holiday{"AUD", "Holiday: Australia - Public Holiday"},
    Holiday{"CAD", "Holiday: Canada - Civic Holiday"},
    Holiday{"NZD", "Holiday: New Zealand - Public Holiday"},
};

// mt19937's sequence is fixed by the standard (the distributions are not), so the same Monday
// gives the same week everywhere.
class WeekRandom {
public:
    explicit WeekRandom(QDate monday) : engine_(std::uint32_t(monday.toJulianDay())) {}
    int below(int n) { return int(engine_() % std::uint32_t(n)); }
    // Uniform in [-1, 1).
    double signedUnit() { return double(engine_()) / 2147483648.0 - 1.0; }
    bool oneIn(int n) { return below(n) == 0; }

private:
    std::mt19937 engine_;
};

QString formatValue(double value, const Indicator& indicator) {
    const double scale = std::pow(10.0, indicator.decimals);
    // Adding 0.0 turns a rounded -0 into 0, which is never printed with a sign.
    const double rounded = std::round(value * scale) / scale + 0.0;
    return QString::number(rounded, 'f', indicator.decimals) + QLatin1String(indicator.suffix);
}

CalendarEvent releaseOf(const Indicator& indicator, QDate date, WeekRandom& random) {
    CalendarEvent event;
    event.date = date;
    event.timeOfDay = QTime(indicator.hour, indicator.minute);
    event.time = random.oneIn(12) ? QStringLiteral("Tentative")
                                  : event.timeOfDay.toString(QStringLiteral("hh:mm"));
    event.currency = QLatin1String(indicator.currency);
    event.importance = indicator.importance;
    event.name = QLatin1String(indicator.name);
    if (!indicator.suffix) return event;
    const double previous = indicator.typical + indicator.spread * random.signedUnit();
    const double forecast = previous + indicator.spread * 0.3 * random.signedUnit();
    const double actual = forecast + indicator.spread * 0.4 * random.signedUnit();
    event.previous = formatValue(previous, indicator);
    if (!random.oneIn(8)) event.forecast = formatValue(forecast, indicator);
    event.actual = formatValue(actual, indicator);
    return event;
}

// Indicators in random order, each once before any comes again.
class IndicatorDeck {
public:
    const Indicator& draw(WeekRandom& random) {
        if (next_ == order_.size()) shuffle(random);
        return indicators[order_[next_++]];
    }

private:
    void shuffle(WeekRandom& random) {
        for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
        for (size_t i = order_.size() - 1; i > 0; --i)
            std::swap(order_[i], order_[size_t(random.below(int(i) + 1))]);
        next_ = 0;
    }
    std::array<size_t, indicators.size()> order_{};
    size_t next_ = indicators.size();
};

// Weekdays carry the releases; now and then one falls on the Sunday.
void addReleases(std::vector<CalendarEvent>& events, QDate monday, int eventsPerWeek,
                 WeekRandom& random) {
    IndicatorDeck deck;
    const int count = eventsPerWeek > 0 ? eventsPerWeek : 25 + random.below(15);
    for (int i = 0; i < count; ++i) {
        const Indicator& indicator = deck.draw(random);
        events.push_back(releaseOf(indicator, monday.addDays(random.below(5)), random));
    }
    if (eventsPerWeek == 0 && random.oneIn(3))
        events.push_back(releaseOf(deck.draw(random), monday.addDays(6), random));
}

void addHoliday(std::vector<CalendarEvent>& events, QDate monday, WeekRandom& random) {
    if (!random.oneIn(3)) return;
    const Holiday& holiday = holidays[size_t(random.below(int(holidays.size())))];
    CalendarEvent note;
    note.date = monday.addDays(random.below(5));
    note.time = QStringLiteral("All Day");
    note.currency = QLatin1String(holiday.currency);
    note.name = QLatin1String(holiday.note);
    note.holiday = true;
    events.push_back(note);
}

// Holiday notes first in their day, then by time; equal times keep their order.
void sortByDay(std::vector<CalendarEvent>& events) {
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) {
        if (a.date != b.date) return a.date < b.date;
        if (a.holiday != b.holiday) return a.holiday;
        return a.timeOfDay < b.timeOfDay;
    });
}

// An actual value shows once the release is out; a tentative one only from the next day on.
void hideFutureActuals(std::vector<CalendarEvent>& events, const QDateTime& now) {
    for (auto& event : events) {
        const bool tentative = event.time == QLatin1String("Tentative");
        const bool out =
            tentative ? event.date < now.date() : QDateTime(event.date, event.timeOfDay) <= now;
        if (!out) event.actual.clear();
    }
}

} // namespace

std::vector<CalendarEvent> eventsSoonAfter(const QDateTime& start) {
    const QDateTime minute(start.date(), QTime(start.time().hour(), start.time().minute()));
    struct Soon {
        int minutes;
        const Indicator& indicator;
    };
    const std::array soon{Soon{3, indicatorNamed("USD", "Nonfarm Payrolls")},
                          Soon{6, indicatorNamed("EUR", "CPI (YoY)")},
                          Soon{10, indicatorNamed("GBP", "Manufacturing PMI")}};
    WeekRandom random(start.date());
    std::vector<CalendarEvent> events;
    for (const Soon& s : soon) {
        const QDateTime when = minute.addSecs(60 * s.minutes);
        CalendarEvent event = releaseOf(s.indicator, when.date(), random);
        event.timeOfDay = when.time();
        event.time = when.time().toString(QStringLiteral("hh:mm"));
        events.push_back(event);
    }
    return events;
}

std::vector<CalendarEvent> weekEvents(QDate monday, const QDateTime& now,
                                      const std::vector<CalendarEvent>& extra, int eventsPerWeek) {
    WeekRandom random(monday);
    std::vector<CalendarEvent> events;
    addReleases(events, monday, eventsPerWeek, random);
    addHoliday(events, monday, random);
    for (const auto& event : extra)
        if (mondayOf(event.date) == monday) events.push_back(event);
    sortByDay(events);
    hideFutureActuals(events, now);
    const int firstId = int(monday.toJulianDay() % 100000) * 1000;
    for (size_t i = 0; i < events.size(); ++i) events[i].id = firstId + int(i);
    return events;
}

} // namespace newsbell
