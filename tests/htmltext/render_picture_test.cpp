#include "htmltext/HTMLPictureCache.h"
#include "htmltext/PictureContainer.h"
#include "picture_testdata.h"
#include "render_support.h"
#include "tests/support/FakeImageList.h"

#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

using Kind = FixedMetricsSurface::Kind;

constexpr const char* red3x2 = "RES://Pictures/Red3x2.png";

struct PictureRender : ::testing::Test {
    Rendered& withPictures(std::string_view text, TRect rect = {0, 0, 400, 400}) {
        HtmlRenderInput input = inputFor(text, rect);
        input.PictureCache = &cache;
        input.PictureContainer = &container;
        render(result, input);
        return result;
    }

    THTMLPictureCache cache;
    TPictureContainer container;
    Rendered result;
};

TEST_F(PictureRender, a_cached_picture_takes_its_natural_size_in_the_line) {
    const std::string text = std::string("<img src=\"") + red3x2 + "\">ab";
    withPictures(text);
    const auto images = result.drawn(Kind::Image);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, (TRect{1, 0, 4, 2}));
    EXPECT_EQ(textAt(result, "ab").rect.Left, 4);
    EXPECT_EQ(result.output.ExtentX, 3 + 16);
    EXPECT_EQ(result.output.ExtentY, 16);
    ASSERT_EQ(cache.Count(), 1);

    Rendered again;
    HtmlRenderInput input = inputFor(text);
    input.PictureCache = &cache;
    render(again, input);
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_EQ(again.drawn(Kind::Image).size(), 1u);
}

TEST_F(PictureRender, width_and_height_stretch_the_picture_and_make_the_line_taller) {
    withPictures(std::string("a<img src=\"") + red3x2 + "\" width=\"30\" height=\"40\">b");
    ASSERT_EQ(result.drawn(Kind::Image).size(), 1u);
    EXPECT_EQ(result.drawn(Kind::Image)[0].rect, (TRect{9, 0, 39, 40}));
    EXPECT_EQ(textAt(result, "a").rect.Bottom, 40);
    EXPECT_EQ(textAt(result, "b").rect.Left, 39);
    EXPECT_EQ(result.output.ExtentY, 40);
}

TEST_F(PictureRender, align_top_and_middle_raise_the_text_of_the_line) {
    withPictures(std::string("a<img src=\"") + red3x2 +
                 "\" width=\"30\" height=\"40\" align=\"top\">b");
    EXPECT_EQ(textAt(result, "a").rect.Bottom, 16);
    Rendered middle;
    const std::string text =
        std::string("a<img src=\"") + red3x2 + "\" width=\"30\" height=\"40\" align=\"middle\">b";
    HtmlRenderInput input = inputFor(text);
    input.PictureCache = &cache;
    render(middle, input);
    EXPECT_EQ(textAt(middle, "b").rect.Bottom, 28);
}

TEST_F(PictureRender, a_picture_that_does_not_fit_moves_to_the_next_line) {
    withPictures(std::string("abcd<img src=\"") + red3x2 + "\" width=\"30\" height=\"10\">",
                 {0, 0, 41, 400});
    ASSERT_EQ(result.drawn(Kind::Image).size(), 1u);
    EXPECT_EQ(result.drawn(Kind::Image)[0].rect, (TRect{1, 16, 31, 26}));
    EXPECT_EQ(result.output.ExtentY, 32);
}

TEST_F(PictureRender, container_pictures_are_found_by_name_in_any_case) {
    container.Items().Add().Name = "Logo";
    container.Items().Items(0).Picture().LoadFromResource(QStringLiteral("Pictures/Red3x2.png"));
    withPictures("<img src=\"LOGO\">x");
    ASSERT_EQ(result.drawn(Kind::Image).size(), 1u);
    EXPECT_EQ(textAt(result, "x").rect.Left, 4);
}

TEST_F(PictureRender, missing_pictures_take_no_room_and_raise_nothing) {
    withPictures("<img src=\"FILE:///no/such/picture.png\"><img src=\"nothing\">"
                 "<img src=\"http://example.invalid/p.gif\">x");
    EXPECT_TRUE(result.drawn(Kind::Image).empty());
    EXPECT_EQ(textAt(result, "x").rect.Left, 1);
    EXPECT_EQ(cache.Count(), 2);
}

TEST_F(PictureRender, body_background_tiles_a_picture_over_the_rectangle) {
    container.Items().Add().Name = "tile";
    container.Items().Items(0).Picture().LoadFromResource(QStringLiteral("Pictures/Red3x2.png"));
    withPictures("<body background=\"tile\">", {0, 0, 7, 3});
    const auto images = result.drawn(Kind::Image);
    ASSERT_EQ(images.size(), 6u);
    EXPECT_EQ(images[2].rect, (TRect{6, 0, 9, 2}));
    EXPECT_EQ(images[5].rect, (TRect{6, 2, 9, 4}));
    ASSERT_EQ(result.drawn(Kind::Clip).size(), 1u);
    EXPECT_EQ(result.drawn(Kind::Clip)[0].rect, (TRect{0, 0, 7, 3}));
    EXPECT_EQ(result.drawn(Kind::Unclip).size(), 1u);
}

TEST(RenderImageList, idx_pictures_come_from_the_image_list_and_print_stretched) {
    const FakeImageList images(3, QSize(16, 20));
    Rendered r;
    HtmlRenderInput input =
        inputFor("<img src=\"idx:2\">a<img src=\"IDX:3\">b<img src=\"idx:-1\">c");
    input.Images = &images;
    render(r, input);
    ASSERT_EQ(r.drawn(Kind::Image).size(), 1u);
    EXPECT_EQ(r.drawn(Kind::Image)[0].rect, (TRect{1, 0, 17, 20}));
    EXPECT_EQ(textAt(r, "a").rect.Left, 17);
    EXPECT_EQ(textAt(r, "b").rect.Left, 25);      // an index past the list takes no room
    EXPECT_EQ(textAt(r, "c").rect.Left, 25 + 24); // a negative one takes room, draws nothing
    EXPECT_EQ(r.output.ExtentY, 20);

    Rendered printed;
    input.Text = "<img src=\"idx:0\">a";
    input.PrintMode = true;
    input.ResolutionFactor = 2.5;
    render(printed, input);
    EXPECT_EQ(printed.drawn(Kind::Image)[0].rect, (TRect{1, 0, 41, 50}));
    EXPECT_EQ(textAt(printed, "a").rect.Left, 17);
}

} // namespace
} // namespace newsbell::testing
