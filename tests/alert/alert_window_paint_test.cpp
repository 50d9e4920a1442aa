#include "alert/AlertWindowPaint.h"
#include "alert_window_support.h"
#include "htmltext/FixedMetricsSurface.h"
#include "htmltext/QPainterSurface.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::gradientRow;
using testing::rgbOf;
using Kind = FixedMetricsSurface::Kind;

// What was drawn, runs of the same kind counted: "fill*80 outline ...".
std::string paintOrder(const FixedMetricsSurface& surface) {
    std::string order;
    Kind last{};
    int run = 0;
    auto flush = [&] {
        if (run == 0) return;
        FixedMetricsSurface::Drawn kind;
        kind.kind = last;
        const std::string name = kind.describe();
        order += (order.empty() ? "" : " ") + name.substr(0, name.find(' '));
        if (run > 1) order += "*" + std::to_string(run);
    };
    for (const auto& item : surface.drawn()) {
        if (run > 0 && item.kind == last) {
            ++run;
            continue;
        }
        flush();
        last = item.kind;
        run = 1;
    }
    flush();
    return order;
}

TEST(AlertWindowPaint, paints_background_border_caption_buttons_message_and_navigator_in_order) {
    TAlertWindow window;
    testing::addMessages(window, {"one", "two", "three"});
    window.applySettings(testing::schemeSettings());
    window.Next();
    FixedMetricsSurface surface;
    window.paint(surface);
    // 80 bands, the border, 16 bands and 27 grip fills, the close mark, the message, "<"
    // twice, the position and ">" twice, the delete mark.
    EXPECT_EQ(paintOrder(surface), "fill*80 outline fill*43 line*4 text textout*5 line*4");
    const auto& drawn = surface.drawn();
    EXPECT_EQ(drawn[0].rect, (TRect{0, 0, 300, 2}));
    EXPECT_EQ(drawn[79].rect, (TRect{0, 99, 300, 101})) << "the last band is not clipped";
    EXPECT_EQ(drawn[80].rect, (TRect{0, 0, 300, 100}));
    EXPECT_EQ(drawn[80].color, testing::borderColor);
    EXPECT_EQ(drawn[96].rect, (TRect{1, 7, 299, 8})) << "the caption's last band";
    const auto texts = surface.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "two");
    // "2 of 3" is 48 pixels wide on this surface; a line is 16 high.
    const auto position = std::find_if(drawn.begin(), drawn.end(),
                                       [](const auto& item) { return item.text == "2 of 3"; });
    ASSERT_NE(position, drawn.end());
    EXPECT_EQ(position->rect.Left, 150 - 24);
    EXPECT_EQ(position->rect.Top, 100 - 16 - 5);
    EXPECT_EQ(position->color, clNone);
}

TEST(AlertWindowPaint, the_shown_messages_own_colours_replace_the_windows) {
    TAlertWindow window;
    testing::addMessages(window, {"one", "two"});
    window.applySettings(testing::schemeSettings());
    window.messageSettings().Add();
    window.messageSettings().Add().SetColor(0x0000FF); // the end stays clNone: white
    for (int position : {1, 2}) {
        if (position == 2) window.Next();
        FixedMetricsSurface surface;
        window.paint(surface);
        const TColor from = position == 2 ? 0x0000FF : testing::windowColor;
        const TColor to = position == 2 ? 0xFFFFFF : testing::windowColorTo;
        EXPECT_EQ(surface.drawn()[0].color, from);
        EXPECT_EQ(rgbOf(surface.drawn()[79].color), gradientRow(from, to, 0, 100, 80, 99));
    }
}

TEST(AlertWindowPaint, grey_copies_and_transparent_glyphs) {
    QImage glyph(3, 1, QImage::Format_RGB32);
    glyph.setPixel(0, 0, qRgb(255, 255, 255));
    glyph.setPixel(1, 0, qRgb(0, 0, 0));
    glyph.setPixel(2, 0, qRgb(30, 60, 90));
    const QImage greyed = greyGlyph(glyph);
    EXPECT_EQ(greyed.depth(), 32);
    EXPECT_EQ(greyed.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(greyed.pixel(1, 0), qRgb(128, 128, 128));
    EXPECT_EQ(greyed.pixel(2, 0), qRgb(158, 158, 158));
    // The bottom-left colour is the see-through one.
    const QImage keyed = transparentGlyph(glyph);
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(greyGlyph(keyed).pixel(0, 0)), 0);
}

} // namespace
} // namespace newsbell
