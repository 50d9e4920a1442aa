#include "render_support.h"

#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

using Kind = FixedMetricsSurface::Kind;

Rendered& rendered(Rendered& r, std::string_view text, TRect rect = {0, 0, 400, 400}) {
    render(r, inputFor(text, rect));
    return r;
}

TEST(RenderTags, style_flags_switch_on_and_off_without_nesting) {
    Rendered r;
    rendered(r, "<b>b</b><i>i</i><u>u</u><s>s</s>n");
    EXPECT_TRUE(textAt(r, "b").font.bold);
    EXPECT_TRUE(textAt(r, "i").font.italic);
    EXPECT_TRUE(textAt(r, "u").font.underline);
    EXPECT_TRUE(textAt(r, "s").font.strikeOut);
    const Font plain = textAt(r, "n").font;
    EXPECT_FALSE(plain.bold || plain.italic || plain.underline || plain.strikeOut);
}

TEST(RenderTags, line_breaks_come_from_br_in_any_case_and_from_carriage_returns) {
    Rendered r;
    rendered(r, "a<br>b<BR>c\r\nd\ne\rf");
    EXPECT_EQ(r.shown(), "a|b|c|de|f");
    EXPECT_EQ(textAt(r, "de").rect.Top, 48);
    EXPECT_EQ(textAt(r, "f").rect.Top, 64);
    EXPECT_EQ(r.output.PlainText, "a\rb\rc\rde\rf");
}

TEST(RenderTags, em_draws_the_red_zigzag_under_its_runs) {
    Rendered r;
    rendered(r, "<em>ab</em> c");
    const auto lines = r.drawn(Kind::Line);
    // "ab" spans x 1..17; the zigzag starts at the even x 0, 2 below the bottom when x is a
    // multiple of 4, and goes in steps of 2 up to the run's right edge.
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0].rect, (TRect{0, 17, 2, 15}));
    EXPECT_EQ(lines[1].rect, (TRect{2, 15, 4, 17}));
    EXPECT_EQ(lines[8].rect.Right, 18);
    for (const auto& line : lines) {
        EXPECT_EQ(line.color, 0x0000FFu);
        EXPECT_EQ(line.penWidth, 1);
    }
}

TEST(RenderTags, list_items_get_bullets_by_level_and_link_counts_as_one) {
    Rendered r;
    rendered(r, "<ul><li>one<li>two<ul><link>deep</ul></ul>after");
    const auto bullets = r.drawn(Kind::TextOut);
    ASSERT_EQ(bullets.size(), 3u);
    EXPECT_EQ(bullets[0].text, "\xB7");
    EXPECT_EQ(bullets[0].font.face, "Symbol");
    EXPECT_EQ(bullets[0].rect.Left, 1);
    EXPECT_EQ(bullets[0].rect.Top, 16); // the UL tag ended the first line
    EXPECT_EQ(bullets[1].rect.Top, 32); // a second item starts a new line
    EXPECT_EQ(bullets[2].text, "o");
    EXPECT_EQ(bullets[2].rect.Left, 13);
    EXPECT_EQ(textAt(r, "one").rect.Left, 13);
    EXPECT_EQ(textAt(r, "one").font.face, r.surface.font().face);
    EXPECT_EQ(textAt(r, "deep").rect.Left, 25);
    EXPECT_FALSE(textAt(r, "after").font.underline);
}

TEST(RenderTags, closing_ul_without_a_list_ends_underline) {
    Rendered r;
    rendered(r, "<u>a</ul>b");
    EXPECT_FALSE(textAt(r, "b").font.underline);
}

TEST(RenderTags, hr_ends_the_line_with_a_black_rule_under_it) {
    Rendered r;
    r.surface.setPenColor(0x00FF00);
    rendered(r, "a<hr>b");
    const auto lines = r.drawn(Kind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rect, (TRect{1, 17, 400, 17}));
    EXPECT_EQ(lines[0].color, 0u);
    EXPECT_EQ(r.surface.penColor(), 0x00FF00u);
    EXPECT_EQ(textAt(r, "b").rect.Top, 16);
}

TEST(RenderTags, hi_highlights_and_its_closing_tag_puts_the_colours_back) {
    Rendered r;
    rendered(r, "a<hi>b</hi>c</hi>d");
    EXPECT_EQ(textAt(r, "b").color, 0xFF00000Du);
    EXPECT_EQ(textAt(r, "b").font.color, 0xFF00000Eu);
    EXPECT_EQ(textAt(r, "c").color, clNone);
    EXPECT_EQ(textAt(r, "c").font.color, 0u);
    EXPECT_EQ(textAt(r, "d").color, clNone);
}

