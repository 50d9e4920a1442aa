#include "render_support.h"
#include "tests/support/FakeImageList.h"

#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

using Kind = FixedMetricsSurface::Kind;

constexpr const char* twoLinks = "see <a href=\"first\">one</a> or <a href=\"second\">two</a>";

HtmlRenderInput hitTestAt(std::string_view text, int x, int y) {
    HtmlRenderInput input = inputFor(text);
    input.HitTestOnly = true;
    input.PointX = x;
    input.PointY = y;
    input.HoverLink = -1;
    input.BlinkOn = false;
    return input;
}

TEST(RenderAnchors, the_hit_test_finds_the_anchor_under_the_point_and_paints_nothing) {
    Rendered r;
    r.output.AnchorValue = "untouched";
    // "see " is 32 wide from x 1, so "one" covers 33..57 and "two" 89..113.
    render(r, hitTestAt(twoLinks, 40, 8));
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.output.AnchorValue, "first");
    EXPECT_EQ(r.output.MouseLink, 1);
    EXPECT_EQ(r.output.HoverRect, (TRect{33, 0, 57, 16}));
    EXPECT_EQ(r.output.LinkCount, 2);
    EXPECT_TRUE(r.surface.drawn().empty());

    Rendered second;
    render(second, hitTestAt(twoLinks, 100, 15));
    EXPECT_TRUE(second.hit);
    EXPECT_EQ(second.output.AnchorValue, "second");
    EXPECT_EQ(second.output.MouseLink, 2);
}

TEST(RenderAnchors, points_beside_or_below_the_anchor_text_miss) {
    for (auto [x, y] : {std::pair{20, 8}, {70, 8}, {40, 16}, {40, 30}, {40, 0}}) {
        Rendered r;
        render(r, hitTestAt(twoLinks, x, y));
        EXPECT_FALSE(r.hit) << x << "," << y;
    }
}

TEST(RenderAnchors, an_anchor_over_two_lines_is_found_on_the_second_from_its_left_edge) {
    Rendered r;
    HtmlRenderInput input = hitTestAt("ab <a href=\"x\">cd ef</a>", 4, 20);
    input.Rect = {0, 0, 57, 400}; // "ab cd " fills the first line
    render(r, input);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.output.HoverRect, (TRect{1, 16, 17, 32}));
}

TEST(RenderAnchors, a_hit_test_follows_alignment) {
    Rendered r;
    render(r, hitTestAt("<p align=\"right\"><a href=\"x\">ab</a>", 390, 8));
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(r.output.HoverRect, (TRect{384, 0, 400, 16}));
}

TEST(RenderAnchors, anchors_take_the_url_colour_and_the_base_colour_after_them) {
    Rendered r;
    render(r, inputFor(twoLinks));
    EXPECT_EQ(textAt(r, "one").font.color, 0xFF0000u);
    EXPECT_TRUE(textAt(r, "one").font.underline); // every anchor hovers without HoverStyle
    EXPECT_EQ(textAt(r, "or ").font.color, 0u);
    EXPECT_FALSE(textAt(r, "or ").font.underline);

    Rendered selected;
    HtmlRenderInput input = inputFor(twoLinks);
    input.Selected = true;
    render(selected, input);
    EXPECT_EQ(textAt(selected, "one").font.color, 0u);
}

TEST(RenderAnchors, with_hover_style_only_the_hovered_anchor_gets_the_hover_effects) {
    Rendered r;
    HtmlRenderInput input = inputFor(twoLinks);
    input.HoverStyle = true;
    input.HoverLink = 2;
    input.HoverColor = 0x00FFFF;
    input.HoverFontColor = 0x00FF00;
    render(r, input);
    EXPECT_FALSE(textAt(r, "one").font.underline);
    EXPECT_EQ(textAt(r, "one").font.color, 0xFF0000u);
    EXPECT_EQ(textAt(r, "one").color, clNone);
    EXPECT_TRUE(textAt(r, "two").font.underline);
    EXPECT_EQ(textAt(r, "two").font.color, 0x00FF00u);
    EXPECT_EQ(textAt(r, "two").color, 0x00FFFFu);
    EXPECT_EQ(r.surface.brushColor(), 0xFFFFFFu); // the brush of before the call
}

TEST(RenderAnchors, the_focused_anchor_gets_a_dotted_frame_and_reports_its_target) {
    Rendered r;
    HtmlRenderInput input = inputFor(twoLinks);
    input.FocusLink = 1;
    render(r, input);
    const auto frames = r.drawn(Kind::FocusRect);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, (TRect{88, 0, 114, 16}));
    EXPECT_EQ(r.output.FocusAnchor, "second");
}

TEST(RenderAnchors, a_focused_anchor_over_two_lines_is_framed_on_each) {
    Rendered r;
    HtmlRenderInput input = inputFor("ab <a href=\"x\">cd ef</a>", {0, 0, 57, 400});
    input.FocusLink = 0;
    render(r, input);
    const auto frames = r.drawn(Kind::FocusRect);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].rect, (TRect{24, 0, 50, 16}));
    EXPECT_EQ(frames[1].rect, (TRect{1, 16, 18, 32}));
}

TEST(RenderAnchors, beside_a_tall_picture_only_the_text_band_of_the_line_hits) {
    const FakeImageList images(1, QSize(10, 40));
    const char* text = "<a href=\"x\">ab<img src=\"idx:0\"></a>";
    auto hitAt = [&](int x, int y) {
        Rendered r;
        HtmlRenderInput input = hitTestAt(text, x, y);
        input.Images = &images;
        render(r, input);
        return r.hit;
    };
    EXPECT_FALSE(hitAt(5, 10)); // over the text, above its band at the bottom of the line
    EXPECT_TRUE(hitAt(5, 30));
    EXPECT_TRUE(hitAt(22, 10)); // over the picture
    EXPECT_FALSE(hitAt(22, 45));
}

TEST(RenderAnchors, measuring_never_reports_a_hit) {
    Rendered r;
    HtmlRenderInput input = hitTestAt(twoLinks, 40, 8);
    input.MeasureOnly = true;
    render(r, input);
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(r.output.LinkCount, 2);
}

} // namespace
} // namespace newsbell::testing
