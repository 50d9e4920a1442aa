#include "base/Cp1251.h"
#include "core/AlertPass.h"

#include <gtest/gtest.h>

using namespace newsbell;

namespace {

const QDate today(2010, 5, 24);

// Columns 1 and 3 to 9 of an event row; the number and weekday do not matter here.
struct Event {
    Event(std::string atTime = "14:30", std::string inCurrency = "USD",
          std::string ofImportance = "3", std::string named = " GDP", std::string actualValue = "",
          std::string onDate = "2010.05.24")
        : time(std::move(atTime)), currency(std::move(inCurrency)),
          importance(std::move(ofImportance)), name(std::move(named)),
          actual(std::move(actualValue)), date(std::move(onDate)) {}
    std::string time, currency, importance, name, actual, date, forecast = "0.5%",
                                                                previous = "0.4%";
};

std::vector<DueAlert> dueAlerts(const EventTable& table, const AlertSettings& settings, QDate day,
                                QTime now) {
    std::vector<DueAlert> due;
    runAlertPass(table, settings, day, now,
                 [&due](const DueAlert& alert) { due.push_back(alert); });
    return due;
}

EventTable tableOf(const std::vector<Event>& events) {
    EventTable table;
    table.writeTitles();
    for (const Event& e : events)
        table.appendRow({std::to_string(table.rowCount()), e.date, "1", e.time, e.currency,
                         e.importance, e.name, e.actual, e.forecast, e.previous});
    table.fixTitleRow();
    return table;
}

std::vector<int> dueRows(const std::vector<Event>& events, QTime now, AlertSettings settings = {}) {
    std::vector<int> rows;
    for (const DueAlert& alert : dueAlerts(tableOf(events), settings, today, now))
        rows.push_back(alert.row);
    return rows;
}

std::string utf8(const std::string& cp1251) {
    return cp1251ToUtf8(cp1251);
}

TEST(AlertPass, an_event_is_due_strictly_inside_the_windows_in_whole_seconds) {
    struct Case {
        QTime now;
        bool due;
    } cases[] = {{QTime(13, 59), false},  {QTime(14, 0), false}, {QTime(14, 0, 0, 999), false},
                 {QTime(14, 0, 1), true}, {QTime(14, 30), true}, {QTime(14, 39, 59), true},
                 {QTime(14, 40), false},  {QTime(14, 41), false}};
    for (const Case& c : cases)
        EXPECT_EQ(dueRows({Event{}}, c.now).size(), c.due ? 1u : 0u)
            << c.now.toString().toStdString();

    AlertSettings wide;
    wide.leadHours = "1";
    wide.leadMinutes = "5";
    wide.afterMinutes = "0";
    EXPECT_EQ(dueRows({Event{}}, QTime(13, 25, 1), wide).size(), 1u);
    EXPECT_EQ(dueRows({Event{}}, QTime(13, 25), wide).size(), 0u);
    EXPECT_EQ(dueRows({Event{}}, QTime(14, 29, 59), wide).size(), 1u);
    EXPECT_EQ(dueRows({Event{}}, QTime(14, 30), wide).size(), 0u) << "after 0: nothing past";
}

TEST(AlertPass, only_rows_of_today_with_a_time_of_day_are_examined_all_of_them) {
    Event tomorrow{"00:10", "USD", "3", " GDP", "", "2010.05.25"};
    Event late{"23:59"};
    EXPECT_EQ(dueRows({tomorrow, late}, QTime(23, 50)), std::vector<int>{2})
        << "times do not wrap past midnight";

    // Not times of day: skipped like "Tentative", even where the windows could not be read.
    AlertSettings broken;
    broken.afterMinutes = "";
    std::vector<Event> untimed;
    for (const char* time : {"Tentative", "All Day", "", "25:00", "14:30x"})
        untimed.push_back(Event{time});
    EXPECT_TRUE(dueRows(untimed, QTime(14, 30), broken).empty());

    // The last rows of a table are examined like the others.
    EXPECT_EQ(dueRows({Event{}, Event{}, Event{}}, QTime(14, 30)), (std::vector<int>{1, 2, 3}));
    std::vector<Event> week(6, Event{"09:00"});
    week.push_back(Event{});
    EXPECT_EQ(dueRows(week, QTime(14, 30)), std::vector<int>{7});
}

TEST(AlertPass, window_fields_that_are_not_times_fail_when_a_row_of_today_needs_them) {
    struct Case {
        std::string hours, minutes, after, error;
    } cases[] = {{"00", "30", "", "'00:' is not a valid time"},
                 {"00", "30", "75", "'00:75' is not a valid time"},
                 {"24", "30", "10", "'24:30' is not a valid time"},
                 {"0", "-5", "10", "'0:-5' is not a valid time"}};
    for (const Case& c : cases) {
        AlertSettings settings;
        settings.leadHours = c.hours;
        settings.leadMinutes = c.minutes;
        settings.afterMinutes = c.after;
        try {
            dueRows({Event{"14:30", "USD", "3", " GDP", "", "2010.05.21"}, Event{}}, QTime(14, 30),
                    settings);
            ADD_FAILURE() << c.error;
        } catch (const std::exception& failure) {
            EXPECT_EQ(failure.what(), c.error);
        }
        EXPECT_TRUE(
            dueRows({Event{"14:30", "USD", "3", " GDP", "", "2010.05.21"}}, QTime(14, 30), settings)
                .empty())
            << "no row of today, no need for the windows";
    }
}

TEST(AlertPass, cleared_boxes_exclude_exactly_their_rows) {
    const std::vector<Event> events = {
        {"14:30", "EUR", "1"}, {"14:30", "USD", "2"}, {"14:30", "CNY", "3"}, {"14:30", "JPY", ""}};
    struct Case {
        std::vector<int> clearedCurrencies, clearedImportances;
        std::vector<int> due;
    } cases[] = {{{}, {}, {1, 2, 3, 4}}, {{0}, {}, {2, 3, 4}}, {{0, 1, 2, 3, 4, 5, 6, 7}, {}, {3}},
                 {{}, {1}, {1, 3, 4}},   {{}, {0, 1, 2}, {4}}, {{1}, {0}, {3, 4}}};
    for (const Case& c : cases) {
        AlertSettings settings;
        for (int i : c.clearedCurrencies) settings.currencies[size_t(i)] = false;
        for (int i : c.clearedImportances) settings.importances[size_t(i)] = false;
        EXPECT_EQ(dueRows(events, QTime(14, 30), settings), c.due);
    }
}

TEST(AlertPass, composes_the_worked_example_byte_for_byte) {
    const std::vector<DueAlert> due = dueAlerts(tableOf({Event{}}), {}, today, QTime(14, 5));
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(utf8(due[0].statusLine), "2010.05.24 14:30 USD 3  GDP  0.5% 0.4% ");
    EXPECT_EQ(utf8(due[0].message),
              "<b>2010.05.24</b> 14:30 USD  <i> <b>Высокая важность </i></b> <br><b><q> "
              "GDP</q></b><br> 0.5% 0.4% <br> Начнется через <b>0:25:00 </b>");
}

TEST(AlertPass, phrases_belong_to_their_own_row_and_cells_are_escaped_in_markup_only) {
    AlertSettings settings;
    settings.leadHours = "2";
    settings.afterMinutes = "30";
    const std::vector<Event> events = {{"14:00:30", "USD", "1", " S&P <500>"},
                                       {"14:30", "USD", ""},
                                       {"15:35:30", "USD", "2", " GDP", "a&b"}};
    const std::vector<DueAlert> all =
        dueAlerts(tableOf(events), settings, today, QTime(14, 30, 0, 700));
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(utf8(all[0].statusLine), "2010.05.24 14:00:30 USD 1  S&P <500>  0.5% 0.4% ");
    EXPECT_EQ(utf8(all[0].message),
              "<b>2010.05.24</b> 14:00:30 USD  <i> <b>Низкая важность </i></b> <br><b><q> "
              "S&amp;P &lt;500></q></b><br> 0.5% 0.4% <br> Закончилось  <b>0:29:30 назад</b>");
    EXPECT_EQ(utf8(all[1].message),
              "<b>2010.05.24</b> 14:30 USD  <br><b><q> GDP</q></b><br> 0.5% 0.4%")
        << "no importance 1-3 and exactly now: both phrases empty";
    EXPECT_EQ(utf8(all[2].message),
              "<b>2010.05.24</b> 15:35:30 USD  <i> <b>Средняя важность </i></b> <br><b><q> "
              "GDP</q></b><br>a&amp;b 0.5% 0.4% <br> Начнется через <b>1:05:30 </b>");
}

} // namespace

