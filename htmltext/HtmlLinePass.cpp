#include "htmltext/HtmlMarkup.h"
#include "htmltext/HtmlRenderer.h"

#include <algorithm>

namespace newsbell {

namespace {

constexpr TColor errorUnderlineColor = 0x0000FF;

} // namespace

size_t HtmlRenderer::runPass(LinePass& pass, std::string_view source) {
    pass.line.Bottom -= pass.metrics.subscriptExtra;
    if (pass.painting() && paragraphBackground && background() != clNone) {
        canvas.setPenColor(background());
        canvas.fillRect(
            {in.Rect.Left, pass.line.Top, in.Rect.Right, pass.line.Top + pass.metrics.height},
            background());
    }
    size_t used = 0;
    while (used < source.size() && !pass.ended) {
        used += textRun(pass, source.substr(used));
        if (pass.dropRest) break;
        used += tagStep(pass, source.substr(used));
    }
    finishPass(pass);
    return used;
}

// Cuts the next run (one word and its blank when wrapping, else all text up to a tag) and
// lays it out; returns the source characters it took.
size_t HtmlRenderer::textRun(LinePass& pass, std::string_view rest) {
    // One pass over the characters: find_first_of would search its set for every one of them.
    const auto ends = [wrap = in.WordWrap](char c) { return c == '<' || (wrap && c == ' '); };
    const size_t cut = size_t(std::find_if(rest.begin(), rest.end(), ends) - rest.begin());
    const size_t n = cut == rest.size() ? rest.size() : rest[cut] == '<' ? cut : cut + 1;
    if (n == 0) return 0;
    const std::string run = html::decodeRunEntities(rest.substr(0, n));

    LineMetrics& metrics = pass.metrics;
    const int height = canvas.textHeight(run);
    if (state.subscript) metrics.subscriptExtra = std::max(metrics.subscriptExtra, height / 4);
    if (state.superscript)
        metrics.superscriptExtra = std::max(metrics.superscriptExtra, height / 4);
    metrics.height = std::max(metrics.height, height);

    if (state.hidden) {
        if (pass.pass == Pass::Measure) out.PlainText += run;
        return n;
    }

    int width = 0;
    if (pass.painting())
        paintRun(pass, run);
    else
        measureRun(pass, run, width);

    // A run wider than the whole line is taken anyway, and a word split by a tag stays whole.
    bool fits = pass.painting() || pass.width < pass.avail() || width >= pass.avail();
    if (!fits && pass.hasText && !pass.textEndsWithBlank) fits = true;
    if (!fits && in.WordWrap) {
        pass.ended = true;
        pass.width -= width;
        return 0;
    }
    if (!fits && pass.hasText && !pass.painting()) pass.dropRest = true;
    pass.hasText = true;
    pass.textEndsWithBlank = run.back() == ' ';
    if (pass.pass == Pass::Measure) out.PlainText += run;
    pass.trailingBlank = run.size() == n && run.back() == ' ' ? canvas.textWidth(" ") : 0;
    return n;
}

void HtmlRenderer::measureRun(LinePass& pass, const std::string& run, int& width) {
    width = canvas.textWidth(run);
    pass.width = addClamped(pass.width, width);
    if (!state.insideAnchor) return;
    const int pointX = in.PointX - pass.line.Left;
    if (pointX < pass.width - width || pointX > pass.width) return;
    pass.overAnchorText = true;
    if (in.PointY > pass.line.Top) {
        out.AnchorValue = state.anchorTarget;
        anchorOpen = true;
    }
}

void HtmlRenderer::paintRun(LinePass& pass, const std::string& run) {
    TRect rect{pass.x, pass.line.Top, pass.line.Right, pass.line.Bottom};
    if (state.superscript) rect.Bottom -= pass.metrics.superscriptExtra;
    if (state.subscript) rect.Bottom += pass.metrics.subscriptExtra;
    rect.Bottom -= pass.metrics.pictureOffset;
    const bool ellipsis = !in.WordWrap;
    if (state.shadow) {
        const TColor textColor = canvas.font().color;
        setTextColor(in.ShadowColor);
        const int offset = in.ShadowOffset;
        canvas.drawText(
            run, {rect.Left + offset, rect.Top + offset, rect.Right + offset, rect.Bottom + offset},
            ellipsis);
        setTextColor(textColor);
    }
    canvas.drawText(run, rect, ellipsis);
    const int right = addClamped(rect.Left, canvas.textWidth(run));
    if (state.insideAnchor && state.anchorCounter - 1 == in.FocusLink)
        out.FocusAnchor = state.anchorTarget;
    if (errorUnderline) drawErrorUnderline(rect.Left, right, pass.line.Bottom, pass.line.Right);
    pass.x = right;
}

// The red zigzag of a misspelt word. It stops at the line's right edge, where the text
// itself is clipped.
void HtmlRenderer::drawErrorUnderline(int left, int right, int bottom, int limit) {
    canvas.setPenColor(errorUnderlineColor);
    canvas.setPenWidth(1);
    int x = left / 2 * 2;
    int d = x % 4 == 0 ? 2 : 0;
    int y = bottom + d - 1;
    const int end = std::min(right, limit);
    for (; x < end; x += 2) {
        d = 2 - d;
        const int nextY = bottom + d - 1;
        canvas.drawLine(x, y, x + 2, nextY);
        y = nextY;
    }
}

size_t HtmlRenderer::tagStep(LinePass& pass, std::string_view rest) {
    if (rest.empty()) return 0;
    if (rest.front() == '<' && rest.size() <= 2) return rest.size();
    if (pass.ended || rest.front() != '<' || rest.size() < 3) return 0;
    if (rest[1] == '/' && rest.size() > 3)
        closingTag(pass, rest);
    else
        openingTag(pass, rest);
    if (pass.keepTag) return 0;
    const size_t close = rest.find('>');
    return close == std::string_view::npos ? rest.size() : close + 1;
}

void HtmlRenderer::finishPass(LinePass& pass) {
    pass.width -= pass.trailingBlank;
    out.ExtentX = std::max(out.ExtentX, pass.width);
    if (pass.painting() && state.insideAnchor && state.anchorCounter == in.FocusLink + 1) {
        focusRect.Right = pass.x;
        focusRect.Bottom = pass.line.Bottom;
        drawFocusFrame();
        focusRect.Left = pass.line.Left + 1;
        focusRect.Top = focusRect.Bottom;
    }
}

} // namespace newsbell
