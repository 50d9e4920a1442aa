// The demonstration calendar as the program sees it: served, loaded by Chromium, serialised the
// legacy way and read by the extraction.
#include "BrowserTestSupport.h"
#include "base/Cp1251.h"
#include "calendar/CalendarServer.h"
#include "calendar/CalendarWeek.h"
#include "core/Extraction.h"

#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

const QDateTime wednesdayNoon(QDate(2026, 12, 9), QTime(12, 0));

class CalendarPage : public ::testing::Test {
protected:
    void SetUp() override {
        server.start();
        ASSERT_TRUE(load(host, QUrl(server.url())));
    }

    // Runs a script that makes the page load another week, and waits for it.
    bool runWeekScript(const QString& script) {
        QSignalSpy documents(&host, &BrowserHost::documentComplete);
        host.runScript(script, QStringLiteral("JavaScript"));
        return documents.wait(20000);
    }

    QDate pageDate() { return readPageDate(host.bodyHtml(), 2026); }

    // The loaded page extracts into one row per generated event of that week, holidays aside.
    void expectRowsOfWeek(QDate monday) {
        EventTable table;
        EXPECT_EQ(extractEvents(host.bodyHtml(), table, ExtractionOptions(2026)), monday);
        std::vector<CalendarEvent> expected;
        for (const auto& event : weekEvents(monday, wednesdayNoon, eventsSoonAfter(wednesdayNoon)))
            if (!event.holiday) expected.push_back(event);
        ASSERT_EQ(table.rowCount(), int(expected.size()) + 1);
        for (size_t i = 0; i < expected.size(); ++i) {
            const CalendarEvent& event = expected[i];
            const Row& row = table.row(int(i) + 1);
            SCOPED_TRACE(i);
            EXPECT_EQ(row[0], std::to_string(i + 1));
            EXPECT_EQ(row[1], event.date.toString(QStringLiteral("yyyy.MM.dd")).toStdString());
            EXPECT_EQ(row[2], std::to_string(event.date.dayOfWeek() % 7));
            EXPECT_EQ(row[3], event.time.toStdString());
            EXPECT_EQ(row[4], event.currency.toStdString());
            EXPECT_EQ(row[5], std::to_string(event.importance));
            EXPECT_EQ(row[6], " " + event.name.toStdString());
            EXPECT_EQ(row[7], event.actual.toStdString());
            EXPECT_EQ(row[8], event.forecast.toStdString());
            EXPECT_EQ(row[9], event.previous.toStdString());
        }
    }

    TestClock clock{wednesdayNoon};
    CalendarServer server{clock};
    WebEngineBrowserHost host;
};

TEST_F(CalendarPage, extracts_into_the_rows_of_the_generated_week) {
    const std::string body = host.bodyHtml();
    EXPECT_NE(body.find("year=2026"), std::string::npos);
    EXPECT_LT(body.find("year="), body.find("eco_date_full_date value=07122026 "));
    expectRowsOfWeek(QDate(2026, 12, 7));
}

TEST_F(CalendarPage, a_week_into_the_new_year_is_dated_in_both_years) {
    ASSERT_TRUE(runWeekScript(QStringLiteral("CP_tmpReturnFunction(2026,12,28);")));
    expectRowsOfWeek(QDate(2026, 12, 28));
}

TEST_F(CalendarPage, shows_its_demonstration_banner) {
    EXPECT_NE(host.bodyHtml().find(toCp1251(QStringLiteral("Демонстрационный календарь"))),
              std::string::npos);
}

TEST_F(CalendarPage, week_script_loads_the_week_holding_the_date) {
    ASSERT_TRUE(
        runWeekScript(QStringLiteral("CP_targetInput=-1;CP_change_time('weekly');"
                                     "CP_tmpReturnFunction(2010,3,10);CP_hideCalendar('0');")));
    EXPECT_EQ(pageDate(), QDate(2010, 3, 8));
    ASSERT_TRUE(
        runWeekScript(QStringLiteral("CP_targetInput=-1;CP_change_time('weekly');"
                                     "CP_tmpReturnFunction(2011,1,2);CP_hideCalendar('0');")));
    EXPECT_EQ(pageDate(), QDate(2010, 12, 27));
}

TEST_F(CalendarPage, the_body_is_read_from_inside_the_load_notification_week_after_week) {
    std::vector<QDate> read, expected;
    QObject::connect(&host, &BrowserHost::downloadComplete, &host, [&] {
        try {
            read.push_back(pageDate());
        } catch (const std::exception& failure) {
            ADD_FAILURE() << failure.what();
        }
    });
    for (int week = 0; week < 8; ++week) {
        const QDate monday = QDate(2010, 3, 8).addDays(7 * week);
        expected.push_back(monday);
        ASSERT_TRUE(runWeekScript(QStringLiteral("CP_tmpReturnFunction(%1,%2,%3);")
                                      .arg(monday.year())
                                      .arg(monday.month())
                                      .arg(monday.day())));
    }
    EXPECT_EQ(read, expected);
}

TEST_F(CalendarPage, set_up_script_with_an_empty_date_does_not_reload) {
    QSignalSpy navigations(&host, &BrowserHost::beforeNavigate);
    host.runScript(
        QStringLiteral("CP_targetInput=-1;CP_change_time('weekly');CP_tmpReturnFunction('');"
                       "CP_hideCalendar('0');"),
        QStringLiteral("JavaScript"));
    EXPECT_FALSE(navigations.wait(1000));
    EXPECT_EQ(pageDate(), QDate(2026, 12, 7));
}

} // namespace
} // namespace newsbell::testing
