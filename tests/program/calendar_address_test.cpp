#include "mainwindow/TForm1.h"
#include "program/CalendarAddressDialog.h"
#include "program/CalendarAddressItem.h"
#include "program/KeptSettings.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/WeekPages.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace testing;

TEST(CalendarAddress, takes_web_and_file_addresses_and_empty_for_the_built_in_calendar) {
    struct Case {
        const char* typed;
        bool good;
    };
    const Case cases[] = {
        {"", true},
        {"   ", true},
        {"http://127.0.0.1:8080/e_cal.php?duration=weekly&timezone_panel=show", true},
        {" https://calendar.example.org/week ", true},
        {"file:///home/trader/week.html", true},
        {"ftp://calendar.example.org/week", false},
        {"calendar.example.org/week", false},
        {"http://", false},
        {"http:///path", false},
        {"file://", false},
        {"http://exa mple.org/", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(calendarAddressProblem(QString::fromUtf8(c.typed)).isEmpty(), c.good) << c.typed;
    EXPECT_EQ(calendarAddress(QStringLiteral("  ")), QUrl());
    EXPECT_EQ(calendarAddress(QStringLiteral(" https://a.example/w ")),
              QUrl(QStringLiteral("https://a.example/w")));
}

TEST(CalendarAddressDialog, offers_ok_only_while_the_address_will_do) {
    CalendarAddressDialog dialog(QUrl(QStringLiteral("http://127.0.0.1:1/e_cal.php")));
    QPushButton* ok = dialog.buttons->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(ok->isEnabled());
    dialog.addressField->setText(QStringLiteral("gopher://old.example/"));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(dialog.problemLabel->text().isEmpty());
    dialog.addressField->clear();
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(dialog.problemLabel->text().isEmpty());
    EXPECT_EQ(dialog.address(), QUrl());
}

const QUrl demoPage("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show");

struct CalendarAddressItemTest : ::testing::Test {
    CalendarAddressItem::Options options(KeptSettings* kept) {
        CalendarAddressItem::Options given;
        given.settings = kept;
        given.pageFor = [](const QUrl& address) { return address.isEmpty() ? demoPage : address; };
        return given;
    }
    CalendarAddressItem::WeekWindow week() {
        return {[this](const QUrl& page) { weekBrowser.navigate(page); },
                [this] { return running; }};
    }

    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
    FakeBrowser* browser = new FakeBrowser;
    TForm1 form{browser, fake.desktop(), errors, demoPage};
    FakeBrowser weekBrowser;
    bool running = false;
    QTemporaryDir folder;
    KeptSettings settings{
        std::make_unique<QSettings>(folder.filePath("newsbell.ini"), QSettings::IniFormat),
        [](const QString&) {}};
};

TEST_F(CalendarAddressItemTest, the_address_goes_to_both_windows_unless_a_week_run_holds_its_page) {
    QMenu* menu = control<QMenu>(form, "N1");
    const QList<QAction*> ownItems = menu->actions();
    {
        CalendarAddressItem item(form, week(), options(&settings));
        EXPECT_EQ(menu->actions(), (QList<QAction*>{ownItems[0], item.action, ownItems[1]}))
            << "before \"Выход\"";
        const QUrl other("https://calendar.example.org/week");
        item.useCalendarAddress(other);
        EXPECT_EQ(settings.calendarAddress(), other);
        running = true;
        item.useCalendarAddress({});
        EXPECT_EQ(browser->visited, (std::vector<QUrl>{demoPage, other, demoPage}));
        EXPECT_EQ(weekBrowser.visited, (std::vector<QUrl>{other}));
    }
    EXPECT_EQ(menu->actions(), ownItems) << "the item leaves the menu with its action";
}

} // namespace
} // namespace newsbell
