#pragma once

#include "GifFrames.h"
#include "Surface.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <functional>
#include <string>
#include <string_view>

class QIODevice;

namespace newsbell {

// A picture named by markup: it keeps the picture file's bytes exactly as loaded and decodes
// them into an image that a surface can draw. Of an animated GIF it shows one frame.
class THTMLPicture {
public:
    THTMLPicture() = default;
    THTMLPicture(const THTMLPicture&) = delete;
    THTMLPicture& operator=(const THTMLPicture&) = delete;

    // Loading. LoadFromStream and LoadFromResource report decoding failures as newsbell::Error;
    // LoadFromFile swallows every failure and leaves the picture empty.
    void LoadFromStream(QIODevice* stream);
    void LoadFromFile(const QString& fileName);
    // A Qt resource of the program (":/" + name); nothing happens when there is none.
    void LoadFromResource(const QString& name);
    // "RES://name" and "FILE://path" (prefixes in any case) load at once. Other names are
    // network addresses, which this program never downloads: the picture stays empty.
    void LoadFromSource(std::string_view source);
    // As LoadFromStream, without the change notification: used when an owner restores it.
    void ReadData(QIODevice* stream);
    // Writes the bytes exactly as loaded.
    void SaveToStream(QIODevice* stream) const;

    // Resets this picture, then takes over the bytes of `source` (none: the data is cleared).
    void Assign(const THTMLPicture* source);

    // Draws at natural size from the rectangle's top-left corner, or into the whole rectangle
    // with Stretch. Nothing when empty or not decoded.
    void Draw(Surface& surface, const TRect& rect) const;

    bool IsEmpty() const { return empty; }
    // Pixels at 96 dpi; 0 when not decoded.
    int Width() const;
    int Height() const;
    // The size a picture takes in a line: the GIF's logical screen when it has one.
    int NaturalWidth() const;
    int NaturalHeight() const;
    // The shown GIF frame's place on the logical screen.
    int FrameXPos() const { return gif.x; }
    int FrameYPos() const { return gif.y; }

    bool IsGif() const { return isGifData(data); }
    // -1 for data that is not a GIF; counted once until the picture is reset.
    int FrameCount() const;

    int Frame() const { return frame; }
    // Shows frame `value` (from 1); decodes again when there is data.
    void SetFrame(int value);

    bool Stretch = false;
    bool Asynchronous = true;
    bool IsBusy() const { return busy; }
    const std::string& ID() const { return cacheName; }
    const std::string& DownloadAddress() const { return downloadAddress; }
    const QByteArray& Data() const { return data; }
    // The decoded image of the shown frame; null when not decoded.
    const QImage& Image() const { return image; }

    std::function<void(THTMLPicture* sender)> OnChange;
    std::function<void(THTMLPicture* sender)> OnFrameChange;

private:
    void takeData(QIODevice* stream);
    void LoadPicture();
    void reset();
    void changed();
    QSize himetricSize() const;

    QByteArray data;
    bool empty = true;
    QImage image;
    int frame = 1;
    mutable int frameCount = -1;
    GifFrameGeometry gif;
    bool busy = false;
    std::string cacheName;
    std::string downloadAddress;
};

} // namespace newsbell
