#pragma once

#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

namespace newsbell {

// One line of cp1251 text as the single-line text output shows it: "&&" is one "&", a lone
// "&" is dropped and underlines the character after it, tabs jump to the next stop of eight
// average character widths, and text too wide for a limit may end in "...".
class TextLine {
public:
    struct Piece {
        QString text;
        int x = 0; // from the start of the line
        // The glyphs that show the text, kept by the surface that drew it first.
        std::optional<QList<QGlyphRun>> glyphs;
    };
    struct Mark {
        int x = 0;
        int width = 0;
    };

    // symbolFace: the text is in a symbol font, whose 0xB7 is a bullet.
    TextLine(std::string_view text, const QFontMetrics& metrics, bool symbolFace = false);

    // Shortens the line to fit `limit` pixels with a trailing "..."; no change when it fits.
    void elide(int limit);

    const std::vector<Piece>& pieces() const { return laidOut; }
    std::vector<Piece>& pieces() { return laidOut; }
    const std::vector<Mark>& underlines() const { return marks; }
    int width() const { return total; }

private:
    void layOut(qsizetype length);

    QFontMetrics metrics;
    QString shown;
    std::vector<qsizetype> underlined; // indexes into shown
    std::vector<Piece> laidOut;
    std::vector<Mark> marks;
    int total = 0;
};

} // namespace newsbell
