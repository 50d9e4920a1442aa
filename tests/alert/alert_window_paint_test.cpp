#include "alert/AlertPreview.h"
#include "alert/AlertWindowPaint.h"
#include "alert_window_support.h"
#include "htmltext/FixedMetricsSurface.h"
#include "htmltext/QPainterSurface.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::gradientRow;
using testing::rgbOf;
using Kind = FixedMetricsSurface::Kind;

// The background's last band: the fill right before the border.
const FixedMetricsSurface::Drawn& lastBackgroundBand(const FixedMetricsSurface& surface) {
    const auto& drawn = surface.drawn();
    const auto border = std::find_if(drawn.begin(), drawn.end(),
                                     [](const auto& item) { return item.kind == Kind::Outline; });
    EXPECT_NE(border, drawn.begin());
    return *(border - 1);
}

TEST(AlertWindowPaint, the_shown_message_and_its_position_with_an_unclipped_last_band) {
    TAlertWindow window;
    testing::addMessages(window, {"one", "two", "three"});
    window.applySettings(testing::schemeSettings());
    window.Next();
    FixedMetricsSurface surface;
    window.paint(surface);
    EXPECT_EQ(lastBackgroundBand(surface).rect, (TRect{0, 99, 300, 101}));
    const auto texts = surface.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "two");
    // "2 of 3" is 48 pixels wide on this surface; a line is 16 high.
    const auto& drawn = surface.drawn();
    const auto position = std::find_if(drawn.begin(), drawn.end(),
                                       [](const auto& item) { return item.text == "2 of 3"; });
    ASSERT_NE(position, drawn.end());
    EXPECT_EQ(position->rect, (TRect{150 - 24, 100 - 16 - 5, 150 + 24, 100 - 5}));
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
        EXPECT_EQ(rgbOf(lastBackgroundBand(surface).color), gradientRow(from, to, 0, 100, 80, 99));
    }
}

// The window keeps its painted frame for the next repaint: whatever changed in between, the
// screen shows what a paint from scratch gives.
TEST(AlertWindowPaint, a_repaint_shows_what_a_paint_from_scratch_gives) {
    TAlertWindow window;
    testing::addMessages(window, {"one", "two"});
    window.applySettings(testing::schemeSettings());
    window.messageSettings().Add();
    window.messageSettings().Add().SetColor(0x0000FF);
    const auto fromScratch = [&window] {
        QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        QPainterSurface surface(painter);
        window.paint(surface);
        return image;
    };
    const auto repainted = [&window] {
        QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
        window.render(&image);
        return image;
    };
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"first paint", [] {}},
        {"hover", [&] { window.markButton(AlertButton::Next, ButtonMark::Hover); }},
        {"message of its own colours", [&] { window.Next(); }},
        {"back", [&] { window.Previous(); }},
        {"resized", [&] { window.setBounds(QRect(0, 0, 320, 120)); }},
    };
    for (const auto& [change, make] : changes) {
        make();
        EXPECT_EQ(repainted(), fromScratch()) << change;
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

// Pixels of previews at chosen points, against the paint rules read on their own.
struct PreviewCase {
    const char* what;
    int width, height, messages, position;
    std::optional<AlertButton> hovered, pressed;
};

void PrintTo(const PreviewCase& c, std::ostream* out) {
    *out << c.what;
}

class AlertPreviewPixels : public ::testing::TestWithParam<PreviewCase> {
protected:
    void SetUp() override {
        const PreviewCase& c = GetParam();
        AlertPreview preview;
        for (int i = 0; i < c.messages; ++i)
            preview.messages.push_back("<b>Message</b> " + std::to_string(i + 1));
        preview.size = {c.width, c.height};
        preview.position = c.position;
        preview.hovered = c.hovered;
        preview.pressed = c.pressed;
        picture = renderAlertPreview(preview, testing::schemeSettings());
        ASSERT_EQ(picture.size(), QSize(c.width, c.height));
    }

    QRgb background(int y) const {
        return gradientRow(testing::windowColor, testing::windowColorTo, 0, picture.height(), 80,
                           y);
    }

    // The width of a text in the window's font (0 for its line height).
    static int measure(const std::string& text) {
        QImage device(1, 1, QImage::Format_RGB32);
        QPainter painter(&device);
        QPainterSurface surface(painter);
        surface.setFont(testing::schemeSettings().Font);
        return text.empty() ? surface.textHeight("gt") : surface.textWidth(text);
    }

    // The width the navigator leaves for its text.
    int positionWidth() const {
        const int count = GetParam().messages;
        return measure(std::to_string(count - 1) + " of " + std::to_string(count)) + 8;
    }

    QImage picture;
};

TEST_P(AlertPreviewPixels, border_caption_grip_and_background) {
    const int w = picture.width();
    const int h = picture.height();
    for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1),
                          QPoint(w / 2, h - 1), QPoint(w - 1, h / 2)})
        EXPECT_EQ(picture.pixel(corner), rgbOf(testing::borderColor)) << corner.x() << corner.y();
    for (int y = 1; y <= 7; ++y)
        EXPECT_EQ(picture.pixel(5, y),
                  gradientRow(testing::captionColor, testing::captionColorTo, 1, 6, 16, y))
            << "caption row " << y;
    for (int y : {8, h / 2, h - 2}) EXPECT_EQ(picture.pixel(2, y), background(y)) << y;
    for (int dot : {0, 8}) {
        const int x = (w - 34) / 2 + 4 * dot;
        EXPECT_EQ(picture.pixel(x, 2), qRgb(0, 0, 0));
        EXPECT_EQ(picture.pixel(x + 1, 2), qRgb(0, 0, 0));
        EXPECT_EQ(picture.pixel(x, 3), qRgb(0, 0, 0));
        EXPECT_EQ(picture.pixel(x + 1, 3), rgbOf(testing::captionColorTo));
        EXPECT_EQ(picture.pixel(x + 2, 3), qRgb(255, 255, 255));
        EXPECT_EQ(picture.pixel(x + 2, 4), qRgb(255, 255, 255));
    }
}

