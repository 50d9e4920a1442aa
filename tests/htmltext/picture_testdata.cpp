#include "picture_testdata.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace newsbell::testing {

namespace {

void appendWord(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char(value >> 8 & 0xFF));
}

// LZW with 2-bit literals, written with a clear code before every second pixel so that the
// code width never grows past 3 bits: large, but trivially valid.
QByteArray lzwPixels(int count, int colorIndex) {
    constexpr int clear = 4;
    constexpr int end = 5;
    std::vector<int> codes;
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0) codes.push_back(clear);
        codes.push_back(colorIndex);
    }
    codes.push_back(end);
    QByteArray bytes;
    int buffer = 0;
    int bits = 0;
    for (int code : codes) {
        buffer |= code << bits;
        bits += 3;
        while (bits >= 8) {
            bytes.append(char(buffer & 0xFF));
            buffer >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0) bytes.append(char(buffer & 0xFF));
    QByteArray blocks;
    blocks.append(char(2)); // minimum code size
    for (qsizetype at = 0; at < bytes.size(); at += 255) {
        const QByteArray block = bytes.mid(at, 255);
        blocks.append(char(block.size()));
        blocks.append(block);
    }
    blocks.append(char(0));
    return blocks;
}

} // namespace

QByteArray makeGif(int screenWidth, int screenHeight, const std::vector<GifTestFrame>& frames) {
    QByteArray gif("GIF89a");
    appendWord(gif, screenWidth);
    appendWord(gif, screenHeight);
    gif.append(char(0x91)); // global colour table of 4 entries
    gif.append(char(0));
    gif.append(char(0));
    gif.append(QByteArray::fromHex("ffffff"
                                   "ff0000"
                                   "00ff00"
                                   "0000ff"));
    for (const GifTestFrame& frame : frames) {
        if (frame.withControlExtension)
            gif.append(QByteArray::fromHex("21f904"
                                           "04"
                                           "0a00"
                                           "00"
                                           "00"));
        gif.append(char(0x2C));
        appendWord(gif, frame.x);
        appendWord(gif, frame.y);
        appendWord(gif, frame.width);
        appendWord(gif, frame.height);
        gif.append(char(0));
        gif.append(lzwPixels(frame.width * frame.height, frame.colorIndex));
    }
    gif.append(char(0x3B));
    return gif;
}

QByteArray encodeImage(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage solidImage(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

namespace {

// The application ends with the test run, while Qt is still whole: left to the static
// destructors it would outlive Qt's own thread storage and crash.
class GuiApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override { delete QCoreApplication::instance(); }
};

} // namespace

void ensureGuiApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "htmltext_tests";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);
}

const char* dejaVuSans() {
    ensureGuiApplication();
    static const bool loaded = [] {
        for (const char* face :
             {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSans-Oblique", "DejaVuSans-BoldOblique"})
            QFontDatabase::addApplicationFont(
                QStringLiteral("/usr/share/fonts/truetype/dejavu/%1.ttf").arg(QLatin1String(face)));
        return true;
    }();
    (void)loaded;
    return "DejaVu Sans";
}

} // namespace newsbell::testing
