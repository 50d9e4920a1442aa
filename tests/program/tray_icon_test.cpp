#include "mainwindow/TForm1.h"
#include "program/MainWindowTray.h"
#include "program/TrayIcon.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/WeekPages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace testing;

struct TrayCase : ::testing::Test {
    QWidget window;
    int passes = 0;
    int quits = 0;
    TrayIcon::Commands commands() {
        return {[this] { ++passes; }, [this] { ++quits; }};
    }
};

TEST_F(TrayCase, menu_shows_the_window_runs_a_pass_and_ends_the_program) {
    TrayIcon tray(window, commands(), true);
    EXPECT_EQ(tray.showAction->text(), QString::fromUtf8("Показать окно"));
    tray.alertAction->trigger();
    tray.quitAction->trigger();
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(quits, 1);
    window.hide();
    tray.showAction->trigger();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(TrayCase, minimising_hides_the_window_only_where_a_tray_exists) {
    for (bool available : {true, false}) {
        QWidget freshWindow;
        TrayIcon tray(freshWindow, commands(), available);
        freshWindow.show();
        freshWindow.setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        EXPECT_EQ(freshWindow.isVisible(), !available) << available;
    }
}

TEST_F(TrayCase, tooltip_names_the_next_event_or_the_program) {
    TrayIcon tray(window, commands(), false);
    EXPECT_EQ(tray.toolTip(), QApplication::applicationName());
    tray.setNextEvent(QString::fromUtf8("Далее: 14:30 USD Nonfarm Payrolls"));
    EXPECT_EQ(tray.toolTip(), QString::fromUtf8("Далее: 14:30 USD Nonfarm Payrolls"));
}

TEST(NextEventTip, the_tray_names_the_coming_events_from_the_page_then_after_each_pass) {
    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
    auto* browser = new FakeBrowser;
    TForm1 form{browser, fake.desktop(), errors, QUrl("http://127.0.0.1:9/e_cal.php")};
    const TrayIcon::Commands commands = trayCommands(form);
    TrayIcon tray(form, commands, false);
    NextEventTip tip(form, *browser, tray, fake.clock);
    browser->page = legacyWeekPage(QDate(2010, 5, 24), 10); // Wednesday: 08:50 and 09:00
    fake.clock.setTimeOfDay(QTime(8, 15));
    browser->finishLoad();
    EXPECT_EQ(tray.toolTip(), QString::fromUtf8("Далее: 08:50 USD Index 5")) << "before a pass";
    EXPECT_EQ(form.table().rowCount(), 1) << "the window's table waits for its own commands";

    fake.clock.setTimeOfDay(QTime(8, 25));
    commands.alertPass();
    EXPECT_EQ(tray.toolTip(),
              QString::fromUtf8("Скоро: 08:50 USD Index 5\nДалее: 09:00 USD Index 6"));
    browser->finishLoad();
    EXPECT_TRUE(tray.toolTip().startsWith(QString::fromUtf8("Скоро: "))) << "a load after a pass";
    fake.clock.setTimeOfDay(QTime(23, 59));
    commands.alertPass();
    EXPECT_EQ(tray.toolTip(), QApplication::applicationName());
}

} // namespace
} // namespace newsbell
