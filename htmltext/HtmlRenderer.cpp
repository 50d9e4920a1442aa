#include "htmltext/HtmlRenderer.h"

#include "htmltext/HtmlMarkup.h"

namespace newsbell {

bool RenderHtmlText(Surface& Canvas, const HtmlRenderInput& input, HtmlRenderOutput& output) {
    HtmlRenderer(Canvas, input, output).run();
    return output.AnchorHit;
}

HtmlRenderer::HtmlRenderer(Surface& surface, const HtmlRenderInput& input, HtmlRenderOutput& output)
    : canvas(surface), in(input), out(output) {}

void HtmlRenderer::run() {
    out.AnchorHit = false;
    out.PlainText.clear();
    out.FocusAnchor.clear();
    out.ExtentX = 0;
    out.ExtentY = 0;
    out.LinkCount = 0;
    out.MouseLink = -1;

    text = html::prepareText(in.Text);
    brushAtEntry = canvas.brushColor();
    brushSolidAtEntry = canvas.brushSolid();
    canvas.setBrushClear();
    baseFont = measureFont = paintFont = canvas.font();
    top = in.Rect.Top;

    while (position < text.size()) layOutLine();

    if (out.ExtentY == 0) out.ExtentY = standardHeight();
    out.LinkCount = state.anchorCounter;
    canvas.setBrushColor(brushAtEntry);
    if (!brushSolidAtEntry) canvas.setBrushClear();
    canvas.setFont(baseFont);
}

int HtmlRenderer::standardHeight() {
    return canvas.textHeight("gh");
}

void HtmlRenderer::layOutLine() {
    canvas.setFont(measureFont);
    const int lineStartHeight = standardHeight();
    // Subscript and superscript belong to one line; the other flags carry on.
    state.subscript = false;
    state.superscript = false;
    const MarkupState atLineStart = state;

    LinePass measure;
    measure.pass = Pass::Measure;
    measure.line = {in.Rect.Left + 1, top, in.Rect.Right, in.Rect.Bottom};
    measure.x = measure.line.Left;
    measure.metrics.height = lineStartHeight;
    const std::string_view rest = std::string_view(text).substr(position);
    const size_t consumed = runPass(measure, rest);
    measureFont = canvas.font();
    const std::string_view source = rest.substr(0, consumed);
    // A line always takes some text; should one ever take none, the rest goes rather than loop.
    position = measure.dropRest || consumed == 0 ? text.size() : position + consumed;

    LineMetrics metrics = measure.metrics;
    metrics.height += in.LineSpacing;
    const int advance = metrics.height + metrics.subscriptExtra + metrics.superscriptExtra;

    if (!in.MeasureOnly) {
        canvas.setFont(paintFont);
        state = atLineStart;
        LinePass second;
        second.pass = in.HitTestOnly ? Pass::HitTest : Pass::Paint;
        second.line = paintingRect(measure.width, advance);
        second.x = second.line.Left;
        second.metrics = metrics;
        runPass(second, source);
        paintFont = canvas.font();
        const int bandBottom =
            second.line.Bottom + metrics.subscriptExtra - second.metrics.pictureOffset;
        const bool inTextBand = bandBottom - standardHeight() < in.PointY && in.PointY < bandBottom;
        if ((second.overAnchorText && inTextBand) || second.overAnchorPicture) out.AnchorHit = true;
    }

    top = addClamped(top, advance);
    out.ExtentY = addClamped(out.ExtentY, advance);
    ++lineNumber;
    if (!in.MeasureOnly && lineStartHeight + top > in.Rect.Bottom) position = text.size();
}

TRect HtmlRenderer::paintingRect(int width, int height) const {
    TRect rect{in.Rect.Left + 1, top, in.Rect.Right, top + height};
    if (alignment == 1 && in.Rect.Right - width > rect.Left) rect.Left = in.Rect.Right - width;
    if (alignment == 2 && in.Rect.Right - rect.Left - width > 0)
        rect.Left += (in.Rect.Right - rect.Left - width) / 2;
    rect.Left += indent;
    return rect;
}

TColor HtmlRenderer::background() const {
    return canvas.brushSolid() ? canvas.brushColor() : clNone;
}

void HtmlRenderer::setBackground(TColor color) {
    if (color == clNone)
        canvas.setBrushClear();
    else
        canvas.setBrushColor(color);
}

void HtmlRenderer::setTextColor(TColor color) {
    changeFont([color](Font& font) { font.color = color; });
}

} // namespace newsbell
