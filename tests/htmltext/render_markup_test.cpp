#include "htmltext/HtmlMarkup.h"
#include "render_support.h"

#include <gtest/gtest.h>
#include <random>

namespace newsbell::testing {
namespace {

using Kind = FixedMetricsSurface::Kind;

std::string drawnText(std::string_view markup) {
    Rendered r;
    render(r, inputFor(markup));
    std::string joined;
    for (const auto& item : r.surface.drawn())
        if (item.kind == Kind::Text) joined += item.text;
    return joined;
}

TEST(RenderEntities, named_entities_become_the_characters_they_name_in_the_code_page) {
    EXPECT_EQ(drawnText("&euro;&sect;&permil;&reg;&copy;&para;&trade;"), cp1251("€§‰®©¶™"));
    EXPECT_EQ(drawnText("&EURO; &Copy;"), cp1251("€ ©"));
    EXPECT_EQ(drawnText("&quot;x&quot;"), "\"x\"");
}

TEST(RenderEntities, ampersands_escaped_or_bare_are_shown_as_the_text_output_shows_them) {
    Rendered r;
    render(r, inputFor("S&amp;P a&b"));
    EXPECT_EQ(r.texts()[0].text, "S&P ");
    EXPECT_EQ(r.texts()[1].text, "ab"); // the bare "&" only underlines the "b"
    EXPECT_EQ(r.output.ExtentX, 6 * 8);
}

TEST(RenderEntities, an_escaped_ampersand_is_not_decoded_a_second_time) {
    EXPECT_EQ(drawnText("&amp;lt;b&amp;gt;"), "&lt;b&gt;");
    EXPECT_EQ(drawnText("&amp;euro;"), "&euro;");
    EXPECT_EQ(drawnText("&amp;amp;"), "&amp;");
}

TEST(RenderEntities, lt_and_gt_show_tag_text_without_switching_anything_on) {
    Rendered r;
    render(r, inputFor("&lt;b&gt;x"));
    EXPECT_EQ(r.texts()[0].text, "<b>x");
    EXPECT_FALSE(r.texts()[0].font.bold);
}

TEST(RenderEntities, hash_tag_shows_its_text) {
    EXPECT_EQ(drawnText("a<#b>c<#d>"), "a#bc");
}

TEST(RenderLayout, an_empty_text_paints_nothing_and_is_one_standard_height_tall) {
    Rendered r;
    r.output.AnchorHit = true;
    r.output.PlainText = "old";
    render(r, inputFor(""));
    EXPECT_TRUE(r.surface.drawn().empty());
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(r.output.ExtentX, 0);
    EXPECT_EQ(r.output.ExtentY, 16);
    EXPECT_EQ(r.output.PlainText, "");
    EXPECT_EQ(r.output.LinkCount, 0);
}

TEST(RenderLayout, lines_stop_where_one_standard_height_no_longer_fits) {
    Rendered r;
    render(r, inputFor("a<br>b<br>c", {0, 0, 100, 32}));
    EXPECT_EQ(r.shown(), "a|b");
    EXPECT_EQ(r.output.ExtentY, 32);
    EXPECT_EQ(r.output.PlainText, "a\rb\r");

    Rendered measured;
    HtmlRenderInput input = inputFor("a<br>b<br>c", {0, 0, 100, 32});
    input.MeasureOnly = true;
    render(measured, input);
    EXPECT_EQ(measured.output.ExtentY, 48);
}

TEST(RenderMalformed, a_tag_without_its_end_swallows_the_rest) {
    EXPECT_EQ(drawnText("ab<"), "ab");
    EXPECT_EQ(drawnText("ab<x"), "ab");
    EXPECT_EQ(drawnText("ab<font color=\"clred\" more text"), "ab");
    EXPECT_EQ(drawnText("ab</b"), "ab");
    EXPECT_EQ(drawnText("ab<b more"), "ab");
}

TEST(RenderMalformed, a_stray_closing_anchor_or_highlight_changes_nothing_it_cannot_restore) {
    Rendered r;
    r.surface.setBrushColor(0x00FF00);
    HtmlRenderInput input = inputFor("</hi></a>x</r>y");
    input.HoverColor = 0x0000FF;
    render(r, input);
    EXPECT_EQ(r.shown(), "x|y");
    EXPECT_EQ(r.texts()[0].color, clNone);
    EXPECT_EQ(r.texts()[1].font, r.surface.font());
}

// Markup soup from a small alphabet full of tag letters, quotes and entity pieces.
std::string tagSoup(std::mt19937& random, size_t length) {
    static const std::vector<std::string> pieces{
        "<",        ">",          "</",  "\"",         "=",        " ",
        "&",        ";",          "amp", "nbsp",       "lt",       "#",
        "\r",       "\n",         "\t",  "a",          "b",        "br",
        "img src=", "IDX:",       "x",   "font size=", "p align=", "ul",
        "li",       "sub",        "sup", "ind x=",     "r a=",     "body bgcolor=",
        "clred",    "z",          "hi",  "e",          "0x",       "FFFFFF",
        "-",        "99999999999"};
    std::string text;
    while (text.size() < length) text += pieces[random() % pieces.size()];
    return text;
}

TEST(RenderMalformed, any_markup_ends_and_leaves_the_surface_as_it_was) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 1500; ++round) {
        const std::string text = tagSoup(random, 1 + random() % 120);
        HtmlRenderInput input = inputFor(text, {0, 0, int(random() % 200), int(random() % 200)});
        input.WordWrap = random() % 2;
        input.HitTestOnly = random() % 3 == 0;
        input.MeasureOnly = random() % 5 == 0;
        input.FocusLink = int(random() % 3) - 1;
        input.PointX = int(random() % 200);
        input.PointY = int(random() % 200);
        Rendered r;
        const Font start = r.surface.font();
        render(r, input);
        ASSERT_EQ(r.surface.font(), start) << text;
        ASSERT_EQ(r.surface.brushColor(), 0xFFFFFFu) << text;
        ASSERT_GE(r.output.ExtentY, 0) << text;
    }
}

