#include "core/NewsGate.h"

#include <gtest/gtest.h>

using namespace newsbell;

namespace {

// The columns the gate reads: date, time, currency, importance, title.
struct Event {
    std::string date, time, currency, importance, title;
};

EventTable tableOf(const std::vector<Event>& events) {
    EventTable table;
    table.writeTitles();
    for (const Event& e : events)
        table.appendRow({std::to_string(table.rowCount()), e.date, "1", e.time, e.currency,
                         e.importance, e.title, "", "", ""});
    return table;
}

GateSettings only(std::initializer_list<std::string_view> currencies, int before = 30,
                  int after = 30) {
    GateSettings settings;
    settings.beforeMinutes = before;
    settings.afterMinutes = after;
    for (size_t c = 0; c < alertCurrencies.size(); ++c)
        settings.currencies[c] =
            std::ranges::find(currencies, alertCurrencies[c]) != currencies.end();
    return settings;
}

const char* const monday = "2010.05.24";
const char* const tuesday = "2010.05.25";

struct Case {
    const char* what;
    std::vector<Event> events;
    GateSettings settings;
    QDateTime now;
    std::string lines; // joined by "\n"
};

QDateTime at(int hour, int minute, int second = 0, int day = 24) {
    return QDateTime(QDate(2010, 5, day), QTime(hour, minute, second));
}

void expectGate(const Case& c) {
    std::string lines;
    for (const std::string& line :
         gateLines(tableOf(c.events), c.settings, c.now.date(), c.now.time()))
        lines += (lines.empty() ? "" : "\n") + line;
    EXPECT_EQ(lines, c.lines) << c.what;
}

const std::vector<Event> oneEvent = {{monday, "14:30", "USD", "3", " GDP"}};

TEST(NewsGate, a_blackout_runs_from_before_the_event_to_after_it_start_in_end_out) {
    const Case cases[] = {
        {"a second before", oneEvent, only({"USD"}), at(13, 59, 59),
         "USD;0;1;2010.05.24;14:30;3;GDP"},
        {"at its start", oneEvent, only({"USD"}), at(14, 0), "USD;1;3600;2010.05.24;14:30;3;GDP"},
        {"past the event, still inside", oneEvent, only({"USD"}), at(14, 45),
         "USD;1;900;2010.05.24;14:30;3;GDP"},
        {"its last second", oneEvent, only({"USD"}), at(14, 59, 59),
         "USD;1;1;2010.05.24;14:30;3;GDP"},
        {"at its end: no later event", oneEvent, only({"USD"}), at(15, 0), "USD;0;;;;;"},
        {"a day before counts too", oneEvent, only({"USD"}), at(14, 0, 0, 23),
         "USD;0;86400;2010.05.24;14:30;3;GDP"},
        {"before 0: the event's own moment is inside", oneEvent, only({"USD"}, 0, 30), at(14, 30),
         "USD;1;1800;2010.05.24;14:30;3;GDP"},
        {"after 0: the event's own moment is outside", oneEvent, only({"USD"}, 30, 0), at(14, 30),
         "USD;0;;;;;"},
        {"every currency ticked, in box order", oneEvent, GateSettings{}, at(12, 0),
         "EUR;0;;;;;\nUSD;0;7200;2010.05.24;14:30;3;GDP\nCHF;0;;;;;\nJPY;0;;;;;\nGBP;0;;;;;\n"
         "AUD;0;;;;;\nCAD;0;;;;;\nNZD;0;;;;;"},
    };
    for (const Case& c : cases) expectGate(c);
}

TEST(NewsGate, blackouts_that_overlap_or_touch_join_and_name_the_first_event_still_to_come) {
    const std::vector<Event> touching = {{monday, "15:30", "USD", "3", " Later"},
                                         {monday, "14:30", "USD", "3", " Earlier"}};
    const std::vector<Event> apart = {{monday, "14:30", "USD", "3", " First"},
                                      {monday, "15:31", "USD", "3", " Second"}};
    const std::vector<Event> together = {{monday, "14:30", "USD", "3", " One"},
                                         {monday, "14:30", "USD", "3", " Two"}};
    const Case cases[] = {
        {"touching, before both", touching, only({"USD"}), at(14, 10),
         "USD;1;6600;2010.05.24;14:30;3;Earlier"},
        {"touching, between the two", touching, only({"USD"}), at(15, 10),
         "USD;1;3000;2010.05.24;15:30;3;Later"},
        {"touching, both past", touching, only({"USD"}), at(15, 45),
         "USD;1;900;2010.05.24;15:30;3;Later"},
        {"a minute apart: the gap is outside", apart, only({"USD"}), at(15, 0, 30),
         "USD;0;30;2010.05.24;15:31;3;Second"},
        {"a minute apart: the first ends", apart, only({"USD"}), at(14, 59, 59),
         "USD;1;1;2010.05.24;14:30;3;First"},
        {"same moment: table order", together, only({"USD"}), at(14, 0),
         "USD;1;3600;2010.05.24;14:30;3;One"},
        {"same moment, past: the last in table order", together, only({"USD"}), at(14, 40),
         "USD;1;1200;2010.05.24;14:30;3;Two"},
        {"across midnight",
         {{tuesday, "00:10", "USD", "3", " Late"}},
         only({"USD"}),
         at(23, 45),
         "USD;1;3300;2010.05.25;00:10;3;Late"},
        {"across midnight, before it",
         {{tuesday, "00:10", "USD", "3", " Late"}},
         only({"USD"}),
         at(23, 39),
         "USD;0;60;2010.05.25;00:10;3;Late"},
        {"joined across midnight",
         {{monday, "23:50", "USD", "3", " Night"}, {tuesday, "00:40", "USD", "3", " Dawn"}},
         only({"USD"}),
         at(0, 15, 0, 25),
         "USD;1;3300;2010.05.25;00:40;3;Dawn"},
    };
    for (const Case& c : cases) expectGate(c);
}

TEST(NewsGate, with_both_windows_zero_no_moment_is_inside_and_only_later_events_count) {
    const std::vector<Event> two = {{monday, "14:30", "USD", "3", " Now"},
                                    {monday, "15:00", "USD", "3", " Next"}};
    const Case cases[] = {
        {"a minute before", two, only({"USD"}, 0, 0), at(14, 29),
         "USD;0;60;2010.05.24;14:30;3;Now"},
        {"exactly at an event", two, only({"USD"}, 0, 0), at(14, 30),
         "USD;0;1800;2010.05.24;15:00;3;Next"},
        {"exactly at the last event", two, only({"USD"}, 0, 0), at(15, 0), "USD;0;;;;;"},
    };
    for (const Case& c : cases) expectGate(c);
}

TEST(NewsGate, only_timed_rows_of_the_currency_with_a_counted_importance_count) {
    const std::vector<Event> uncounted = {
        {monday, "Tentative", "USD", "3", " Tentative"},
        {monday, "All Day", "USD", "3", " Holiday"},
        {monday, "", "USD", "3", " Empty"},
        {monday, "25:00", "USD", "3", " Unreadable"},
        {monday, "14:30", "USD", "", " No importance"},
        {monday, "14:30", "usd", "3", " Case"},
        {monday, "14:30", " USD", "3", " Blank"},
        {"2010.5.24", "14:30", "USD", "3", " Date"},
        {"", "14:30", "USD", "3", " No date"},
        {monday, "14:30", "USD", "2", " Medium"},
    };
    GateSettings medium = only({"USD"});
    medium.importances = {false, true, false};
    const Case cases[] = {
        {"none counts by default", uncounted, only({"USD"}), at(12, 0), "USD;0;;;;;"},
        {"importance 2 when counted", uncounted, medium, at(12, 0),
         "USD;0;7200;2010.05.24;14:30;2;Medium"},
        {"a currency switched off has no line", oneEvent, only({"EUR", "JPY"}), at(14, 0),
         "EUR;0;;;;;\nJPY;0;;;;;"},
        {"no currency, no lines", oneEvent, only({}), at(14, 0), ""},
        {"a title keeps its line",
         {{monday, "14:30", "EUR", "3", "  A;B\r\nC"}},
         only({"EUR"}),
         at(14, 0),
         "EUR;1;3600;2010.05.24;14:30;3; A,B  C"},
        {"a time with seconds",
         {{monday, "14:30:15", "EUR", "3", "X"}},
         only({"EUR"}),
         at(14, 0),
         "EUR;0;15;2010.05.24;14:30:15;3;X"},
    };
    for (const Case& c : cases) expectGate(c);
}

TEST(NewsGate, the_file_ends_every_line_with_cr_lf) {
    EXPECT_EQ(gateFileText(tableOf(oneEvent), only({"EUR", "USD"}), QDate(2010, 5, 24),
                           QTime(14, 59, 59, 999)),
              "EUR;0;;;;;\r\nUSD;1;1;2010.05.24;14:30;3;GDP\r\n");
    EXPECT_EQ(gateFileText(tableOf({}), only({}), QDate(2010, 5, 24), QTime(12, 0)), "");
}

} // namespace
