#pragma once

#include "Surface.h"
#include "TextLine.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

class QPaintDevice;

namespace newsbell {

// A font as Qt draws it on devices of one resolution, with what was already measured and
// shaped in it. The renderer measures every word of a line and then paints the line, and a
// popup paints the same few messages again and again, so the work is kept.
class LoadedFont {
public:
    LoadedFont(const Font& font, int dotsPerInchX, int dotsPerInchY);
    LoadedFont(const LoadedFont&) = delete;
    LoadedFont& operator=(const LoadedFont&) = delete;

    const Font& font() const { return requested; }
    const QFont& qfont() const { return drawn; }
    const QFontMetrics& metrics() const { return measures; }
    // The metrics asked for with every word, kept as numbers (Qt looks them up each time).
    int height() const { return lineHeight; }
    int ascent() const { return aboveBaseline; }
    bool symbolFace() const { return symbol; }
    const QColor& color() const { return textColor; }
    bool isFor(const Font& font, int dotsPerInchX, int dotsPerInchY) const;

    // One line of cp1251 text laid out in this font.
    TextLine& line(std::string_view text);
    // The shaped glyphs of shown text that leave ink, placed from (0, 0) at the line's top.
    const QList<QGlyphRun>& glyphs(const QString& text);
    // The same for a piece of a laid-out line, kept with the piece.
    const QList<QGlyphRun>& glyphs(TextLine::Piece& piece);

private:
    Font requested;
    int dpiX;
    int dpiY;
    QFont drawn;
    QFontMetrics measures;
    int lineHeight;
    int aboveBaseline;
    bool symbol;
    QColor textColor;
    // Looked up by string_view without making a string first.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, TextLine, TextHash, std::equal_to<>> lines;
    // The texts asked for last, looked at before the map: every word is measured and then
    // drawn, and a blank's width is asked for after most words. Keys point into `lines`.
    struct Recent {
        std::string_view text;
        TextLine* line = nullptr;
    };
    std::array<Recent, 4> recent;
    std::size_t nextRecent = 0;
    std::unordered_map<QString, QList<QGlyphRun>> shapes;
};

// The font loaded for the device, kept for later surfaces of the application's thread.
std::shared_ptr<LoadedFont> loadFont(const Font& font, const QPaintDevice& device);

} // namespace newsbell
