#include "render_support.h"

#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

using Kind = FixedMetricsSurface::Kind;

TEST(RenderWrap, words_wrap_at_blanks_and_each_line_starts_one_pixel_in) {
    Rendered r;
    // 10 characters fit in 81 pixels: "one two " is 64 wide, "three" would end at 104.
    std::string text = "one two three";
    render(r, inputFor(text, {0, 0, 81, 400}));
    const auto texts = r.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "one ");
    EXPECT_EQ(texts[0].rect, (TRect{1, 0, 81, 16}));
    EXPECT_EQ(texts[1].rect.Left, 33);
    EXPECT_EQ(texts[2].text, "three");
    EXPECT_EQ(texts[2].rect, (TRect{1, 16, 81, 32}));
    EXPECT_EQ(r.output.ExtentY, 32);
    // The trailing blank of "two " does not count.
    EXPECT_EQ(r.output.ExtentX, 56);
    EXPECT_EQ(r.output.PlainText, "one two three");
}

TEST(RenderWrap, nbsp_joins_words_so_they_move_to_the_next_line_together) {
    Rendered r;
    std::string text = "aaaa bb&nbsp;cc";
    render(r, inputFor(text, {0, 0, 81, 400}));
    EXPECT_EQ(r.shown(), "aaaa |bb cc");
    EXPECT_EQ(r.texts()[1].rect.Top, 16);
    // A run shortened by the entity leaves no trailing blank to take off.
    EXPECT_EQ(r.output.ExtentX, 40);
}

TEST(RenderWrap, blanks_are_never_collapsed) {
    Rendered r;
    render(r, inputFor("a  b"));
    EXPECT_EQ(r.shown(), "a | |b");
    EXPECT_EQ(r.texts()[2].rect.Left, 1 + 16 + 8);
}

TEST(RenderWrap, a_word_wider_than_the_line_stays_on_it_after_what_is_there) {
    Rendered r;
    render(r, inputFor("ab abcdefghijklmnop next", {0, 0, 81, 400}));
    const auto texts = r.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, "abcdefghijklmnop ");
    EXPECT_EQ(texts[1].rect.Top, 0);
    EXPECT_EQ(texts[1].rect.Right, 81); // clipped at the line's right edge
    EXPECT_EQ(texts[2].rect.Top, 16);
}

TEST(RenderWrap, a_word_split_by_a_tag_is_not_broken_at_the_tag) {
    Rendered r;
    render(r, inputFor("xxxxxxx ab<b>cdef</b>", {0, 0, 81, 400}));
    const auto texts = r.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, "ab");
    EXPECT_EQ(texts[1].rect.Top, 16); // "ab" itself did not fit behind the first word
    EXPECT_EQ(texts[2].text, "cdef");
    EXPECT_EQ(texts[2].rect.Top, 16);
    EXPECT_TRUE(texts[2].font.bold);
}

TEST(RenderWrap, without_word_wrap_text_between_tags_is_one_run_that_may_end_in_an_ellipsis) {
    Rendered r;
    HtmlRenderInput input = inputFor("one two three four<br>five", {0, 0, 81, 400});
    input.WordWrap = false;
    render(r, input);
    const auto texts = r.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "one two three four");
    EXPECT_TRUE(texts[0].ellipsis);
    EXPECT_EQ(texts[1].text, "five");
    EXPECT_FALSE(texts[1].ellipsis);
}

TEST(RenderWrap, without_word_wrap_a_run_that_overflows_later_in_the_line_drops_the_rest) {
    Rendered r;
    HtmlRenderInput input = inputFor("abc <b>defghij</b><br>gone", {0, 0, 81, 400});
    input.WordWrap = false;
    render(r, input);
    EXPECT_EQ(r.shown(), "abc |defghij");
    EXPECT_TRUE(r.texts()[1].ellipsis);
    EXPECT_EQ(r.output.PlainText, "abc defghij");
    EXPECT_EQ(r.output.ExtentY, 16);
}

TEST(RenderWrap, tabs_and_prefixes_are_left_to_the_text_output) {
    Rendered r;
    render(r, inputFor("a\tb"));
    EXPECT_EQ(r.texts()[0].text, "a\tb");
    EXPECT_EQ(r.output.ExtentX, 72);
}

TEST(RenderWrap, line_spacing_is_added_to_every_line) {
    Rendered r;
    HtmlRenderInput input = inputFor("a<br>b");
    input.LineSpacing = 4;
    render(r, input);
    EXPECT_EQ(r.texts()[1].rect.Top, 20);
    EXPECT_EQ(r.output.ExtentY, 40);
}

} // namespace
} // namespace newsbell::testing
