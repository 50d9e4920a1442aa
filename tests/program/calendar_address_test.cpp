#include "program/CalendarAddressDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

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

} // namespace
} // namespace newsbell
