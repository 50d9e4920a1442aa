#include "htmltext/HtmlMarkup.h"
#include "htmltext/HtmlRenderer.h"

namespace newsbell {

namespace {

constexpr int listIndent = 12;

} // namespace

// Only the first letter or two of a tag count, so EM underlines like an error and LINK is a
// list item: markup written for this renderer has always relied on that.
void HtmlRenderer::openingTag(LinePass& pass, std::string_view tag) {
    const char third = html::upper(tag[2]);
    switch (html::upper(tag[1])) {
    case 'A':
        openingAnchor(pass, tag);
        break;
    case 'B':
        openingB(pass, tag);
        break;
    case 'E':
        if (pass.painting()) errorUnderline = true;
        break;
    case 'F':
        if (tag.find('>') != std::string_view::npos) fontTag(pass, tag);
        break;
    case 'H':
        if (third == 'I' && pass.painting()) openingHighlight();
        if (third == 'R') horizontalRule(pass);
        break;
    case 'I':
        if (third == '>') changeFont([](Font& font) { font.italic = true; });
        if (third == 'N') openingIndent(pass, tag);
        if (third == 'M') imageTag(pass, tag);
        break;
    case 'L':
        openingListItem(pass);
        break;
    case 'P':
        if (tag.find('>') != std::string_view::npos) paragraphTag(pass, tag);
        break;
    case 'R':
        openingRotation(pass, tag);
        break;
    case 'S':
        openingS(tag);
        break;
    case 'U':
        if (third == '>') {
            changeFont([](Font& font) { font.underline = true; });
        } else {
            ++state.listLevel;
            pass.ended = true;
        }
        break;
    case 'Z':
        state.hidden = true;
        break;
    default:
        break;
    }
}

void HtmlRenderer::closingTag(LinePass& pass, std::string_view tag) {
    const char fourth = html::upper(tag[3]);
    switch (html::upper(tag[2])) {
    case 'A':
        closingAnchor(pass);
        break;
    case 'B':
        if (fourth == '>')
            changeFont([](Font& font) { font.bold = false; });
        else
            setTextColor(baseFont.color);
        break;
    case 'E':
        if (pass.painting()) errorUnderline = false;
        break;
    case 'F':
        closingFont(pass);
        break;
    case 'H':
        if (pass.painting()) closingHighlight();
        break;
    case 'I':
        changeFont([](Font& font) { font.italic = false; });
        break;
    case 'L':
        pass.ended = true;
        break;
    case 'P':
        closingParagraph(pass);
        break;
    case 'R': {
        std::optional<Font>& slot = rotationSlot(pass);
        if (slot) canvas.setFont(*slot);
        slot.reset();
        break;
    }
    case 'S':
        if (fourth == 'U') {
            state.subscript = false;
            state.superscript = false;
        } else if (fourth == 'H') {
            state.shadow = false;
        } else {
            changeFont([](Font& font) { font.strikeOut = false; });
        }
        break;
    case 'U':
        if (fourth != '>' && state.listLevel > 0)
            --state.listLevel;
        else
            changeFont([](Font& font) { font.underline = false; });
        break;
    case 'Z':
        state.hidden = false;
        break;
    default:
        break;
    }
}

void HtmlRenderer::openingB(LinePass& pass, std::string_view tag) {
    switch (html::upper(tag[2])) {
    case '>':
        changeFont([](Font& font) { font.bold = true; });
        break;
    case 'L':
        // Blinking text in its dark phase takes the colour of the background it stands on.
        if (!in.BlinkOn) setTextColor(brushAtEntry);
        break;
    case 'O':
        bodyTag(pass, tag);
        break;
    case 'R':
        pass.ended = true;
        if (pass.pass == Pass::Measure) out.PlainText += '\r';
        break;
    default:
        break;
    }
}

void HtmlRenderer::openingS(std::string_view tag) {
    const char third = html::upper(tag[2]);
    if (third == '>')
        changeFont([](Font& font) { font.strikeOut = true; });
    else if (third == 'H')
        state.shadow = true;
    else if (html::startsWithNoCase(tag, "<SUB>"))
        state.subscript = true;
    else if (html::startsWithNoCase(tag, "<SUP>"))
        state.superscript = true;
}

void HtmlRenderer::openingIndent(LinePass& pass, std::string_view tag) {
    const std::string attributes = html::upperCase(html::tagAttributes(tag, 2));
    const size_t at = attributes.find('X');
    if (at == std::string::npos) return;
    bool complete = false;
    const int value = html::readNumber(html::firstQuoted(attributes.substr(at + 1)), &complete);
    if (!complete || value <= pass.width) return;
    pass.width = value;
    pass.x = in.Rect.Left + value;
}

void HtmlRenderer::openingListItem(LinePass& pass) {
    pass.width = addClamped(pass.width, listIndent * state.listLevel);
    if (pass.listItemMet) {
        pass.ended = true;
        pass.keepTag = true;
        return;
    }
    pass.listItemMet = true;
    pass.x = addClamped(pass.x, listIndent * (state.listLevel - 1));
    if (pass.painting() && !state.hidden) {
        const Font font = canvas.font();
        Font symbol = font;
        symbol.face = "Symbol";
        canvas.setFont(symbol);
        canvas.textOut(pass.x, pass.line.Top, state.listLevel % 2 != 0 ? "\xB7" : "o");
        canvas.setFont(font);
    }
    pass.x = addClamped(pass.x, listIndent);
}

void HtmlRenderer::openingRotation(const LinePass& pass, std::string_view tag) {
    const std::string_view attributes = html::tagAttributes(tag, 2);
    const size_t at = attributes.find_first_of("aA");
    const int degrees = at == std::string_view::npos || at + 2 > attributes.size()
                            ? 0
                            : html::readNumber(attributes.substr(at + 2));
    rotationSlot(pass) = canvas.font();
    // A whole turn changes nothing, and keeps the tenths of a degree within range.
    changeFont([degrees](Font& font) { font.escapement = degrees % 360 * 10; });
}

std::optional<Font>& HtmlRenderer::rotationSlot(const LinePass& pass) {
    return pass.pass == Pass::Measure ? measureRotationSlot : paintRotationSlot;
}

void HtmlRenderer::openingHighlight() {
    highlightTextColor = canvas.font().color;
    highlightBackground = background();
    setBackground(clHighlight);
    setTextColor(clHighlightText);
}

void HtmlRenderer::closingHighlight() {
    if (!highlightTextColor) return;
    setTextColor(*highlightTextColor);
    setBackground(*highlightBackground);
}

void HtmlRenderer::horizontalRule(LinePass& pass) {
    pass.ended = true;
    if (!pass.painting()) return;
    const TColor penColor = canvas.penColor();
    const int penWidth = canvas.penWidth();
    canvas.setPenColor(0);
    canvas.setPenWidth(1);
    const int y = pass.line.Bottom + 1;
    canvas.drawLine(pass.line.Left, y, pass.line.Right, y);
    canvas.setPenColor(penColor);
    canvas.setPenWidth(penWidth);
}

} // namespace newsbell