TEST(MarkupValues, numbers_read_as_far_as_they_go) {
    bool complete = false;
    EXPECT_EQ(html::readNumber("20px", &complete), 20);
    EXPECT_FALSE(complete);
    EXPECT_EQ(html::readNumber(" -15", &complete), -15);
    EXPECT_TRUE(complete);
    EXPECT_EQ(html::readNumber("$1F"), 31);
    EXPECT_EQ(html::readNumber("x1f"), 31);
    EXPECT_EQ(html::readNumber("0x10"), 16);
    EXPECT_EQ(html::readNumber("", &complete), 0);
    EXPECT_FALSE(complete);
    EXPECT_EQ(html::readNumber("99999999999999999999"), html::maxNumber);
    EXPECT_EQ(html::readNumber("-99999999999999999999"), -html::maxNumber);
}

TEST(MarkupValues, colours_from_names_and_hash_values) {
    EXPECT_EQ(html::readColor("#FF0000"), 0x0000FFu);
    EXPECT_EQ(html::readColor("#0000FF"), 0xFF0000u);
    EXPECT_EQ(html::readColor("#FF"), 0x0000FFu); // missing pairs count 0
    EXPECT_EQ(html::readColor("clRed"), 0x0000FFu);
    EXPECT_EQ(html::readColor("CLTEAL"), 0x808000u);
    EXPECT_EQ(html::readColor("clHighlight"), 0xFF00000Du);
    EXPECT_EQ(html::readColor("cl3DLight"), 0xFF000016u);
    EXPECT_EQ(html::readColor("red"), 0u);
    EXPECT_EQ(html::readColor(""), clNone);
}

TEST(MarkupValues, attribute_values_are_found_by_plain_search_between_quotes) {
    using html::attributeValue;
    EXPECT_EQ(attributeValue(" BGCOLORTO=\"A\" BGCOLOR=\"B\"", "BGCOLOR"), "A");
    EXPECT_EQ(attributeValue(" ALIGN=CENTER SIZE=\"3\"", "ALIGN"), "3");
    EXPECT_EQ(attributeValue(" ALIGN=CENTER", "ALIGN"), "");
    EXPECT_EQ(attributeValue(" ALIGN=\"CENTER", "ALIGN"), "");
    EXPECT_EQ(attributeValue(" FACE=\"X\"", "ALIGN"), std::nullopt);
}

TEST(MarkupValues, font_sizes_one_to_five_are_steps_and_the_rest_points) {
    EXPECT_EQ(html::fontSizeFromHtml(1), 8);
    EXPECT_EQ(html::fontSizeFromHtml(5), 16);
    EXPECT_EQ(html::fontSizeFromHtml(0), 0);
    EXPECT_EQ(html::fontSizeFromHtml(9), 9);
}

} // namespace
} // namespace newsbell::testing