TEST_P(AlertPreviewPixels, button_marks) {
    const PreviewCase& c = GetParam();
    const int w = picture.width();
    const int h = picture.height();
    const bool navigator = c.messages > 1;
    const int p = positionWidth();
    auto left = [&](AlertButton button) {
        switch (button) {
        case AlertButton::Close:
            return w - 21;
        case AlertButton::Prev:
            return w / 2 - 20 - p / 2;
        case AlertButton::Next:
            return w / 2 + p / 2;
        default:
            return navigator ? w / 2 + p / 2 + 20 : w / 2 - 10;
        }
    };
    for (AlertButton button :
         {AlertButton::Close, AlertButton::Prev, AlertButton::Next, AlertButton::Delete}) {
        const bool movable = (button != AlertButton::Prev || c.position > 1) &&
                             (button != AlertButton::Next || c.position < c.messages);
        const bool drawn =
            button == AlertButton::Close || button == AlertButton::Delete || navigator;
        const bool down = c.pressed == button;
        const bool marked = drawn && movable && (down || c.hovered == button);
        const int top = button == AlertButton::Close ? 8 : h - 26;
        const int bottom = button == AlertButton::Close ? 27 : h - 2; // one pixel short
        const int x = left(button);
        const TColor from = down ? testing::downColor : testing::hoverColor;
        const TColor to = down ? testing::downColorTo : testing::hoverColorTo;
        const QRgb face = gradientRow(from, to, top, bottom - top, 16, top + 2);
        const std::string what = std::string(c.what) + " button " + std::to_string(int(button));
        EXPECT_EQ(picture.pixel(x, top) == qRgb(0, 0, 0), marked) << what << " frame";
        EXPECT_EQ(picture.pixel(x + 19, bottom - 1) == qRgb(0, 0, 0), marked) << what;
        EXPECT_EQ(picture.pixel(x + 2, top + 2) == face, marked) << what << " face";
        if (!marked) {
            EXPECT_EQ(picture.pixel(x + 2, top + 2), background(top + 2)) << what;
        }
    }
}

TEST_P(AlertPreviewPixels, position_text_sits_centred_between_the_arrows) {
    const PreviewCase& c = GetParam();
    if (c.messages == 1) return; // no navigator: its buttons' places are checked above
    const int w = picture.width();
    const int h = picture.height();
    const std::string text = std::to_string(c.position) + " of " + std::to_string(c.messages);
    const int width = measure(text);
    const int p = positionWidth();
    QRect ink;
    for (int y = h - 26; y < h - 1; ++y)
        for (int x = w / 2 - p / 2; x < w / 2 + p / 2; ++x)
            if (qGray(picture.pixel(x, y)) < 100) ink |= QRect(x, y, 1, 1);
    EXPECT_GE(ink.left(), w / 2 - width / 2);
    EXPECT_LE(ink.left(), w / 2 - width / 2 + 3);
    EXPECT_LE(ink.right(), w / 2 - width / 2 + width);
    EXPECT_GE(ink.top(), h - 5 - measure(""));
}

INSTANTIATE_TEST_SUITE_P(
    Previews, AlertPreviewPixels,
    ::testing::Values(PreviewCase{"one", 300, 100, 1, 1, AlertButton::Close, {}},
                      PreviewCase{"three", 300, 100, 3, 2, AlertButton::Next, {}},
                      PreviewCase{"three first", 300, 100, 3, 1, AlertButton::Prev, {}},
                      PreviewCase{"wide", 420, 150, 3, 3, {}, AlertButton::Close},
                      PreviewCase{"small", 240, 120, 2, 1, {}, AlertButton::Delete},
                      PreviewCase{"ten", 330, 90, 10, 5, AlertButton::Close, AlertButton::Prev}));

} // namespace
} // namespace newsbell
