#include "calendar/CalendarWeek.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

const QDate monday(2026, 12, 7);
const QDateTime wednesdayNoon(QDate(2026, 12, 9), QTime(12, 0));

bool isTentative(const CalendarEvent& event) {
    return event.time == QStringLiteral("Tentative");
}

TEST(WeekEvents, depend_on_the_monday_alone) {
    const auto a = weekEvents(monday, wednesdayNoon, {});
    const auto b = weekEvents(monday, wednesdayNoon, {});
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].id, b[i].id);
        EXPECT_EQ(a[i].name, b[i].name);
        EXPECT_EQ(a[i].time, b[i].time);
        EXPECT_EQ(a[i].previous, b[i].previous);
    }
    const auto other = weekEvents(monday.addDays(7), wednesdayNoon, {});
    EXPECT_FALSE(a.size() == other.size() && a.front().name == other.front().name &&
                 a.back().name == other.back().name);
}

TEST(WeekEvents, look_like_a_real_week_across_many_weeks) {
    const QSet<QString> currencies{
        QStringLiteral("EUR"), QStringLiteral("USD"), QStringLiteral("CHF"), QStringLiteral("JPY"),
        QStringLiteral("GBP"), QStringLiteral("AUD"), QStringLiteral("CAD"), QStringLiteral("NZD")};
    const QRegularExpression negativeZero(QStringLiteral("^-0(\\.0+)?[^0-9]*$"));
    int tentative = 0, holidays = 0, withoutForecast = 0;
    for (int week = 0; week < 52; ++week) {
        const QDate first = monday.addDays(7 * week);
        const auto events = weekEvents(first, wednesdayNoon, {});
        EXPECT_GE(events.size(), 20u);
        for (const auto& event : events) {
            EXPECT_TRUE(currencies.contains(event.currency)) << event.currency.toStdString();
            EXPECT_GE(event.date, first);
            EXPECT_LE(event.date, first.addDays(6));
            if (event.holiday) {
                ++holidays;
                EXPECT_EQ(event.time, QStringLiteral("All Day"));
                EXPECT_EQ(event.importance, 0);
                continue;
            }
            EXPECT_GE(event.importance, 1);
            EXPECT_LE(event.importance, 3);
            tentative += isTentative(event);
            withoutForecast += event.forecast.isEmpty() && !event.previous.isEmpty();
            EXPECT_FALSE(negativeZero.match(event.previous).hasMatch());
        }
    }
    EXPECT_GT(tentative, 0);
    EXPECT_GT(holidays, 0);
    EXPECT_GT(withoutForecast, 0);
}

TEST(WeekEvents, are_in_day_and_time_order_with_holiday_notes_first) {
    const auto events = weekEvents(monday, wednesdayNoon, {});
    for (size_t i = 1; i < events.size(); ++i) {
        const auto& before = events[i - 1];
        const auto& after = events[i];
        ASSERT_LE(before.date, after.date);
        if (before.date != after.date) continue;
        EXPECT_FALSE(after.holiday && !before.holiday);
        if (!before.holiday) {
            EXPECT_LE(before.timeOfDay, after.timeOfDay);
        }
    }
}

TEST(WeekEvents, show_actual_values_only_once_they_are_out) {
    for (const auto& event : weekEvents(monday, wednesdayNoon, {})) {
        if (event.holiday || event.previous.isEmpty()) continue;
        const bool out = isTentative(event)
                             ? event.date < wednesdayNoon.date()
                             : QDateTime(event.date, event.timeOfDay) <= wednesdayNoon;
        EXPECT_EQ(!event.actual.isEmpty(), out) << event.name.toStdString();
    }
    // A past week has every value out; a future one none.
    for (const auto& event : weekEvents(monday.addDays(-7), wednesdayNoon, {}))
        EXPECT_EQ(event.actual.isEmpty(), event.holiday || event.previous.isEmpty());
    for (const auto& event : weekEvents(monday.addDays(7), wednesdayNoon, {}))
        EXPECT_TRUE(event.actual.isEmpty());
}

TEST(WeekEvents, give_the_number_of_events_asked_for) {
    const auto events = weekEvents(monday, wednesdayNoon, {}, 500);
    int releases = 0;
    for (const auto& event : events) releases += !event.holiday;
    EXPECT_EQ(releases, 500);
}

TEST(EventsSoonAfter, come_a_few_minutes_after_start_in_that_week) {
    const QDateTime start(QDate(2026, 12, 9), QTime(14, 27, 40));
    const auto soon = eventsSoonAfter(start);
    ASSERT_EQ(soon.size(), 3u);
    EXPECT_EQ(soon[0].time, QStringLiteral("14:30"));
    EXPECT_EQ(soon[2].time, QStringLiteral("14:37"));
    QSet<int> importances;
    for (const auto& event : soon) importances << event.importance;
    EXPECT_TRUE(importances.contains(3));

    const auto week = weekEvents(monday, start, soon);
    int found = 0;
    for (const auto& event : week)
        found += event.date == start.date() && event.time == QStringLiteral("14:30");
    EXPECT_GE(found, 1);
    EXPECT_EQ(weekEvents(monday.addDays(7), start, soon).size(),
              weekEvents(monday.addDays(7), start, {}).size());
}

TEST(EventsSoonAfter, just_before_midnight_fall_on_the_next_day) {
    const auto soon = eventsSoonAfter(QDateTime(QDate(2026, 12, 13), QTime(23, 55)));
    EXPECT_EQ(soon[0].date, QDate(2026, 12, 13));
    EXPECT_EQ(soon[0].time, QStringLiteral("23:58"));
    EXPECT_EQ(soon[1].date, QDate(2026, 12, 14));
    EXPECT_EQ(soon[1].time, QStringLiteral("00:01"));
}

} // namespace
} // namespace newsbell
