#include "headless/DueAtRun.h"
#include "headless/GateAtRun.h"
#include "headless/WeekExport.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FileBytes.h"
#include "tests/support/WeekPages.h"

#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace std::chrono_literals;
using testing::FakeBrowser;

const QUrl page(QStringLiteral("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show"));
const QDate monday(2010, 5, 24);

TEST(WeekExport, waits_for_the_page_then_writes_its_table_text_file) {
    FakeBrowser browser;
    browser.page = testing::legacyWeekPage(monday, 4);
    QTimer::singleShot(20ms, &browser, &FakeBrowser::finishLoad);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("week.txt"));
    exportWeek(browser, page, file, 5s, 2010);
    EXPECT_EQ(browser.visited, std::vector<QUrl>{page});
    EXPECT_EQ(testing::readFileBytes(file), testing::expectedWeekText(monday, 4));
}

TEST(WeekExport, gives_up_after_the_wait_and_writes_nothing) {
    FakeBrowser browser;
    browser.page = testing::legacyWeekPage(monday, 4);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("week.txt"));
    try {
        exportWeek(browser, page, file, 50ms, 2010);
        FAIL() << "no load, no file";
    } catch (const std::exception& failure) {
        EXPECT_NE(QString::fromUtf8(failure.what()).indexOf(page.toString()), -1) << failure.what();
    }
    EXPECT_FALSE(QFile::exists(file));
}

TEST(WeekExport, a_page_that_did_not_open_is_reported_as_such) {
    FakeBrowser browser;
    browser.page = "<H1>This site can't be reached</H1>"; // the browser's own error page
    browser.loaded = false;
    QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
    QTemporaryDir folder;
    try {
        exportWeek(browser, page, folder.filePath(QStringLiteral("week.txt")), 5s, 2010);
        FAIL() << "an error page was read as a calendar";
    } catch (const std::exception& failure) {
        EXPECT_EQ(QString::fromUtf8(failure.what()),
                  QStringLiteral("Страница календаря %1 не открылась").arg(page.toString()));
    }
}

TEST(WeekExport, a_page_that_cannot_be_read_leaves_an_existing_file_alone) {
    FakeBrowser browser;
    browser.failure = "no answer";
    QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("week.txt"));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    EXPECT_THROW(exportWeek(browser, page, file, 5s, 2010), std::exception);
    EXPECT_EQ(testing::readFileBytes(file), "old");
}

// The page of legacyWeekPage has events 5 (08:50) and 6 (09:00) on Wednesday 26 May.
TEST(DueAtReport, prints_the_last_status_line_then_every_message_each_on_its_line) {
    struct Case {
        QTime now;
        std::string report;
    } cases[] = {{QTime(8, 55),
                  "2010.05.26 09:00 USD 1  Index 6 6.1 6.2 6.3 \n"
                  "<b>2010.05.26</b> 08:50 USD  <i> <b>Высокая важность </i></b> <br><b><q> Index "
                  "5</q></b><br>5.1 5.2 5.3 <br> Закончилось  <b>0:05:00 назад</b>\n"
                  "<b>2010.05.26</b> 09:00 USD  <i> <b>Низкая важность </i></b> <br><b><q> Index "
                  "6</q></b><br>6.1 6.2 6.3 <br> Начнется через <b>0:05:00 </b>\n"},
                 {QTime(12, 0), "\n"}};
    for (const Case& c : cases) {
        FakeBrowser browser;
        browser.page = testing::legacyWeekPage(monday, 8);
        QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
        const DueAtRequest request{QDate(2010, 5, 26), c.now, {}};
        EXPECT_EQ(dueAtReport(browser, page, 5s, request), c.report);
    }
}

// Importance 3 on that page: event 2 (Monday 08:20), 5 (Wednesday 08:50) and 8 (Thursday 09:20).
TEST(GateAtReport, prints_the_gate_lines_of_the_moment_over_the_whole_week) {
    FakeBrowser browser;
    browser.page = testing::legacyWeekPage(monday, 8);
    QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
    const GateAtRequest request = readGateAtRequest("2010-05-26 09:20:00", QString("0"),
                                                    QString("30"), QString("usd,EUR"), {});
    EXPECT_EQ(gateAtReport(browser, page, 5s, request),
              "EUR;0;;;;;\nUSD;0;86400;2010.05.27;09:20;3;Index 8\n");
}

} // namespace
} // namespace newsbell
