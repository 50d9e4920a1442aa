#include "htmltext/FixedMetricsSurface.h"

#include <sstream>

namespace newsbell {

namespace {

const char* kindName(FixedMetricsSurface::Kind kind) {
    using Kind = FixedMetricsSurface::Kind;
    switch (kind) {
    case Kind::Text:
        return "text";
    case Kind::TextOut:
        return "textout";
    case Kind::Fill:
        return "fill";
    case Kind::Outline:
        return "outline";
    case Kind::Line:
        return "line";
    case Kind::FocusRect:
        return "focus";
    case Kind::Image:
        return "image";
    case Kind::Clip:
        return "clip";
    case Kind::Unclip:
        return "unclip";
    }
    return "?";
}

std::string fontText(const Font& font) {
    std::ostringstream out;
    out << font.face << ' ' << font.size << ' ' << std::hex << font.color << std::dec;
    if (font.bold) out << " bold";
    if (font.italic) out << " italic";
    if (font.underline) out << " underline";
    if (font.strikeOut) out << " strike";
    if (font.escapement) out << " rot" << font.escapement;
    return out.str();
}

} // namespace

std::string FixedMetricsSurface::Drawn::describe() const {
    std::ostringstream out;
    out << kindName(kind) << ' ' << rect.Left << ',' << rect.Top << ',' << rect.Right << ','
        << rect.Bottom;
    switch (kind) {
    case Kind::Text:
    case Kind::TextOut:
        out << " \"" << text << "\" [" << fontText(font) << "] bg " << std::hex << color;
        if (ellipsis) out << " ellipsis";
        break;
    case Kind::Fill:
        out << ' ' << std::hex << color;
        break;
    case Kind::Outline:
    case Kind::Line:
        out << ' ' << std::hex << color << std::dec << " w" << penWidth;
        break;
    default:
        break;
    }
    return out.str();
}

std::string FixedMetricsSurface::shownText(std::string_view text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '&') {
            shown += '&';
            ++i;
        }
    }
    return shown;
}

int FixedMetricsSurface::textWidth(std::string_view text) {
    int width = 0;
    for (char c : shownText(text))
        width = c == '\t' ? (width / tabWidth + 1) * tabWidth : width + charWidth;
    return width;
}

void FixedMetricsSurface::drawText(std::string_view text, const TRect& rect, bool endEllipsis) {
    record.push_back({Kind::Text, rect, shownText(text), current,
                      brushSolid() ? brushColor() : clNone,
                      endEllipsis && textWidth(text) > rect.width(), 0});
}

void FixedMetricsSurface::textOut(int x, int y, std::string_view text) {
    const TRect at{x, y, x + int(text.size()) * charWidth, y + lineHeight};
    record.push_back({Kind::TextOut, at, std::string(text), current,
                      brushSolid() ? brushColor() : clNone, false, 0});
}

void FixedMetricsSurface::fillRect(const TRect& rect, TColor color) {
    record.push_back({Kind::Fill, rect, {}, {}, color, false, 0});
}

void FixedMetricsSurface::outlineRect(const TRect& rect) {
    record.push_back({Kind::Outline, rect, {}, {}, penColor(), false, penWidth()});
}

void FixedMetricsSurface::drawLine(int x0, int y0, int x1, int y1) {
    record.push_back({Kind::Line, {x0, y0, x1, y1}, {}, {}, penColor(), false, penWidth()});
}

void FixedMetricsSurface::drawFocusRect(const TRect& rect) {
    record.push_back({Kind::FocusRect, rect, {}, {}, 0, false, 0});
}

void FixedMetricsSurface::drawImage(const QImage& image, const TRect& target) {
    record.push_back({Kind::Image,
                      target,
                      std::to_string(image.width()) + "x" + std::to_string(image.height()),
                      {},
                      0,
                      false,
                      0});
}

void FixedMetricsSurface::setClipRect(std::optional<TRect> rect) {
    record.push_back(
        {rect ? Kind::Clip : Kind::Unclip, rect.value_or(TRect{}), {}, {}, 0, false, 0});
}

std::vector<FixedMetricsSurface::Drawn> FixedMetricsSurface::texts() const {
    std::vector<Drawn> result;
    for (const Drawn& item : record)
        if (item.kind == Kind::Text) result.push_back(item);
    return result;
}

} // namespace newsbell
