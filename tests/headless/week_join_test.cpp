// The headless join with a browser that serves weeks from memory, for what the real calendar
// cannot be made to do on demand.
#include "base/Error.h"
#include "headless/WeekJoin.h"
#include "tests/support/GuiTestSupport.h"

#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace std::chrono_literals;
using namespace testing;

const QUrl page(QStringLiteral("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show"));
const QDate mar8(2010, 3, 8), mar15(2010, 3, 15), mar22(2010, 3, 22);

TEST(WeekJoin, a_week_that_does_not_come_ends_the_join_with_the_weeks_before_it_in_the_file) {
    struct Case {
        const char* name;
        std::function<void(FakeBrowser&)> secondWeek; // what the browser does when it is asked
        const char* message;
    };
    for (const Case& c : {
             Case{"never loads", [](FakeBrowser&) {},
                  "Страница календаря не загрузила неделю 15.3.2010 за 0.2 с"},
             Case{"ends on the browser's error page",
                  [](FakeBrowser& browser) {
                      browser.loaded = false;
                      QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
                  },
                  "Неделя 15.3.2010: страница не открылась"},
         }) {
        SCOPED_TRACE(c.name);
        FakeBrowser browser;
        browser.page = legacyWeekPage(QDate(2026, 3, 2), 2); // the page opened first
        browser.onScript = [&](const QString& code) {
            const QDate monday = askedWeek(code);
            if (monday == mar15) return c.secondWeek(browser);
            if (!monday.isValid()) return;
            browser.page = legacyWeekPage(monday, 3);
            QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
        };
        QTimer::singleShot(0, &browser, &FakeBrowser::finishLoad);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("joined.txt"));
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("a file of some earlier run");
        old.close();
        QStringList progress;
        try {
            joinWeeks(browser, {page, mar8, mar22, file, 200ms}, SystemClock(),
                      [&](const QString& line) { progress << line; });
            ADD_FAILURE() << "the join went through";
        } catch (const Error& failure) {
            EXPECT_EQ(QString::fromUtf8(failure.what()), QString::fromUtf8(c.message));
        }
        EXPECT_EQ(readFileBytes(file), expectedWeekText(mar8, 3));
        EXPECT_EQ(progress, QStringList({QStringLiteral("week 1 of 3 (2010-03-08)"),
                                         QStringLiteral("week 2 of 3 (2010-03-15)")}));
        EXPECT_EQ(browser.visited, std::vector<QUrl>{page});
    }
}

} // namespace
} // namespace newsbell
