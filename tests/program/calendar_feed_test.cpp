#include "base/Error.h"
#include "program/CalendarFeed.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/TestClock.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

class FeedRefresherTest : public ::testing::Test {
protected:
    void SetUp() override {
        write("<weeklyevents/>");
        ASSERT_EQ(calendar.read().error, "");
    }

    void write(const QByteArray& document) {
        QFile file(folder.filePath("feed.xml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(document);
    }

    void refresh() {
        QSignalSpy finished(&refresher, &FeedRefresher::readFinished);
        refresher.refresh();
        ASSERT_TRUE(finished.wait(5000));
    }

    QTemporaryDir folder;
    testing::TestClock clock{QDateTime(QDate(2024, 3, 12), QTime(10, 0))};
    FeedCalendar calendar{{folder.filePath("feed.xml"),
                           {QTimeZone("Europe/Berlin"), QTimeZone("America/New_York")},
                           folder.filePath("cache")},
                          clock};
    FakeBrowser browser;
    RecordingMessages messages;
    ErrorReporter errors{messages};
    FeedRefresher refresher{calendar, browser, errors, page};
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

TEST_F(FeedRefresherTest, tells_a_failure_once_until_a_read_succeeds_again) {
    ASSERT_TRUE(QFile::remove(folder.filePath("feed.xml")));
    refresh();
    refresh();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].contains("не прочитан")) << messages.shown[0].toStdString();
    EXPECT_TRUE(messages.shown[0].contains("В работе копия"));
    write("<weeklyevents><event><title>no date</title></event></weeklyevents>");
    refresh();
    ASSERT_EQ(messages.shown.size(), 2); // the warning of the new document
    EXPECT_TRUE(messages.shown[1].contains("строка 1: событие без даты пропущено"));
    write("<weeklyevents");
    refresh();
    EXPECT_EQ(messages.shown.size(), 3);
}

} // namespace
} // namespace newsbell