namespace {

// The tray names the event soon to come (inside the lead window) and the one after it.
TEST(AlertPass, soon_and_next_events_are_the_earliest_inside_and_beyond_the_lead_window) {
    AlertSettings noEuro;
    noEuro.currencies[0] = false;
    const EventTable table = tableOf(
        {Event{"14:30"}, Event{"16:00"}, Event{"15:00", "EUR"}, Event{"15:30"}, Event{"All Day"},
         Event{"15:10", "USD", "3", " Tomorrow", "", "2010.05.25"}, Event{"14:20"}});
    EXPECT_EQ(nextEventRow(table, noEuro, today, QTime(14, 5)), 4); // 14:30 is already due
    EXPECT_EQ(nextEventRow(table, AlertSettings{}, today, QTime(14, 5)), 3);
    EXPECT_EQ(nextEventRow(table, AlertSettings{}, today, QTime(15, 31)), std::nullopt);
    EXPECT_EQ(soonEventRow(table, AlertSettings{}, today, QTime(14, 5)), 7);
    EXPECT_EQ(soonEventRow(table, AlertSettings{}, today, QTime(14, 20)), 1) << "14:20 began";
    EXPECT_EQ(soonEventRow(table, noEuro, today, QTime(14, 35)), std::nullopt) << "EUR 15:00";
    EXPECT_EQ(soonEventRow(table, AlertSettings{}, today, QTime(14, 35)), 3);
}

} // namespace
