#include "alert/AlertWindowLayout.h"
#include "alert_window_support.h"
#include "tests/support/FakeImageList.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

struct GeometryCase {
    const char* what;
    int width, height;
    bool navigator;
    int positionWidth;
    bool showDelete, showPopup, images;
    TRect message, close, prev, next, del, popup;
};

TEST(AlertWindowGeometry, parts_lie_where_the_window_size_margins_and_navigator_put_them) {
    const testing::FakeImageList images(1, QSize(16, 16));
    const GeometryCase cases[] = {
        {"one message",
         300,
         100,
         false,
         56,
         true,
         true,
         false,
         {4, 21, 276, 74},
         {279, 8, 299, 28},
         {102, 74, 122, 99},
         {178, 74, 198, 99},
         {140, 74, 160, 99},
         {165, 74, 185, 99}},
        {"three messages",
         300,
         100,
         true,
         56,
         true,
         true,
         false,
         {4, 21, 276, 74},
         {279, 8, 299, 28},
         {102, 74, 122, 99},
         {178, 74, 198, 99},
         {198, 74, 218, 99},
         {223, 74, 243, 99}},
        {"three without delete",
         301,
         120,
         true,
         57,
         false,
         true,
         false,
         {4, 21, 277, 94},
         {280, 8, 300, 28},
         {102, 94, 122, 119},
         {178, 94, 198, 119},
         {198, 94, 218, 119},
         {203, 94, 223, 119}},
        {"one without delete, with images",
         200,
         80,
         false,
         40,
         false,
         true,
         true,
         {25, 21, 176, 54},
         {179, 8, 199, 28},
         {60, 54, 80, 79},
         {120, 54, 140, 79},
         {90, 54, 110, 79},
         {90, 54, 110, 79}},
    };
    for (const GeometryCase& c : cases) {
        AlertWindowSettings settings;
        settings.ShowDelete = c.showDelete;
        settings.ShowPopup = c.showPopup;
        settings.Images = c.images ? &images : nullptr;
        const AlertWindowLayout at =
            layOutAlertWindow(c.width, c.height, settings, c.navigator, c.positionWidth);
        EXPECT_EQ(at.caption, (TRect{1, 1, c.width - 1, 7})) << c.what;
        EXPECT_EQ(at.message, c.message) << c.what;
        EXPECT_EQ(at.button(AlertButton::Close), c.close) << c.what;
        EXPECT_EQ(at.button(AlertButton::Prev), c.prev) << c.what;
        EXPECT_EQ(at.button(AlertButton::Next), c.next) << c.what;
        EXPECT_EQ(at.button(AlertButton::Delete), c.del) << c.what;
        EXPECT_EQ(at.button(AlertButton::Popup), c.popup) << c.what;
    }
}

TEST(AlertWindowGeometry, position_text_reads_only_numbers_and_percent_signs) {
    const struct {
        const char* format;
        const char* text;
    } cases[] = {
        {"%d of %d", "2 of 3"},        {"%D/%d", "2/3"}, {"%d%%", "2%"}, {"%d %d %d", "2 3 %d"},
        {"%s %x %n %d", "%s %x %n 2"}, {"100%", "100%"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatPosition(c.format, 2, 3), c.text) << c.format;
}

TEST(AlertWindowGeometry, auto_size_keeps_the_minimum_for_short_messages_and_the_caps) {
    const struct {
        int messages;
        bool showPopup;
        int maxWidth, maxHeight;
        const char* text;
        QSize size;
    } cases[] = {
        {3, false, 0, 0, "x", {145 + 16, 75 + 16}},
        {3, true, 0, 0, "x", {145 + 50 + 16, 75 + 16}},
        {1, false, 0, 0, "x", {0, 75 + 16}}, // the width depends on the font
        {1,
         false,
         120,
         60,
         "a message far wider than the cap of one hundred and twenty",
         {120, 60}},
    };
    for (const auto& c : cases) {
        TAlertWindow window;
        testing::addMessages(window, std::vector<std::string>(size_t(c.messages), c.text));
        AlertWindowSettings settings;
        settings.AutoSize = true;
        settings.ShowPopup = c.showPopup;
        settings.MaxWidth = c.maxWidth;
        settings.MaxHeight = c.maxHeight;
        window.applySettings(settings);
        if (c.size.width() > 0) {
            EXPECT_EQ(window.width(), c.size.width()) << c.messages;
        }
        EXPECT_EQ(window.height(), c.size.height()) << c.messages;
    }
}

} // namespace
} // namespace newsbell
