#include "base/Error.h"
#include "htmltext/HTMLPicture.h"
#include "htmltext/QPainterSurface.h"
#include "picture_testdata.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::encodeImage;
using testing::solidImage;

void load(THTMLPicture& picture, QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&buffer);
}

std::string loadError(QByteArray bytes) {
    THTMLPicture picture;
    try {
        load(picture, bytes);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

// A JPEG whose frame header promises far more than any alert could show.
QByteArray hugeJpegHeader() {
    QByteArray jpeg = encodeImage(solidImage(1, 1, Qt::red), "jpg");
    const qsizetype frameHeader = jpeg.indexOf("\xFF\xC0");
    jpeg.replace(frameHeader + 5, 4,
                 QByteArray::fromHex("ea60"
                                     "ea60")); // 60000 x 60000
    return jpeg;
}

TEST(HtmlPictureLoading, every_supported_format_decodes_to_its_pixel_size) {
    for (const char* format : {"png", "bmp", "jpg", "ico"}) {
        THTMLPicture picture;
        load(picture, encodeImage(solidImage(7, 5, Qt::blue), format));
        EXPECT_FALSE(picture.IsEmpty()) << format;
        EXPECT_EQ(picture.Width(), 7) << format;
        EXPECT_EQ(picture.Height(), 5) << format;
        EXPECT_EQ(picture.NaturalWidth(), 7) << format;
        EXPECT_EQ(picture.FrameCount(), -1) << format;
    }
}

TEST(HtmlPictureLoading, sizes_survive_the_trip_through_hundredths_of_a_millimetre) {
    // 1 pixel is 26.46 hundredths of a millimetre; cutting off the fraction both ways
    // would lose the pixel.
    for (int size : {1, 2, 3, 37, 96, 500}) {
        THTMLPicture picture;
        load(picture, encodeImage(solidImage(size, 1, Qt::red), "png"));
        EXPECT_EQ(picture.Width(), size);
    }
}

TEST(HtmlPictureLoading, failures_carry_their_own_messages) {
    EXPECT_EQ(loadError(""), "Empty image stream created");
    EXPECT_EQ(loadError("this is not a picture at all"), "Could not load image. Invalid format");
    QByteArray truncated = encodeImage(solidImage(20, 20, Qt::red), "png");
    truncated.truncate(40);
    EXPECT_EQ(loadError(truncated), "Could not load image");
    EXPECT_EQ(loadError(hugeJpegHeader()), "Could not allocate memory for image");
}

TEST(HtmlPictureLoading, a_failed_decode_keeps_the_data_but_shows_nothing) {
    THTMLPicture picture;
    EXPECT_THROW(load(picture, "junk junk junk"), Error);
    EXPECT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.Data(), "junk junk junk");
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.NaturalHeight(), 0);
}

TEST(HtmlPictureLoading, streams_are_read_from_their_start_and_written_back_unchanged) {
    const QByteArray png = encodeImage(solidImage(3, 3, Qt::red), "png");
    QByteArray bytes = png;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(10);
    THTMLPicture picture;
    int changes = 0;
    picture.OnChange = [&](THTMLPicture*) { ++changes; };
    picture.LoadFromStream(&buffer);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Width(), 3);

    QByteArray saved;
    QBuffer out(&saved);
    out.open(QIODevice::WriteOnly);
    picture.SaveToStream(&out);
    EXPECT_EQ(saved, png);

    picture.LoadFromStream(nullptr);
    picture.SaveToStream(nullptr);
    EXPECT_EQ(changes, 1);

    THTMLPicture restored;
    restored.OnChange = [&](THTMLPicture*) { ++changes; };
    QBuffer in(&saved);
    in.open(QIODevice::ReadOnly);
    restored.ReadData(&in);
    EXPECT_EQ(restored.Width(), 3);
    EXPECT_EQ(changes, 1) << "restoring is not a change";
}

TEST(HtmlPictureLoading, files_that_are_missing_or_broken_leave_the_picture_empty) {
    QTemporaryDir folder;
    const QString good = folder.filePath(QStringLiteral("good.bmp"));
    const QString bad = folder.filePath(QStringLiteral("bad.png"));
    ASSERT_TRUE(solidImage(4, 2, Qt::green).save(good));
    QFile broken(bad);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a png");
    broken.close();

    THTMLPicture picture;
    picture.LoadFromFile(good);
    EXPECT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_NO_THROW(picture.LoadFromFile(bad));
    EXPECT_TRUE(picture.IsEmpty());
    picture.LoadFromFile(good);
    EXPECT_NO_THROW(picture.LoadFromFile(folder.filePath(QStringLiteral("missing.gif"))));
    EXPECT_TRUE(picture.IsEmpty());
}

TEST(HtmlPictureLoading, only_ordinary_files_are_read) {
    // An endless device would otherwise be read until memory runs out.
    THTMLPicture picture;
    picture.LoadFromFile(QStringLiteral("/dev/zero"));
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_TRUE(picture.Data().isEmpty());
    QTemporaryDir folder;
    picture.LoadFromFile(folder.path());
    EXPECT_TRUE(picture.IsEmpty());
}

// Markup can put any byte into a picture name; one with a NUL names nothing, and loading it
// must neither find a file under the part before the NUL nor make Qt complain.
TEST(HtmlPictureLoading, names_holding_a_nul_load_nothing_quietly) {
    QTemporaryDir folder;
    const QString good = folder.filePath(QStringLiteral("red.png"));
    ASSERT_TRUE(solidImage(4, 2, Qt::red).save(good));
    static int warnings = 0;
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString&) { ++warnings; });
    THTMLPicture picture;
    const std::string withNul = "FILE://" + good.toStdString() + std::string(1, '\0') + "x";
    picture.LoadFromSource(withNul);
    EXPECT_TRUE(picture.IsEmpty());
    picture.LoadFromSource(std::string("RES://Pictures/Red3x2.png") + std::string(1, '\0'));
    EXPECT_TRUE(picture.IsEmpty());
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, 0);
}

