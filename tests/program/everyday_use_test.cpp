#include "mainwindow/TForm1.h"
#include "program/EverydayUse.h"
#include "program/KeptSettings.h"
#include "tests/support/GuiTestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace testing;

const QUrl
    demoPage(QStringLiteral("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show"));

struct EverydayUseTest : ::testing::Test {
    EverydayUse::Options options(KeptSettings* settings = nullptr) {
        EverydayUse::Options given;
        given.settings = settings;
        given.pageFor = [](const QUrl& address) { return address.isEmpty() ? demoPage : address; };
        return given;
    }
    EverydayUse::WeekWindow week() {
        return {weekWindow, weekBrowser, [this] { return running; }};
    }

    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
    FakeBrowser* browser = new FakeBrowser;
    TForm1 form{browser, fake.desktop(), errors, demoPage};
    QWidget weekWindow;
    FakeBrowser weekBrowser;
    bool running = false;
};

TEST_F(EverydayUseTest, the_address_goes_to_both_windows_unless_a_week_run_holds_its_page) {
    EverydayUse everyday(form, week(), options(), fake.clock);
    EXPECT_EQ(form.N1->actions().indexOf(everyday.addressAction),
              form.N1->actions().indexOf(form.N3) - 1);
    const QUrl other(QStringLiteral("https://calendar.example.org/week"));
    everyday.useCalendarAddress(other);
    running = true;
    everyday.useCalendarAddress({});
    EXPECT_EQ(browser->visited, (std::vector<QUrl>{demoPage, other, demoPage}));
    EXPECT_EQ(weekBrowser.visited, (std::vector<QUrl>{other}));
}

TEST_F(EverydayUseTest, the_tray_names_the_next_event_after_each_pass) {
    EverydayUse everyday(form, week(), options(), fake.clock);
    browser->page = legacyWeekPage(QDate(2010, 5, 24), 10); // Wednesday: 08:50 and 09:00
    fake.clock.moment.setTime(QTime(8, 25));
    form.Button4->click();
    EXPECT_EQ(everyday.tray().toolTip(), QString::fromUtf8("Далее: 09:00 USD Index 6"));
    fake.clock.moment.setTime(QTime(23, 59));
    form.Button4->click();
    EXPECT_FALSE(everyday.tray().toolTip().startsWith(QString::fromUtf8("Далее: ")));
}

TEST_F(EverydayUseTest, kept_settings_come_back_into_the_window_and_the_address_is_kept) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("newsbell.ini"));
    {
        KeptSettings settings(std::make_unique<QSettings>(file, QSettings::IniFormat),
                              [](const QString&) {});
        EverydayUse everyday(form, week(), options(&settings), fake.clock);
        form.Edit4->setText(QStringLiteral("5"));
        everyday.useCalendarAddress(QUrl(QStringLiteral("https://calendar.example.org/week")));
    }
    KeptSettings settings(std::make_unique<QSettings>(file, QSettings::IniFormat),
                          [](const QString&) {});
    FakeBrowser* otherBrowser = new FakeBrowser;
    TForm1 again(otherBrowser, fake.desktop(), errors, demoPage);
    EverydayUse everyday(again, week(), options(&settings), fake.clock);
    EXPECT_EQ(again.Edit4->text(), QStringLiteral("5"));
    EXPECT_EQ(settings.calendarAddress(),
              QUrl(QStringLiteral("https://calendar.example.org/week")));
}

} // namespace
} // namespace newsbell
