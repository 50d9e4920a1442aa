#pragma once

#include "htmltext/RenderHtmlText.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace newsbell {

class THTMLPicture;

// Positions and sizes add up over a line and over the lines; markup can ask for any number of
// huge pictures, so sums stop at a limit far beyond any screen instead of overflowing.
inline int addClamped(long long a, long long b) {
    constexpr long long limit = 1LL << 30;
    return int(std::clamp(a + b, -limit, limit));
}

// One call of RenderHtmlText: the running state of the text as it is laid out line by line.
// Each line is read twice, first measured, then painted or hit-tested; tags switch flags and
// colours of this state and are never matched against each other.
class HtmlRenderer {
public:
    HtmlRenderer(Surface& surface, const HtmlRenderInput& input, HtmlRenderOutput& output);
    void run();

private:
    enum class Pass { Measure, HitTest, Paint };

    // What a line's two passes must start from alike.
    struct MarkupState {
        bool insideAnchor = false;
        std::string anchorTarget;
        int anchorCounter = 0;
        int pictureCounter = 0;
        int listLevel = 0;
        bool hidden = false;
        bool shadow = false;
        bool subscript = false;
        bool superscript = false;
    };

    // What the measuring pass finds out about a line.
    struct LineMetrics {
        int height = 0;
        int subscriptExtra = 0;
        int superscriptExtra = 0;
        int pictureOffset = 0;
    };

    // The state of one pass over one line.
    struct LinePass {
        Pass pass = Pass::Measure;
        TRect line;
        int x = 0;
        int width = 0;
        int trailingBlank = 0;
        LineMetrics metrics;
        bool ended = false;
        bool keepTag = false; // the tag that ended the line starts the next one
        bool listItemMet = false;
        bool hasText = false;
        bool textEndsWithBlank = false;
        bool overAnchorText = false;
        bool overAnchorPicture = false;
        bool dropRest = false; // the measured line takes the rest of the text with it

        bool painting() const { return pass == Pass::Paint; }
        int avail() const { return line.Right - line.Left; }
    };

    // The line loop.
    void layOutLine();
    TRect paintingRect(int width, int height) const;
    int standardHeight();

    // The line pass over `text`; returns how much of it the line consumed.
    size_t runPass(LinePass& pass, std::string_view text);
    size_t textRun(LinePass& pass, std::string_view text);
    void paintRun(LinePass& pass, const std::string& run);
    void measureRun(LinePass& pass, const std::string& run, int& width);
    void drawErrorUnderline(int left, int right, int bottom, int limit);
    size_t tagStep(LinePass& pass, std::string_view text);
    void finishPass(LinePass& pass);

    // Tags; `tag` is the remaining text from the tag's "<" on.
    void openingTag(LinePass& pass, std::string_view tag);
    void closingTag(LinePass& pass, std::string_view tag);
    void openingB(LinePass& pass, std::string_view tag);
    void openingS(std::string_view tag);
    void openingIndent(LinePass& pass, std::string_view tag);
    void openingListItem(LinePass& pass);
    void openingRotation(const LinePass& pass, std::string_view tag);
    std::optional<Font>& rotationSlot(const LinePass& pass);
    void openingHighlight();
    void closingHighlight();
    void horizontalRule(LinePass& pass);
    void openingAnchor(LinePass& pass, std::string_view tag);
    void closingAnchor(LinePass& pass);
    bool hoverApplies(const LinePass& pass, int anchor) const;
    void drawFocusFrame();
    void fontTag(LinePass& pass, std::string_view tag);
    void closingFont(LinePass& pass);
    void paragraphTag(LinePass& pass, std::string_view tag);
    void closingParagraph(LinePass& pass);
    void bodyTag(LinePass& pass, std::string_view tag);
    void imageTag(LinePass& pass, std::string_view tag);

    // Pictures.
    THTMLPicture* namedPicture(const std::string& name);
    void tileBackground(const std::string& name);
    QSize listPicture(const LinePass& pass, const std::string& value);
    QSize systemIcon(const LinePass& pass, const std::string& name, bool large);
    QSize pictureSize(int width, int height) const;
    void drawAtLine(const QImage& image, const LinePass& pass, int width, int height);

    // The surface's font and colours.
    template <class Change> void changeFont(Change change) {
        Font font = canvas.font();
        change(font);
        canvas.setFont(font);
    }
    void setTextColor(TColor color);
    TColor background() const;
    void setBackground(TColor color);

    Surface& canvas;
    const HtmlRenderInput& in;
    HtmlRenderOutput& out;

    std::string text;
    size_t position = 0;
    int top = 0;
    int lineNumber = 0;

    Font baseFont;
    Font measureFont;
    Font paintFont;
    std::optional<Font> measureRotationSlot; // the font an R tag replaced, per running font
    std::optional<Font> paintRotationSlot;
    TColor brushAtEntry = clNone;
    bool brushSolidAtEntry = true;

    MarkupState state;
    bool anchorOpen = false;
    int anchorStartX = 0;
    int anchorStartLine = -1;
    int pictureUnderPoint = -1;
    bool errorUnderline = false;
    bool paragraphBackground = false;
    int alignment = 0; // 0 left, 1 right, 2 centre
    int indent = 0;
    TRect focusRect;

    std::optional<TColor> hoverBackground;
    std::optional<TColor> hoverTextColor;
    TColor fontBackground = clNone;
    std::optional<TColor> highlightTextColor;
    std::optional<TColor> highlightBackground;
    TColor paragraphSavedBackground = clNone;
};

} // namespace newsbell
