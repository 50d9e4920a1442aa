#include "GifFrames.h"

namespace newsbell {

namespace {

int byteAt(const QByteArray& data, qsizetype position) {
    return position < data.size() ? static_cast<unsigned char>(data[position]) : 0;
}

// A marker may sit so close to the end that its image descriptor is cut short; the missing
// bytes read as 0 rather than beyond the data.
std::uint16_t wordAt(const QByteArray& data, qsizetype position) {
    return std::uint16_t(byteAt(data, position) | byteAt(data, position + 1) << 8);
}

} // namespace

bool isGifData(const QByteArray& data) {
    return data.size() >= 5 && data.startsWith("GIF8");
}

bool isGifFrameMarker(const QByteArray& data, qsizetype position) {
    return position + 9 < data.size() && byteAt(data, position) == 0x21 &&
           byteAt(data, position + 1) == 0xF9 && byteAt(data, position + 2) == 0x04 &&
           byteAt(data, position + 8) == 0x2C;
}

int countGifFrames(const QByteArray& data) {
    int count = 0;
    for (qsizetype position = 0; position < data.size(); ++position)
        if (isGifFrameMarker(data, position)) ++count;
    return count;
}

GifFrameSelection selectGifFrame(const QByteArray& data, int frame) {
    GifFrameSelection selection;
    GifFrameGeometry& geometry = selection.geometry;
    geometry.screenWidth = wordAt(data, 6);
    geometry.screenHeight = wordAt(data, 8);
    selection.data.reserve(data.size());
    int marker = 0;
    bool copying = true;
    for (qsizetype position = 0; position < data.size(); ++position) {
        if (isGifFrameMarker(data, position)) {
            ++marker;
            if (marker == frame) {
                geometry.x = wordAt(data, position + 9);
                geometry.y = wordAt(data, position + 11);
                geometry.width = wordAt(data, position + 13);
                geometry.height = wordAt(data, position + 15);
            }
            copying = frame <= marker;
        }
        if (copying) selection.data.append(data[position]);
    }
    return selection;
}

} // namespace newsbell
