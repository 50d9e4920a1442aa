#include "HTMLPicture.h"

#include "base/Cp1251.h"
#include "base/Error.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <new>

namespace newsbell {

namespace {

constexpr int himetricPerInch = 2540; // hundredths of a millimetre
constexpr int logicalPixelsPerInch = 96;

// number * numerator / denominator, rounded to the nearest integer, as the platform's
// multiply-divide does; truncating would lose a pixel on every round trip through HIMETRIC.
int mulDiv(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return int(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

bool startsWithUpperCased(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        if ((c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c) != prefix[i]) return false;
    }
    return true;
}

// The picture a decoder gives for a GIF covers the whole logical screen; the picture of a
// frame is just the frame, placed by its offset when drawn.
QImage cropToFrame(const QImage& image, const GifFrameGeometry& frame) {
    const QRect frameRect = QRect(frame.x, frame.y, frame.width, frame.height) & image.rect();
    if (frameRect.isEmpty() || frameRect == image.rect()) return image;
    return image.copy(frameRect);
}

QImage decode(QByteArray bytes) {
    if (bytes.isEmpty()) throw Error("Empty image stream created");
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) throw Error("Could not create image stream");
    QImageReader reader(&buffer);
    if (!reader.canRead()) throw Error("Could not load image. Invalid format");
    // A few header bytes can claim a picture of gigabytes; refuse it before decoding.
    const QSize size = reader.size();
    const long long megabytes = 1024LL * 1024;
    if (size.isValid() && QImageReader::allocationLimit() > 0 &&
        4LL * size.width() * size.height() > QImageReader::allocationLimit() * megabytes)
        throw Error("Could not allocate memory for image");
    QImage image = reader.read();
    if (image.isNull()) throw Error("Could not load image");
    return image;
}

} // namespace

void THTMLPicture::takeData(QIODevice* stream) {
    if (!stream->isSequential()) stream->seek(0);
    data = stream->readAll();
    frameCount = -1; // the count belongs to the data it was taken from
}

void THTMLPicture::LoadFromStream(QIODevice* stream) {
    if (!stream) return;
    ReadData(stream);
    changed();
}

void THTMLPicture::ReadData(QIODevice* stream) {
    if (!stream) return;
    takeData(stream);
    empty = false;
    LoadPicture();
}

void THTMLPicture::SaveToStream(QIODevice* stream) const {
    if (stream) stream->write(data);
}

void THTMLPicture::LoadFromFile(const QString& fileName) {
    try {
        // Only ordinary files: markup naming a device or a pipe must not stall the window. A
        // name holding a NUL names no file at all.
        if (fileName.isEmpty() || fileName.contains(QChar(0))) throw Error("no file name");
        QFile file(fileName);
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
            throw Error("cannot open");
        LoadFromStream(&file);
    } catch (...) {
        // A picture that cannot be shown simply is not shown; markup naming it still renders.
        empty = true;
    }
}

void THTMLPicture::LoadFromResource(const QString& name) {
    if (name.contains(QChar(0))) return; // no resource has such a name
    QFile resource(QStringLiteral(":/") + name);
    if (!resource.open(QIODevice::ReadOnly)) return;
    LoadFromStream(&resource);
}

void THTMLPicture::LoadFromSource(std::string_view source) {
    static constexpr std::string_view resourcePrefix = "RES://";
    static constexpr std::string_view filePrefix = "FILE://";
    if (startsWithUpperCased(source, resourcePrefix)) {
        cacheName = source;
        if (source.size() > resourcePrefix.size())
            LoadFromResource(fromCp1251(source.substr(resourcePrefix.size())));
    } else if (startsWithUpperCased(source, filePrefix)) {
        cacheName = source;
        if (source.size() > filePrefix.size())
            LoadFromFile(fromCp1251(source.substr(filePrefix.size())));
    } else if (!Asynchronous) {
        downloadAddress = source;
        cacheName = source;
    } else if (!busy) {
        // Network pictures are never fetched: the download stays busy and the picture empty.
        downloadAddress = source;
        busy = true;
    }
}

void THTMLPicture::reset() {
    empty = true;
    image = QImage();
    frameCount = -1;
    frame = 1;
}

void THTMLPicture::Assign(const THTMLPicture* source) {
    if (source == this) return;
    // The old data is not decoded again on the way: it is replaced at once, and a picture
    // that never decoded must not block taking a good one.
    reset();
    if (!source) {
        data.clear();
        return;
    }
    data = source->data;
    empty = false;
    LoadPicture();
    changed();
}

void THTMLPicture::SetFrame(int value) {
    frame = value;
    if (data.isEmpty()) return;
    LoadPicture();
    if (OnFrameChange) OnFrameChange(this);
}

int THTMLPicture::FrameCount() const {
    if (!IsGif()) return -1;
    if (frameCount < 0) frameCount = countGifFrames(data);
    return frameCount;
}

void THTMLPicture::LoadPicture() {
    gif = {};
    QByteArray bytes;
    try {
        if (IsGif() && FrameCount() > 0) {
            GifFrameSelection selection = selectGifFrame(data, frame);
            gif = selection.geometry;
            bytes = std::move(selection.data);
        } else {
            bytes = data;
        }
    } catch (const std::bad_alloc&) {
        throw Error("Could not allocate memory for image");
    }
    image = QImage();
    image = gif.width > 0 ? cropToFrame(decode(std::move(bytes)), gif) : decode(std::move(bytes));
}

QSize THTMLPicture::himetricSize() const {
    return QSize(mulDiv(image.width(), himetricPerInch, logicalPixelsPerInch),
                 mulDiv(image.height(), himetricPerInch, logicalPixelsPerInch));
}

int THTMLPicture::Width() const {
    return image.isNull() ? 0
                          : mulDiv(himetricSize().width(), logicalPixelsPerInch, himetricPerInch);
}

int THTMLPicture::Height() const {
    return image.isNull() ? 0
                          : mulDiv(himetricSize().height(), logicalPixelsPerInch, himetricPerInch);
}

int THTMLPicture::NaturalWidth() const {
    if (image.isNull()) return 0;
    return gif.screenWidth != 0 ? gif.screenWidth : Width();
}

int THTMLPicture::NaturalHeight() const {
    if (image.isNull()) return 0;
    return gif.screenHeight != 0 ? gif.screenHeight : Height();
}

void THTMLPicture::Draw(Surface& surface, const TRect& rect) const {
    if (empty || image.isNull()) return;
    if (Stretch) {
        surface.drawImage(image, rect);
        return;
    }
    const QSize himetric = himetricSize();
    const int width = mulDiv(himetric.width(), surface.pixelsPerInchX(), himetricPerInch);
    const int height = mulDiv(himetric.height(), surface.pixelsPerInchY(), himetricPerInch);
    surface.drawImage(image, TRect{rect.Left, rect.Top, rect.Left + width, rect.Top + height});
}

void THTMLPicture::changed() {
    if (OnChange) OnChange(this);
}

} // namespace newsbell
