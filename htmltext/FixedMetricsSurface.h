#pragma once

#include "htmltext/Surface.h"

#include <string>
#include <vector>

namespace newsbell {

// A surface whose metrics do not depend on fonts, and which records what is drawn on it:
// every shown character is 8 pixels wide, a tab moves to the next multiple of 64 pixels from
// the start of its text, every text is 16 pixels high, 96 pixels per inch. Tests, the fuzz
// target and the command-line renderer use it to make layout exact and repeatable.
class FixedMetricsSurface final : public Surface {
public:
    static constexpr int charWidth = 8;
    static constexpr int tabWidth = 64;
    static constexpr int lineHeight = 16;

    enum class Kind { Text, TextOut, Fill, Outline, Line, FocusRect, Image, Clip, Unclip };

    struct Drawn {
        Kind kind = Kind::Text;
        TRect rect;       // Line: (x0, y0, x1, y1)
        std::string text; // Text: as shown, after "&" processing; TextOut: as given
        Font font;        // Text, TextOut
        TColor color = 0; // Text, TextOut: background (clNone when clear); others: colour
        bool ellipsis = false;
        int penWidth = 0; // Outline, Line

        // One line of plain text, for golden files and failure messages.
        std::string describe() const;
    };

    const Font& font() const override { return current; }
    void setFont(const Font& font) override { current = font; }

    int pixelsPerInchX() const override { return 96; }
    int pixelsPerInchY() const override { return 96; }

    void drawText(std::string_view text, const TRect& rect, bool endEllipsis) override;
    void textOut(int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) override;
    int textHeight(std::string_view) override { return lineHeight; }

    void fillRect(const TRect& rect, TColor color) override;
    void outlineRect(const TRect& rect) override;
    void drawLine(int x0, int y0, int x1, int y1) override;
    void drawFocusRect(const TRect& rect) override;
    void drawImage(const QImage& image, const TRect& target) override;
    void setClipRect(std::optional<TRect> rect) override;

    const std::vector<Drawn>& drawn() const { return record; }
    // The texts drawn by drawText, in order.
    std::vector<Drawn> texts() const;
    void clearRecord() { record.clear(); }

    // "&&" as one "&", a lone "&" dropped: the characters drawText shows.
    static std::string shownText(std::string_view text);

private:
    Font current;
    std::vector<Drawn> record;
};

} // namespace newsbell
