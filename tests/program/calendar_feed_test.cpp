#include "base/Error.h"
#include "program/CalendarFeed.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/SilentServer.h"
#include "tests/support/TestClock.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <gtest/gtest.h>
#include <httplib.h>
#include <thread>

namespace newsbell {
namespace {

using testing::FakeBrowser;
using testing::RecordingMessages;

const QUrl page("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show&week=2024-03-11");

StartOptions feedOptions(std::optional<QString> local, std::optional<QString> feed) {
    StartOptions options;
    options.calendarFeed = "feed.xml";
    options.timeZone = std::move(local);
    options.feedTimeZone = std::move(feed);
    return options;
}

TEST(FeedSettings, zones_default_to_the_computer_and_utc_and_unknown_ones_fail) {
    const FeedSettings defaults = feedSettings(feedOptions({}, {}));
    EXPECT_EQ(defaults.source, "feed.xml");
    EXPECT_EQ(defaults.zones.local, QTimeZone::systemTimeZone());
    EXPECT_EQ(defaults.zones.feed, QTimeZone::utc());
    const FeedSettings given = feedSettings(feedOptions("Europe/Berlin", "Asia/Tokyo"));
    EXPECT_EQ(given.zones.local.id(), "Europe/Berlin");
    EXPECT_EQ(given.zones.feed.id(), "Asia/Tokyo");
    for (const char* wrong : {"Mars/Olympus", "UTC+03:00", "W. Europe Standard Time"}) {
        EXPECT_THROW(feedSettings(feedOptions(wrong, {})), Error) << wrong;
        EXPECT_THROW(feedSettings(feedOptions({}, wrong)), Error) << wrong;
    }
}

const FeedZones berlin{QTimeZone("Europe/Berlin"), QTimeZone("America/New_York")};
const QByteArray oneEvent =
    "<weeklyevents><event><title>Kept</title><date>03-12-2024</date></event></weeklyevents>";

// The weekly page the feed serves now, asked from another thread, as the browser does.
std::future<std::string> askForPage(const CalendarFeed& feed) {
    return std::async(std::launch::async, [port = feed.server().port()] {
        httplib::Client client("127.0.0.1", port);
        client.set_read_timeout(60);
        const auto answer = client.Get("/e_cal.php?duration=weekly&week=2024-03-11");
        return answer ? answer->body : std::string("<no answer>");
    });
}

bool answered(std::future<std::string>& reply, std::chrono::milliseconds within) {
    return reply.wait_for(within) == std::future_status::ready;
}

TEST(FirstReadPages, a_window_s_page_waits_for_the_first_read_unless_a_kept_copy_can_serve) {
    QTemporaryDir folder;
    testing::TestClock clock{QDateTime(QDate(2024, 3, 12), QTime(10, 0))};
    QFile file(folder.filePath("feed.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(oneEvent);
    file.close();
    {
        CalendarFeed feed({file.fileName(), berlin, folder.filePath("cache")}, clock,
                          CalendarFeed::ReadByWindow);
        std::future<std::string> served = askForPage(feed);
        EXPECT_FALSE(answered(served, std::chrono::milliseconds(300))) << "served before any read";
        feed.read();
        ASSERT_TRUE(answered(served, std::chrono::seconds(10)));
        EXPECT_NE(served.get().find("Kept"), std::string::npos);
    }
    // A server that never answers: the copy kept from before serves while the read waits.
    std::optional<testing::SilentServer> silent(std::in_place);
    FeedCache(folder.filePath("cache")).store(silent->url(), {oneEvent, {}, clock.now()});
    auto feed = std::make_shared<CalendarFeed>(
        FeedSettings{silent->url(), berlin, folder.filePath("cache")}, clock,
        CalendarFeed::ReadByWindow);
    const std::weak_ptr<CalendarFeed> kept = feed;
    FakeBrowser browser;
    RecordingMessages messages;
    ErrorReporter errors{messages};
    auto refresher = std::make_unique<FeedRefresher>(feed, browser, errors, page);
    refresher->refresh(); // as the window's loop does at once
    std::future<std::string> served = askForPage(*feed);
    ASSERT_TRUE(answered(served, std::chrono::seconds(10)));
    EXPECT_NE(served.get().find("Kept"), std::string::npos);
    // The read runs on its own thread and may reach the server after the page is served.
    for (int waited = 0; silent->connections() == 0 && waited < 10000; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(silent->connections(), 1);
    EXPECT_FALSE(feed->wasRead());
    feed.reset();
    EXPECT_FALSE(kept.expired()) << "the read under way keeps its feed";
    refresher.reset(); // cancels the read and does not wait for it
    EXPECT_TRUE(messages.shown.isEmpty());
    silent.reset(); // the read ends, and the feed with it
    for (int i = 0; i < 200 && !kept.expired(); ++i) QTest::qWait(25);
    EXPECT_TRUE(kept.expired());
}

class FeedRefresherTest : public ::testing::Test {
protected:
    void SetUp() override {
        write("<weeklyevents/>");
        ASSERT_EQ(feed->read().error, "");
        refresher = std::make_unique<FeedRefresher>(feed, browser, errors, page);
    }

    void write(const QByteArray& document) {
        QFile file(folder.filePath("feed.xml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(document);
    }

    void refresh() {
        QSignalSpy finished(refresher.get(), &FeedRefresher::readFinished);
        refresher->refresh();
        ASSERT_TRUE(finished.wait(5000));
    }

    QTemporaryDir folder;
    testing::TestClock clock{QDateTime(QDate(2024, 3, 12), QTime(10, 0))};
    std::shared_ptr<CalendarFeed> feed = std::make_shared<CalendarFeed>(
        FeedSettings{folder.filePath("feed.xml"), berlin, folder.filePath("cache")}, clock,
        CalendarFeed::ReadByWindow);
    FakeBrowser browser;
    RecordingMessages messages;
    ErrorReporter errors{messages};
    std::unique_ptr<FeedRefresher> refresher;
};

TEST_F(FeedRefresherTest, reloads_the_page_shown_only_when_the_weeks_changed) {
    refresh();
    EXPECT_TRUE(browser.visited.empty());
    const QUrl other("http://127.0.0.1:9/e_cal.php?duration=weekly&week=2024-03-18");
    emit browser.beforeNavigate(other);
    write("<weeklyevents><event><title>x</title><date>03-19-2024</date></event></weeklyevents>");
    refresh();
    EXPECT_EQ(browser.visited, std::vector<QUrl>{other});
    EXPECT_TRUE(messages.shown.isEmpty());
}

// The page's banner tells since when the source fails; the page is loaded again to show it.
TEST_F(FeedRefresherTest, tells_a_failure_once_and_reloads_when_the_source_fails_or_comes_back) {
    ASSERT_TRUE(QFile::remove(folder.filePath("feed.xml")));
    refresh();
    refresh();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].contains("не прочитан")) << messages.shown[0].toStdString();
    EXPECT_TRUE(messages.shown[0].contains("В работе копия"));
    EXPECT_EQ(browser.visited.size(), 1u);
    write("<weeklyevents><event><title>no date</title></event></weeklyevents>");
    refresh();
    ASSERT_EQ(messages.shown.size(), 2); // the warning of the new document
    EXPECT_TRUE(messages.shown[1].contains("строка 1: событие без даты пропущено"));
    EXPECT_EQ(browser.visited.size(), 2u);
    write("<weeklyevents");
    refresh();
    EXPECT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(browser.visited.size(), 3u);
}

} // namespace
} // namespace newsbell
