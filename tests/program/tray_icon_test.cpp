#include "program/TrayIcon.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

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

} // namespace
} // namespace newsbell
