#pragma once

#include "base/Cp1251.h"
#include "htmltext/FixedMetricsSurface.h"
#include "htmltext/RenderHtmlText.h"

#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

namespace newsbell::testing {

// One call of the renderer on a fresh fixed-metrics surface: 8 pixels a character, 16 a line.
struct Rendered {
    FixedMetricsSurface surface;
    HtmlRenderOutput output;
    bool hit = false;

    std::vector<FixedMetricsSurface::Drawn> texts() const { return surface.texts(); }
    std::vector<FixedMetricsSurface::Drawn> drawn(FixedMetricsSurface::Kind kind) const {
        std::vector<FixedMetricsSurface::Drawn> result;
        for (const auto& item : surface.drawn())
            if (item.kind == kind) result.push_back(item);
        return result;
    }
    // The texts drawn, joined by "|".
    std::string shown() const {
        std::string joined;
        for (const auto& item : texts()) joined += (joined.empty() ? "" : "|") + item.text;
        return joined;
    }
};

// The first drawing of exactly that text; the test fails when there is none.
inline const FixedMetricsSurface::Drawn& textAt(const Rendered& r, const std::string& text) {
    for (const auto& item : r.surface.drawn())
        if (item.kind == FixedMetricsSurface::Kind::Text && item.text == text) return item;
    throw std::runtime_error("not drawn: " + text);
}

inline HtmlRenderInput inputFor(std::string_view text, TRect rect = {0, 0, 400, 400}) {
    HtmlRenderInput input;
    input.Text = text;
    input.Rect = rect;
    return input;
}

inline void render(Rendered& result, const HtmlRenderInput& input) {
    result.hit = RenderHtmlText(result.surface, input, result.output);
}

// Markup written in UTF-8 in the test, as the program's cp1251.
inline std::string cp1251(const char* utf8) {
    return toCp1251(QString::fromUtf8(utf8));
}

} // namespace newsbell::testing
