#pragma once

#include <QByteArray>
#include <cstdint>

namespace newsbell {

// Where a GIF frame sits on the animation's logical screen. All zero for data that is not a
// GIF or has no frames.
struct GifFrameGeometry {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t screenWidth = 0;
    std::uint16_t screenHeight = 0;
};

// The data with the frames before `frame` left out, so that a decoder that shows only the
// first image shows that frame; plus the frame's placement.
struct GifFrameSelection {
    QByteArray data;
    GifFrameGeometry geometry;
};

// At least 5 bytes that start with "GIF8".
bool isGifData(const QByteArray& data);

// A frame starts where a graphic control extension is directly followed by an image
// descriptor: 0x21 0xF9 0x04, four bytes, then 0x2C, and at least one byte after that.
bool isGifFrameMarker(const QByteArray& data, qsizetype position);

int countGifFrames(const QByteArray& data);

// Frames are numbered from 1. The header, the global colour table and anything before the
// first frame always stay; a frame number past the last frame keeps only those.
GifFrameSelection selectGifFrame(const QByteArray& data, int frame);

} // namespace newsbell