TEST(HtmlPictureSources, resource_names_take_any_prefix_case_but_keep_their_own) {
    THTMLPicture picture;
    picture.LoadFromSource("res://Pictures/Red3x2.png");
    EXPECT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.ID(), "res://Pictures/Red3x2.png");

    THTMLPicture wrongCase;
    wrongCase.LoadFromSource("RES://PICTURES/RED3X2.PNG");
    EXPECT_TRUE(wrongCase.IsEmpty());
    EXPECT_EQ(wrongCase.ID(), "RES://PICTURES/RED3X2.PNG");

    THTMLPicture bare;
    bare.LoadFromSource("RES://");
    EXPECT_TRUE(bare.IsEmpty());
}

TEST(HtmlPictureSources, file_names_load_at_once) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("dot.png"));
    ASSERT_TRUE(solidImage(2, 2, Qt::red).save(path));
    const std::string source = "File://" + path.toStdString();
    THTMLPicture picture;
    picture.LoadFromSource(source);
    EXPECT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.ID(), source);
}

TEST(HtmlPictureSources, network_names_are_never_fetched) {
    THTMLPicture synchronous;
    synchronous.Asynchronous = false;
    synchronous.LoadFromSource("http://example.invalid/a.gif");
    EXPECT_TRUE(synchronous.IsEmpty());
    EXPECT_EQ(synchronous.ID(), "http://example.invalid/a.gif");
    EXPECT_EQ(synchronous.DownloadAddress(), "http://example.invalid/a.gif");
    EXPECT_FALSE(synchronous.IsBusy());

    THTMLPicture asynchronous;
    asynchronous.LoadFromSource("http://example.invalid/a.gif");
    EXPECT_TRUE(asynchronous.IsBusy());
    EXPECT_EQ(asynchronous.ID(), "") << "only a finished download names the picture";
    asynchronous.LoadFromSource("http://example.invalid/b.gif");
    EXPECT_EQ(asynchronous.DownloadAddress(), "http://example.invalid/a.gif")
        << "a busy download is not replaced";
    EXPECT_TRUE(asynchronous.IsEmpty());
}

TEST(HtmlPictureAssign, assigning_copies_the_data_and_decodes_it) {
    THTMLPicture source;
    load(source, encodeImage(solidImage(6, 2, Qt::red), "png"));
    THTMLPicture target;
    target.SetFrame(5);
    int changes = 0;
    target.OnChange = [&](THTMLPicture*) { ++changes; };
    target.Assign(&source);
    EXPECT_EQ(target.Data(), source.Data());
    EXPECT_EQ(target.Width(), 6);
    EXPECT_EQ(target.Frame(), 1);
    EXPECT_EQ(changes, 1);

    target.Assign(nullptr);
    EXPECT_TRUE(target.IsEmpty());
    EXPECT_TRUE(target.Data().isEmpty());
    EXPECT_EQ(target.Width(), 0);
}

TEST(HtmlPictureAssign, a_picture_that_never_decoded_can_still_take_a_good_one) {
    THTMLPicture broken;
    EXPECT_THROW(load(broken, "junk junk junk"), Error);
    THTMLPicture good;
    load(good, encodeImage(solidImage(2, 2, Qt::red), "png"));
    EXPECT_NO_THROW(broken.Assign(&good));
    EXPECT_EQ(broken.Width(), 2);
}

class HtmlPictureDrawing : public ::testing::Test {
protected:
    void SetUp() override { testing::ensureGuiApplication(); }

    // The picture drawn on white at (2, 2) on a device of the given resolution; returns the
    // rectangle of red pixels.
    QRect drawnArea(const THTMLPicture& picture, int dotsPerInch, TRect target) {
        QImage canvas = solidImage(20, 20, Qt::white);
        canvas.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
        canvas.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
        {
            QPainter painter(&canvas);
            QPainterSurface surface(painter);
            picture.Draw(surface, target);
        }
        QRect area;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (canvas.pixelColor(x, y) == QColor(Qt::red)) area |= QRect(x, y, 1, 1);
        return area;
    }
};

TEST_F(HtmlPictureDrawing, natural_size_scales_with_the_device_and_stretch_fills_the_target) {
    THTMLPicture picture;
    load(picture, encodeImage(solidImage(3, 2, Qt::red), "png"));
    const TRect target{2, 2, 12, 12};
    EXPECT_EQ(drawnArea(picture, 96, target), QRect(2, 2, 3, 2));
    EXPECT_EQ(drawnArea(picture, 192, target), QRect(2, 2, 6, 4));
    picture.Stretch = true;
    EXPECT_EQ(drawnArea(picture, 96, target), QRect(2, 2, 10, 10));
}

TEST_F(HtmlPictureDrawing, empty_or_undecoded_pictures_draw_nothing) {
    THTMLPicture never;
    EXPECT_TRUE(drawnArea(never, 96, {0, 0, 10, 10}).isEmpty());
    THTMLPicture picture;
    load(picture, encodeImage(solidImage(3, 2, Qt::red), "png"));
    picture.LoadFromFile(QStringLiteral("/nonexistent/picture.png"));
    EXPECT_TRUE(drawnArea(picture, 96, {0, 0, 10, 10}).isEmpty());
}

} // namespace
} // namespace newsbell
