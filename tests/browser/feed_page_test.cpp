// A real feed as the program sees it: served by the built-in calendar, loaded by Chromium,
// serialised the legacy way and read by the extraction, which must give back exactly the cells
// the feed maps to.
#include "BrowserTestSupport.h"
#include "base/Cp1251.h"
#include "calendar/CalendarServer.h"
#include "calendar/FeedCalendar.h"
#include "core/Extraction.h"
#include "core/TableTextFile.h"
#include "tests/support/CalendarRows.h"
#include "tests/support/TestClock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

const QDate march11(2024, 3, 11);

// Texts that markup, character references and the table file's ";" could each break.
constexpr char feed[] = R"(<?xml version="1.0" encoding="utf-8"?>
<weeklyevents>
<event><title><![CDATA[S&P 500 <Index> "quoted" 'single' a;b]]></title><country>USD</country>
  <date>03-12-2024</date><time>8:30am</time><impact>High</impact>
  <forecast>&lt;1%</forecast><previous>5&#160;K</previous><actual>2;3</actual></event>
<event><title>a&amp;nbsp;b &amp;#65; &amp;amp;</title><country>A&amp;B</country>
  <date>03-12-2024</date><time>&lt;soon&gt;</time><impact>Medium</impact></event>
<event><title>Индекс ВВП 😀 Café für</title><country>RUB</country><date>03-12-2024</date>
  <time>Tentative</time><impact>Low</impact></event>
<event><title>Bank Holiday</title><country>EUR</country><date>03-11-2024</date>
  <time>All Day</time><impact>Holiday</impact></event>
<event><title>No time</title><country></country><date>03-11-2024</date><time></time>
  <impact>Non-Economic</impact></event>
<event><title>  Sunday  </title><country>NZD</country><date>03-17-2024</date><time>6:45pm</time>
  <impact>Medium</impact></event>
<event><title>Next week</title><country>USD</country><date>03-18-2024</date><time>8:30am</time>
  <impact>High</impact></event>
</weeklyevents>
)";

constexpr char expectedWeek[] = "2024.03.11;1;All Day;EUR;; Bank Holiday;;;\r\n"
                                "2024.03.11;1;;;; No time;;;\r\n"
                                "2024.03.12;2;<soon>;A&B;2; a&nbsp,b &#65, &amp,;;;\r\n"
                                "2024.03.12;2;Tentative;RUB;1; Индекс ВВП ? Cafe fur;;;\r\n"
                                "2024.03.12;2;13:30;USD;3; S&P 500 <Index> \"quoted\" 'single' "
                                "a,b;2,3;<1%;5 K\r\n"
                                "2024.03.17;0;23:45;NZD;2; Sunday;;;\r\n";

class FeedPage : public ::testing::Test {
protected:
    void SetUp() override {
        QFile file(folder.filePath(QStringLiteral("feed.xml")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(feed);
        file.close();
        ASSERT_EQ(calendar.read().error, QString());
        server.start();
    }

    // The table text file of the week holding day, as the extraction reads the loaded page.
    std::string extractedWeek(QDate day) {
        if (!load(host, QUrl(server.weekUrl(day)))) return "<not loaded>";
        EventTable table;
        table.writeTitles();
        extractEvents(host.bodyHtml(), table, ExtractionOptions(2024));
        return tableText(table);
    }

    QTemporaryDir folder;
    TestClock clock{QDateTime(QDate(2024, 3, 13), QTime(12, 0), Qt::UTC)};
    FeedCalendar calendar{
        {folder.filePath("feed.xml"), newYorkInBerlin(), folder.filePath("cache")}, clock};
    CalendarServer server{clock, calendar};
    WebEngineBrowserHost host;
};

TEST_F(FeedPage, extraction_gives_back_exactly_the_cells_of_the_feed) {
    const std::string week = extractedWeek(march11.addDays(2));
    EXPECT_EQ(week, toCp1251(QString::fromUtf8(expectedWeek)));
    // The window shows the letters cp1251 lacks; the table has their base letters.
    EXPECT_TRUE(calendar.page(march11).contains("Café für"));
    // The same rows the feed maps to, for any week.
    for (QDate monday : {march11, march11.addDays(7), march11.addDays(-7)})
        EXPECT_EQ(extractedWeek(monday), tableFile(calendar.week(monday)));
}

TEST_F(FeedPage, serves_the_current_local_week_with_a_banner_naming_the_source) {
    ASSERT_TRUE(load(host, QUrl(server.url())));
    const QString body = fromCp1251(host.bodyHtml());
    EXPECT_EQ(readPageDate(host.bodyHtml(), 2024), march11);
    EXPECT_TRUE(body.contains(QStringLiteral("Календарь из ") +
                              folder.filePath(QStringLiteral("feed.xml")) +
                              QStringLiteral(", прочитан 13.03.2024 13:00.")))
        << body.toStdString();
}

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(FEED_FIXTURES "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Five weeks of a New York feed in Berlin, with New York's switch to summer time and Berlin's
// three weeks later, in both formats, joined as a week run joins them.
TEST(FeedWeeks, both_formats_give_the_same_weeks_across_both_switches) {
    const std::string expected = fixture("switches-2024-03-04-to-2024-04-07.txt").toStdString();
    for (const char* name : {"switches.xml", "switches.ics"}) {
        SCOPED_TRACE(name);
        QTemporaryDir folder;
        TestClock clock{QDateTime(QDate(2024, 3, 13), QTime(12, 0), Qt::UTC)};
        FeedCalendar calendar{
            {QStringLiteral(FEED_FIXTURES "/") + name, newYorkInBerlin(), folder.path()}, clock};
        ASSERT_EQ(calendar.read().error, "");
        CalendarServer server{clock, calendar};
        server.start();
        WebEngineBrowserHost host;
        std::string joined;
        for (QDate monday(2024, 3, 4); monday <= QDate(2024, 4, 1); monday = monday.addDays(7)) {
            ASSERT_TRUE(load(host, QUrl(server.weekUrl(monday))));
            EventTable table;
            table.writeTitles();
            EXPECT_EQ(extractEvents(host.bodyHtml(), table, ExtractionOptions(2024)), monday);
            joined += tableText(table);
        }
        EXPECT_EQ(joined, expected);
    }
}

} // namespace
} // namespace newsbell::testing
