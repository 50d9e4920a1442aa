#include "base/Error.h"
#include "calendar/CalendarServer.h"
#include "tests/support/TestClock.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace newsbell {
namespace {

// The body of a GET of path, or the status text when it is not 200.
std::string get(const CalendarServer& server, const std::string& path) {
    httplib::Client client("127.0.0.1", server.port());
    const auto result = client.Get(path);
    if (!result) return "no answer";
    if (result->status != 200) return "status " + std::to_string(result->status);
    return result->body;
}

class CalendarServerTest : public ::testing::Test {
protected:
    testing::TestClock clock{QDateTime(QDate(2026, 12, 9), QTime(12, 0))};
    CalendarServer server{clock};
};

TEST_F(CalendarServerTest, serves_the_current_week_at_its_url) {
    server.start();
    ASSERT_TRUE(server.isRunning());
    EXPECT_GT(server.port(), 0);
    EXPECT_EQ(server.url(), QStringLiteral("http://127.0.0.1:%1/e_cal.php?duration=weekly&"
                                           "timezone_panel=show")
                                .arg(server.port()));
    const std::string page = get(server, "/e_cal.php?duration=weekly&timezone_panel=show");
    EXPECT_NE(page.find("value=\"07122026\""), std::string::npos) << page.substr(0, 200);
    EXPECT_EQ(get(server, "/e_cal.php"), page);
}

TEST_F(CalendarServerTest, serves_the_week_holding_a_requested_date) {
    server.start();
    EXPECT_NE(get(server, "/e_cal.php?duration=weekly&timezone_panel=show&week=2011-01-02")
                  .find("value=\"27122010\""),
              std::string::npos);
    EXPECT_TRUE(server.weekUrl(QDate(2010, 3, 10)).endsWith(QStringLiteral("&week=2010-03-10")));
    EXPECT_EQ(get(server, "/e_cal.php?week=2010-02-30"), "status 400");
    EXPECT_EQ(get(server, "/e_cal.php?week=soon"), "status 400");
    EXPECT_EQ(get(server, "/other.php"), "status 404");
}

TEST_F(CalendarServerTest, refuses_a_port_that_is_taken_and_a_second_start) {
    server.start();
    EXPECT_THROW(server.start(), Error);
    CalendarServer second(clock);
    EXPECT_THROW(second.start(server.port()), Error);
    EXPECT_FALSE(second.isRunning());
}

TEST_F(CalendarServerTest, stops_and_starts_again_on_a_given_port) {
    server.start();
    const int port = server.port();
    server.stop();
    EXPECT_FALSE(server.isRunning());
    server.stop();
    server.start(port);
    EXPECT_EQ(server.port(), port);
    EXPECT_NE(get(server, "/e_cal.php").find("eco_date_full_date"), std::string::npos);
}

TEST_F(CalendarServerTest, answers_requests_in_parallel) {
    server.start();
    std::vector<std::thread> clients;
    std::vector<std::string> pages(8);
    for (size_t i = 0; i < pages.size(); ++i)
        clients.emplace_back([&, i] {
            pages[i] = get(server, "/e_cal.php?week=2026-01-0" + std::to_string(i + 1));
        });
    for (auto& client : clients) client.join();
    for (const auto& page : pages) EXPECT_NE(page.find("eco_date_full_date"), std::string::npos);
}

} // namespace
} // namespace newsbell
