#include "TextLine.h"

#include "base/Cp1251.h"

#include <algorithm>
#include <string>

namespace newsbell {

namespace {

constexpr QChar tab = u'\t';
const QString ellipsis = QStringLiteral("...");

} // namespace

TextLine::TextLine(std::string_view text, const QFontMetrics& fontMetrics, bool symbolFace)
    : metrics(fontMetrics) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (++i == text.size()) break;
            if (text[i] != '&') underlined.push_back(qsizetype(bytes.size()));
        }
        bytes += text[i];
    }
    // Code page 1251 gives one character per byte, so the marks index the shown text too.
    shown = fromCp1251(bytes);
    if (symbolFace) shown.replace(QChar(0xB7), QChar(0x2022));
    layOut(shown.size());
}

void TextLine::layOut(qsizetype length) {
    laidOut.clear();
    marks.clear();
    const int tabWidth = std::max(1, 8 * metrics.averageCharWidth());
    int x = 0;
    qsizetype start = 0;
    while (start <= length) {
        qsizetype end = shown.indexOf(tab, start);
        if (end < 0 || end > length) end = length;
        const QString text = shown.mid(start, end - start);
        for (qsizetype index : underlined)
            if (index >= start && index < end)
                marks.push_back({x + metrics.horizontalAdvance(text.left(index - start)),
                                 metrics.horizontalAdvance(text.at(index - start))});
        laidOut.push_back({text, x, std::nullopt});
        x += metrics.horizontalAdvance(text);
        if (end == length) break;
        x = (x / tabWidth + 1) * tabWidth;
        start = end + 1;
    }
    total = x;
}

void TextLine::elide(int limit) {
    if (total <= limit) return;
    const int room = limit - metrics.horizontalAdvance(ellipsis);
    // The longest start of the text that leaves room for the ellipsis.
    qsizetype low = 0;
    qsizetype high = shown.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        layOut(middle);
        if (total <= room)
            low = middle;
        else
            high = middle - 1;
    }
    layOut(low);
    laidOut.push_back({ellipsis, total, std::nullopt});
    total += metrics.horizontalAdvance(ellipsis);
}

} // namespace newsbell
