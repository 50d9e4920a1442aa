#include "calendar/WeekPage.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

const QDate monday(2026, 12, 7);

CalendarEvent release(QDate date, const char* time, const char* name) {
    CalendarEvent event;
    event.id = 42;
    event.date = date;
    event.time = QString::fromUtf8(time);
    event.currency = QStringLiteral("USD");
    event.importance = 2;
    event.name = QString::fromUtf8(name);
    event.forecast = QStringLiteral("0.3%");
    event.previous = QStringLiteral("0.1%");
    return event;
}

QString page(const std::vector<CalendarEvent>& events) {
    return QString::fromUtf8(weekPageHtml(monday, events));
}

TEST(WeekPagePath, names_the_weekly_page_and_optionally_a_week) {
    EXPECT_EQ(weekPagePath(), QStringLiteral("/e_cal.php?duration=weekly&timezone_panel=show"));
    EXPECT_EQ(weekPagePath(QDate(2010, 3, 8)),
              QStringLiteral("/e_cal.php?duration=weekly&timezone_panel=show&week=2010-03-08"));
}

TEST(WeekPageHtml, carries_the_page_date_after_the_year_link) {
    const QString html = page({});
    const auto year = html.indexOf(QStringLiteral("year=2026\""));
    const auto date =
        html.indexOf(QStringLiteral("<input id=\"eco_date_full_date\" value=\"07122026\" type="));
    EXPECT_GE(year, 0);
    EXPECT_GT(date, year);
    EXPECT_EQ(html.indexOf(QStringLiteral("year=")), year);
    EXPECT_TRUE(html.contains(QStringLiteral("Демонстрационный календарь")));
}

TEST(WeekPageHtml, writes_each_cell_of_an_event_in_the_provider_order) {
    CalendarEvent event = release(monday, "13:30", "Nonfarm Payrolls");
    event.actual = QStringLiteral("250K");
    const QString html = page({event});
    const QRegularExpression row(QStringLiteral(
        "<td class=\"ec_td_date\" nowrap>Dec 7</td><td class=\"ec_td_time\">13:30</td>"
        "<td class=\"ec_td_currency\">USD</td><td class=\"ec_td_importance\">"
        "<span class=\"ec_importance2\"[^>]*></span></td><td class=\"ec_td_event\">"
        "<a class=\"ec_b_11\" href=\"javascript:slide\\(42\\)\">Nonfarm Payrolls</a></td>"
        "<td class=\"ec_td_actual\" nowrap><span class=\"ec_actual\">250K</span></td>"
        "<td class=\"ec_td_forecast\">0.3%</td>"
        "<td class=\"ec_td_previous\"><span class=\"ec_previous\">0.1%</span></td>"
        "<td class=\"ec_td_after_previous\">&nbsp;</td>"));
    EXPECT_TRUE(row.match(html).hasMatch()) << html.toStdString();
}

TEST(WeekPageHtml, marks_empty_cells_and_repeated_dates_with_nbsp) {
    CalendarEvent first = release(monday, "08:00", "A");
    CalendarEvent second = release(monday, "09:00", "B");
    second.forecast.clear();
    second.previous.clear();
    CalendarEvent nextDay = release(monday.addDays(1), "Tentative", "C");
    const QString html = page({first, second, nextDay});
    EXPECT_EQ(html.count(QStringLiteral("ec_td_date\" nowrap>Dec 7<")), 1);
    EXPECT_EQ(html.count(QStringLiteral("ec_td_date\" nowrap>&nbsp;<")), 1);
    EXPECT_EQ(html.count(QStringLiteral("ec_td_date\" nowrap>Dec 8<")), 1);
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"ec_td_actual\" nowrap>&nbsp;</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"ec_td_forecast\">&nbsp;</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"ec_td_previous\">&nbsp;</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"ec_td_time\">Tentative</td>")));
}

TEST(WeekPageHtml, writes_holiday_notes_without_a_name_link) {
    CalendarEvent note;
    note.date = monday;
    note.time = QStringLiteral("All Day");
    note.currency = QStringLiteral("JPY");
    note.name = QStringLiteral("Holiday: Japan - National Holiday");
    note.holiday = true;
    const QString html = page({note, release(monday, "09:00", "After")});
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"ec_td_date\" nowrap>Dec 7</td><td "
                                             "class=\"ec_td_time\">All Day</td>")));
    EXPECT_EQ(html.count(QStringLiteral("ec_b_11")), 2); // the style rule and the one event
    EXPECT_TRUE(html.contains(QStringLiteral(">Holiday: Japan - National Holiday</td>")));
}

TEST(WeekPageHtml, escapes_names_that_hold_markup) {
    const QString html = page({release(monday, "10:00", "S&P <500> \"index\"")});
    EXPECT_TRUE(html.contains(QStringLiteral(">S&amp;P &lt;500&gt; &quot;index&quot;</a>")));
}

} // namespace
} // namespace newsbell