TEST(RenderTags, subscript_and_superscript_make_room_below_and_above) {
    Rendered sub;
    rendered(sub, "a<sub>b</sub>c");
    EXPECT_EQ(textAt(sub, "a").rect.Bottom, 16);
    EXPECT_EQ(textAt(sub, "b").rect.Bottom, 20);
    EXPECT_EQ(textAt(sub, "c").rect.Bottom, 16);
    EXPECT_EQ(sub.output.ExtentY, 20);

    Rendered nextLine;
    rendered(nextLine, "a<sub>b<br>c");
    EXPECT_EQ(textAt(nextLine, "c").rect, (TRect{1, 20, 400, 36}));
    EXPECT_EQ(nextLine.output.ExtentY, 36);

    Rendered sup;
    rendered(sup, "a<sup>b</sup>c<br>d");
    EXPECT_EQ(textAt(sup, "a").rect.Bottom, 20);
    EXPECT_EQ(textAt(sup, "b").rect.Bottom, 16);
    EXPECT_EQ(textAt(sup, "d").rect.Top, 20);
}

TEST(RenderTags, shadow_draws_the_run_first_in_the_shadow_colour_displaced) {
    Rendered r;
    HtmlRenderInput input = inputFor("<shad>a</shad>b");
    input.ShadowOffset = 2;
    input.ShadowColor = 0x111111;
    render(r, input);
    const auto texts = r.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].rect, (TRect{3, 2, 402, 18}));
    EXPECT_EQ(texts[0].font.color, 0x111111u);
    EXPECT_EQ(texts[1].rect, (TRect{1, 0, 400, 16}));
    EXPECT_EQ(texts[1].font.color, 0u);
    EXPECT_EQ(texts[2].text, "b");
}

TEST(RenderTags, hidden_text_goes_to_plain_text_only) {
    Rendered r;
    rendered(r, "a<z>secret words</z>b");
    EXPECT_EQ(r.shown(), "a|b");
    EXPECT_EQ(textAt(r, "b").rect.Left, 9);
    EXPECT_EQ(r.output.PlainText, "asecret wordsb");
}

TEST(RenderTags, r_rotates_the_font_until_its_closing_tag) {
    Rendered r;
    rendered(r, "<r a=90>x<br>y</r>z");
    EXPECT_EQ(textAt(r, "x").font.escapement, 900);
    EXPECT_EQ(textAt(r, "y").font.escapement, 900);
    EXPECT_EQ(textAt(r, "z").font.escapement, 0);
}

TEST(RenderTags, ind_moves_to_a_column_only_forward_and_only_for_a_whole_number) {
    Rendered r;
    rendered(r, "ab<ind x=\"40\">c<ind x=\"8\">d<ind x=\"80px\">e");
    EXPECT_EQ(textAt(r, "c").rect.Left, 40);
    EXPECT_EQ(textAt(r, "d").rect.Left, 48);
    EXPECT_EQ(textAt(r, "e").rect.Left, 56);
    EXPECT_EQ(r.output.ExtentX, 40 + 3 * 8); // the column, then c, d and e
}

TEST(RenderTags, font_sets_colour_size_and_face_and_its_closing_tag_returns_to_the_base_font) {
    Rendered r;
    rendered(r, "<font face=\"Arial\" size=\"5\" color=\"clred\">x</font>y"
                "<font size=\"20\" color=\"#00FF00\">z</font>");
    const Font x = textAt(r, "x").font;
    EXPECT_EQ(x.face, "ARIAL");
    EXPECT_EQ(x.size, 16);
    EXPECT_EQ(x.color, 0x0000FFu);
    EXPECT_EQ(textAt(r, "y").font, r.surface.font());
    EXPECT_EQ(textAt(r, "z").font.size, 20);
    EXPECT_EQ(textAt(r, "z").font.color, 0x00FF00u);
}

TEST(RenderTags, font_color_must_be_quoted_and_named_as_the_table_names_it) {
    Rendered r;
    rendered(r, "<font color=\"red\">a</font><font color=clred>b</font>"
                "<font color=\"#FF0000\">c</font>");
    EXPECT_EQ(textAt(r, "a").font.color, 0u);
    EXPECT_EQ(textAt(r, "b").font.color, 0u);
    EXPECT_EQ(textAt(r, "c").font.color, 0x0000FFu);
}

TEST(RenderTags, font_bgcolor_paints_behind_the_text_until_the_closing_tag) {
    Rendered r;
    rendered(r, "<font bgcolor=\"clyellow\">x</font>y");
    EXPECT_EQ(textAt(r, "x").color, 0x00FFFFu);
    EXPECT_EQ(textAt(r, "y").color, clNone);
}

