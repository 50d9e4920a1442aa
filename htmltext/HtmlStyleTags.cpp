#include "htmltext/HtmlGradientFill.h"
#include "htmltext/HtmlMarkup.h"
#include "htmltext/HtmlRenderer.h"

namespace newsbell {

bool HtmlRenderer::hoverApplies(const LinePass& pass, int anchor) const {
    return pass.painting() && (!in.HoverStyle || in.HoverLink == anchor);
}

// The frame stands one pixel clear of the text on either side.
void HtmlRenderer::drawFocusFrame() {
    canvas.drawFocusRect(
        {focusRect.Left - 1, focusRect.Top, focusRect.Right + 1, focusRect.Bottom});
}

void HtmlRenderer::openingAnchor(LinePass& pass, std::string_view tag) {
    if (pass.painting() && state.anchorCounter == in.FocusLink) {
        focusRect.Left = pass.x;
        focusRect.Top = pass.line.Top;
    }
    const int anchor = ++state.anchorCounter;
    if (hoverApplies(pass, anchor)) {
        changeFont([](Font& font) { font.underline = true; });
        if (in.HoverColor != clNone) {
            hoverBackground = background();
            setBackground(in.HoverColor);
        }
        if (in.HoverFontColor != clNone) {
            hoverTextColor = canvas.font().color;
            setTextColor(in.HoverFontColor);
        }
    }
    const bool keepsHoverColor =
        in.HoverStyle && in.HoverLink == anchor && in.HoverFontColor != clNone;
    if (!in.Selected && !keepsHoverColor) setTextColor(in.UrlColor);
    state.anchorTarget = html::firstQuoted(html::tagAttributes(tag, 2));
    state.insideAnchor = true;
    anchorStartX = pass.line.Left + pass.width;
    anchorStartLine = lineNumber;
}

void HtmlRenderer::closingAnchor(LinePass& pass) {
    const int anchor = state.anchorCounter;
    if (hoverApplies(pass, anchor)) {
        changeFont([](Font& font) { font.underline = false; });
        if (in.HoverColor != clNone && hoverBackground) setBackground(*hoverBackground);
        if (in.HoverFontColor != clNone && hoverTextColor) setTextColor(*hoverTextColor);
    }
    if (!in.Selected) setTextColor(baseFont.color);
    state.insideAnchor = false;
    if (anchorOpen) {
        const int left = anchorStartLine == lineNumber ? anchorStartX : pass.line.Left;
        out.HoverRect = {left, pass.line.Top, pass.line.Left + pass.width, pass.line.Bottom};
        out.MouseLink = anchor;
        anchorOpen = false;
    }
    if (anchor - 1 == in.FocusLink && pass.painting()) {
        focusRect.Right = pass.x;
        focusRect.Bottom = pass.line.Bottom - pass.metrics.pictureOffset;
        focusRect.Top = focusRect.Bottom - standardHeight();
        drawFocusFrame();
    }
}

void HtmlRenderer::fontTag(LinePass& pass, std::string_view tag) {
    const std::string attributes = html::upperCase(html::tagAttributes(tag, 5));
    if (auto face = html::attributeValue(attributes, "FACE"))
        changeFont([&face](Font& font) { font.face = *face; });
    if (auto color = html::attributeValue(attributes, " COLOR"); color && !in.Selected) {
        if (!color->empty()) setTextColor(html::readColor(*color));
    }
    if (auto color = html::attributeValue(attributes, "BGCOLOR");
        color && pass.painting() && !in.Selected) {
        fontBackground = background();
        if (!color->empty()) setBackground(html::readColor(*color));
    }
    const size_t size = attributes.find("SIZE");
    if (size == std::string::npos) return;
    const size_t equals = attributes.find('=', size);
    const size_t quote = attributes.find('"', size);
    const std::string_view value =
        equals == std::string::npos || quote == std::string::npos
            ? std::string_view()
            : std::string_view(attributes).substr(std::max(equals, quote) + 1);
    const int points = html::fontSizeFromHtml(html::readNumber(value));
    changeFont([points](Font& font) { font.size = points; });
}

void HtmlRenderer::closingFont(LinePass& pass) {
    changeFont([this](Font& font) {
        font.face = baseFont.face;
        font.size = baseFont.size;
    });
    if (!pass.painting() || in.Selected) return;
    setTextColor(baseFont.color);
    setBackground(fontBackground);
}

void HtmlRenderer::paragraphTag(LinePass& pass, std::string_view tag) {
    const std::string attributes = html::upperCase(html::tagAttributes(tag, 2));
    if (auto align = html::attributeValue(attributes, "ALIGN")) {
        if (align->find("RIGHT") != std::string::npos) alignment = 1;
        if (align->find("LEFT") != std::string::npos) alignment = 0;
        if (align->find("CENTER") != std::string::npos) alignment = 2;
    }
    if (auto value = html::attributeValue(attributes, "INDENT")) indent = html::readNumber(*value);
    const auto color = html::attributeValue(attributes, "BGCOLOR");
    if (!color || !pass.painting()) return;
    const TColor from = html::readColor(*color);
    paragraphBackground = true;
    canvas.setPenColor(from);
    if (auto to = html::attributeValue(attributes, "BGCOLORTO")) {
        HtmlGradientFill(canvas, from, html::readColor(*to), GradientDirection::LeftToRight,
                         {in.Rect.Left, pass.line.Top, in.Rect.Right, pass.line.Bottom + 2});
        canvas.setBrushClear();
        return;
    }
    paragraphSavedBackground = background();
    setBackground(from);
    if (from != clNone)
        canvas.fillRect({in.Rect.Left, pass.line.Top, in.Rect.Right, pass.line.Bottom}, from);
}

void HtmlRenderer::closingParagraph(LinePass& pass) {
    pass.ended = true;
    if (!pass.painting()) return;
    setBackground(paragraphSavedBackground);
    paragraphBackground = false;
}

void HtmlRenderer::bodyTag(LinePass& pass, std::string_view tag) {
    if (!pass.painting() || in.Selected) return;
    const std::string attributes = html::upperCase(html::tagAttributes(tag, 5));
    if (auto picture = html::attributeValue(attributes, "BACKGROUND")) tileBackground(*picture);
    const auto color = html::attributeValue(attributes, "BGCOLOR");
    if (!color) return;
    const TColor from = html::readColor(*color);
    const TColor penColor = canvas.penColor();
    canvas.setPenColor(from);
    if (auto to = html::attributeValue(attributes, "BGCOLORTO")) {
        const auto direction = html::attributeValue(attributes, "DIR").value_or("H");
        HtmlGradientFill(canvas, from, html::readColor(*to),
                         direction == "H" ? GradientDirection::LeftToRight
                                          : GradientDirection::TopToBottom,
                         in.Rect);
        canvas.setBrushClear();
        return;
    }
    fontBackground = background();
    setBackground(from);
    if (from != clNone)
        canvas.fillRect({in.Rect.Left - 2, in.Rect.Top, in.Rect.Right, in.Rect.Bottom}, from);
    canvas.setPenColor(penColor);
}

} // namespace newsbell
