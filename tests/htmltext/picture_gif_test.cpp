#include "base/Error.h"
#include "htmltext/GifFrames.h"
#include "htmltext/HTMLPicture.h"
#include "picture_testdata.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::GifTestFrame;
using testing::makeGif;

// A 4x3 screen: a full red frame, a green 2x1 frame at (1, 1), a blue 1x2 frame at (2, 0).
QByteArray threeFrameGif() {
    return makeGif(4, 3, {{0, 0, 4, 3, 1}, {1, 1, 2, 1, 2}, {2, 0, 1, 2, 3}});
}

void load(THTMLPicture& picture, QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&buffer);
}

qsizetype firstMarker(const QByteArray& gif) {
    return gif.indexOf(QByteArray::fromHex("21f904"));
}

TEST(GifFrames, data_of_fewer_than_five_bytes_is_not_a_gif) {
    EXPECT_FALSE(isGifData("GIF8"));
    EXPECT_TRUE(isGifData("GIF8x"));
    EXPECT_FALSE(isGifData("GIF7abcdef"));
}

TEST(GifFrames, markers_need_an_image_descriptor_and_a_byte_after_it) {
    const QByteArray marker = QByteArray::fromHex("21f904"
                                                  "00000000"
                                                  "00"
                                                  "2c");
    EXPECT_FALSE(isGifFrameMarker(marker, 0)) << "nothing follows the descriptor byte";
    EXPECT_TRUE(isGifFrameMarker(marker + "x", 0));
    QByteArray notFollowed = marker + "x";
    notFollowed[8] = 0x2B;
    EXPECT_FALSE(isGifFrameMarker(notFollowed, 0));
    EXPECT_EQ(countGifFrames(threeFrameGif()), 3);
}

TEST(GifFrames, selecting_a_frame_keeps_the_header_and_that_frame_onwards) {
    const QByteArray gif = threeFrameGif();
    EXPECT_EQ(selectGifFrame(gif, 1).data, gif);

    const QByteArray header = gif.left(firstMarker(gif));
    const qsizetype second = gif.indexOf(QByteArray::fromHex("21f904"), firstMarker(gif) + 1);
    const GifFrameSelection selection = selectGifFrame(gif, 2);
    EXPECT_EQ(selection.data, header + gif.mid(second));
    EXPECT_EQ(selection.geometry.x, 1);
    EXPECT_EQ(selection.geometry.y, 1);
    EXPECT_EQ(selection.geometry.width, 2);
    EXPECT_EQ(selection.geometry.height, 1);
    EXPECT_EQ(selection.geometry.screenWidth, 4);
    EXPECT_EQ(selection.geometry.screenHeight, 3);

    const GifFrameSelection pastTheEnd = selectGifFrame(gif, 4);
    EXPECT_EQ(pastTheEnd.data, header);
    EXPECT_EQ(pastTheEnd.geometry.width, 0);
}

TEST(GifFrames, a_descriptor_cut_short_at_the_end_reads_zeros_not_past_the_data) {
    // The marker test only asks for one byte after the descriptor's 0x2C; the offsets and
    // sizes reach seven bytes further.
    const QByteArray data = QByteArray("GIF89a") +
                            QByteArray::fromHex("0500"
                                                "0600") +
                            QByteArray::fromHex("21f904"
                                                "00000000"
                                                "00"
                                                "2c"
                                                "0300");
    const GifFrameSelection selection = selectGifFrame(data, 1);
    EXPECT_EQ(selection.geometry.x, 3);
    EXPECT_EQ(selection.geometry.y, 0);
    EXPECT_EQ(selection.geometry.width, 0);
    EXPECT_EQ(selection.geometry.screenWidth, 5);
    EXPECT_EQ(selection.geometry.screenHeight, 6);
}

TEST(HtmlPictureGif, each_frame_shows_alone_at_its_offset_on_the_logical_screen) {
    THTMLPicture picture;
    load(picture, threeFrameGif());
    EXPECT_EQ(picture.FrameCount(), 3);
    EXPECT_EQ(picture.NaturalWidth(), 4);
    EXPECT_EQ(picture.NaturalHeight(), 3);
    EXPECT_EQ(picture.Image().pixelColor(0, 0), QColor(Qt::red));

    int frameChanges = 0;
    picture.OnFrameChange = [&](THTMLPicture* sender) {
        EXPECT_EQ(sender, &picture);
        ++frameChanges;
    };
    picture.SetFrame(2);
    EXPECT_EQ(frameChanges, 1);
    EXPECT_EQ(picture.FrameXPos(), 1);
    EXPECT_EQ(picture.FrameYPos(), 1);
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(picture.Height(), 1);
    EXPECT_EQ(picture.NaturalWidth(), 4) << "a frame still takes the whole screen's room";
    EXPECT_EQ(picture.Image().pixelColor(0, 0), QColor(Qt::green));

    picture.SetFrame(3);
    EXPECT_EQ(picture.FrameXPos(), 2);
    EXPECT_EQ(picture.Width(), 1);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.Image().pixelColor(0, 1), QColor(Qt::blue));
    EXPECT_EQ(picture.Data(), threeFrameGif()) << "the data stays as loaded";
}

TEST(HtmlPictureGif, a_frame_past_the_last_leaves_nothing_to_decode) {
    THTMLPicture picture;
    load(picture, threeFrameGif());
    try {
        picture.SetFrame(4);
        FAIL() << "decoded a frame that does not exist";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Could not load image");
    }
    EXPECT_FALSE(picture.IsEmpty()) << "the data is still there";
    EXPECT_EQ(picture.Width(), 0);
}

TEST(HtmlPictureGif, a_gif_without_frame_markers_loads_whole_at_its_image_size) {
    THTMLPicture picture;
    load(picture, makeGif(5, 4, {{0, 0, 2, 2, 3, false}}));
    EXPECT_EQ(picture.FrameCount(), 0);
    EXPECT_EQ(picture.FrameXPos(), 0);
    // Without a marker the logical screen is not consulted.
    EXPECT_EQ(picture.NaturalWidth(), picture.Width());
    EXPECT_GT(picture.Width(), 0);
}

TEST(HtmlPictureGif, setting_a_frame_without_data_only_stores_it) {
    THTMLPicture picture;
    int frameChanges = 0;
    picture.OnFrameChange = [&](THTMLPicture*) { ++frameChanges; };
    picture.SetFrame(3);
    EXPECT_EQ(picture.Frame(), 3);
    EXPECT_EQ(frameChanges, 0);
}

TEST(HtmlPictureGif, the_frame_count_follows_newly_loaded_data) {
    THTMLPicture picture;
    load(picture, threeFrameGif());
    ASSERT_EQ(picture.FrameCount(), 3);
    load(picture, makeGif(2, 2, {{0, 0, 2, 2, 1}, {0, 0, 1, 1, 2}}));
    EXPECT_EQ(picture.FrameCount(), 2);
}

} // namespace
} // namespace newsbell