TEST(RenderTags, selected_text_ignores_font_colours) {
    Rendered r;
    HtmlRenderInput input = inputFor("<font color=\"clred\" bgcolor=\"clyellow\">x</font>");
    input.Selected = true;
    render(r, input);
    EXPECT_EQ(textAt(r, "x").font.color, 0u);
    EXPECT_EQ(textAt(r, "x").color, clNone);
}

TEST(RenderTags, p_alignment_and_indent_hold_for_the_following_lines) {
    Rendered r;
    rendered(r, "<p align=\"center\">ab</p>cd</p><p align=\"right\">ef</p>"
                "<p align=\"left\" indent=\"10\">gh");
    // Centred in 400 - 1 pixels: 1 + (399 - 16) / 2.
    EXPECT_EQ(textAt(r, "ab").rect.Left, 192);
    EXPECT_EQ(textAt(r, "cd").rect.Left, 192);
    EXPECT_EQ(textAt(r, "ef").rect.Left, 400 - 16);
    EXPECT_EQ(textAt(r, "gh").rect.Left, 11);
}

TEST(RenderTags, p_unquoted_align_does_nothing) {
    Rendered r;
    rendered(r, "<p align=center>ab");
    EXPECT_EQ(textAt(r, "ab").rect.Left, 1);
}

TEST(RenderTags, p_bgcolor_fills_its_lines_until_the_closing_tag) {
    Rendered r;
    rendered(r, "<p bgcolor=\"clyellow\">ab<br>cd</p>ef");
    const auto fills = r.drawn(Kind::Fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].rect, (TRect{0, 0, 400, 16}));
    EXPECT_EQ(fills[0].color, 0x00FFFFu);
    EXPECT_EQ(fills[1].rect, (TRect{0, 16, 400, 32}));
    EXPECT_EQ(textAt(r, "cd").color, 0x00FFFFu);
    EXPECT_EQ(textAt(r, "ef").color, clNone);
}

TEST(RenderTags, p_bgcolorto_fills_a_gradient_and_leaves_the_text_transparent) {
    Rendered r;
    rendered(r, "<p bgcolor=\"#000000\" bgcolorto=\"#FF0000\">ab");
    const auto fills = r.drawn(Kind::Fill);
    ASSERT_EQ(fills.size(), 64u);
    EXPECT_EQ(fills[0].rect, (TRect{0, 0, 7, 18}));
    EXPECT_EQ(fills[0].color, 0u);
    EXPECT_EQ(fills[1].rect.Left, 6);
    EXPECT_EQ(fills[63].color, 0x0000FBu);
    EXPECT_EQ(fills[63].rect.Right, 400);
    EXPECT_EQ(textAt(r, "ab").color, clNone);
}

TEST(RenderTags, body_fills_the_whole_rectangle_or_a_gradient_in_either_direction) {
    Rendered solid;
    rendered(solid, "<body bgcolor=\"clsilver\">x", {0, 0, 100, 50});
    ASSERT_EQ(solid.drawn(Kind::Fill).size(), 1u);
    EXPECT_EQ(solid.drawn(Kind::Fill)[0].rect, (TRect{-2, 0, 100, 50}));
    EXPECT_EQ(textAt(solid, "x").color, 0xC0C0C0u);

    Rendered vertical;
    rendered(vertical, "<body bgcolor=\"clblack\" bgcolorto=\"clwhite\" dir=\"V\">x",
             {0, 0, 100, 128});
    const auto bands = vertical.drawn(Kind::Fill);
    ASSERT_EQ(bands.size(), 64u);
    EXPECT_EQ(bands[1].rect, (TRect{0, 2, 100, 5}));
    EXPECT_EQ(bands[32].color, 0x808080u);

    Rendered selected;
    HtmlRenderInput input = inputFor("<body bgcolor=\"clsilver\">x");
    input.Selected = true;
    render(selected, input);
    EXPECT_TRUE(selected.drawn(Kind::Fill).empty());
}

TEST(RenderTags, blink_in_its_dark_phase_takes_the_background_colour) {
    Rendered r;
    r.surface.setBrushColor(0xFFFFFF);
    HtmlRenderInput input = inputFor("<blink>x</blink>y");
    input.BlinkOn = false;
    render(r, input);
    EXPECT_EQ(textAt(r, "x").font.color, 0xFFFFFFu);
    EXPECT_EQ(textAt(r, "y").font.color, 0u);
}

TEST(RenderTags, unknown_tags_vanish_without_a_trace) {
    Rendered r;
    rendered(r, "a<c>b<table border=1>c<1>d</q>e<DIV>f");
    EXPECT_EQ(r.shown(), "a|b|c|d|e|f");
    EXPECT_EQ(r.output.PlainText, "abcdef");
    EXPECT_EQ(r.output.ExtentY, 16);
}

} // namespace
} // namespace newsbell::testing
