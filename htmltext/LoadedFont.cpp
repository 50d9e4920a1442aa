#include "LoadedFont.h"

#include "SystemColors.h"
#include "base/Cp1251.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QRawFont>
#include <QTextLayout>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace newsbell {

namespace {

// Sizes from markup are not checked by anyone before they get here: a size of 0 is the
// default size and a negative one its magnitude, as the platform's fonts take them; and a
// glyph taller than a screen helps nobody.
constexpr int defaultPointSize = 8;
constexpr int largestPointSize = 1000;

// Enough for every word of a popup's messages; a flood of texts starts the cache afresh.
constexpr std::size_t textsKept = 4096;
constexpr std::size_t fontsKept = 64;

QFont toQFont(const Font& font) {
    QFont qfont(fromCp1251(font.face));
    const int size = font.size == 0 ? defaultPointSize : std::abs(font.size);
    qfont.setPointSize(std::min(size, largestPointSize));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    return qfont;
}

// A paint device that only answers with a resolution, so that fonts are resolved for it.
class Resolution final : public QPaintDevice {
public:
    Resolution(int dotsPerInchX, int dotsPerInchY) : x(dotsPerInchX), y(dotsPerInchY) {}
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return x;
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return y;
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    int x;
    int y;
};

QFontMetrics metricsAt(const QFont& font, int dotsPerInchX, int dotsPerInchY) {
    const Resolution device(dotsPerInchX, dotsPerInchY);
    return QFontMetrics(font, &device);
}

// Blanks have no outline, yet each costs a glyph lookup when drawn, and a run of them alone a
// whole text draw: most of a popup's words end in one, and many are one. Left out, they change
// no pixel. Nothing is left out of a run that draws a line through or under its blanks.
void appendInked(QList<QGlyphRun>& runs, const QGlyphRun& run) {
    if (run.underline() || run.overline() || run.strikeOut()) {
        runs.append(run);
        return;
    }
    const QRawFont font = run.rawFont();
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    QList<quint32> inkedIndexes;
    QList<QPointF> inkedPositions;
    for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i)
        if (!font.boundingRect(indexes[i]).isEmpty()) {
            inkedIndexes.append(indexes[i]);
            inkedPositions.append(positions[i]);
        }
    if (inkedIndexes.isEmpty()) return;
    QGlyphRun inked = run;
    inked.setGlyphIndexes(inkedIndexes);
    inked.setPositions(inkedPositions);
    runs.append(inked);
}

} // namespace

LoadedFont::LoadedFont(const Font& font, int dotsPerInchX, int dotsPerInchY)
    : requested(font), dpiX(dotsPerInchX), dpiY(dotsPerInchY), drawn(toQFont(font)),
      measures(metricsAt(drawn, dotsPerInchX, dotsPerInchY)), lineHeight(measures.height()),
      aboveBaseline(measures.ascent()),
      symbol(QString::compare(fromCp1251(font.face), QStringLiteral("Symbol"),
                              Qt::CaseInsensitive) == 0),
      textColor(toDrawnColor(font.color)) {}

bool LoadedFont::isFor(const Font& font, int dotsPerInchX, int dotsPerInchY) const {
    return requested == font && dpiX == dotsPerInchX && dpiY == dotsPerInchY;
}

TextLine& LoadedFont::line(std::string_view text) {
    for (const Recent& entry : recent)
        if (entry.line && entry.text == text) return *entry.line;
    auto known = lines.find(text);
    if (known == lines.end()) {
        if (lines.size() >= textsKept) {
            lines.clear();
            recent.fill(Recent());
        }
        known = lines.try_emplace(std::string(text), text, measures, symbol).first;
    }
    recent[nextRecent] = {known->first, &known->second};
    nextRecent = (nextRecent + 1) % recent.size();
    return known->second;
}

const QList<QGlyphRun>& LoadedFont::glyphs(const QString& text) {
    if (const auto known = shapes.find(text); known != shapes.end()) return known->second;
    if (shapes.size() >= textsKept) shapes.clear();
    Resolution device(dpiX, dpiY);
    QTextLayout layout(text, drawn, &device);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    QList<QGlyphRun> inked;
    if (line.isValid())
        for (const QGlyphRun& run : line.glyphRuns()) appendInked(inked, run);
    return shapes.emplace(text, std::move(inked)).first->second;
}

const QList<QGlyphRun>& LoadedFont::glyphs(TextLine::Piece& piece) {
    if (!piece.glyphs) piece.glyphs = glyphs(piece.text);
    return *piece.glyphs;
}

std::shared_ptr<LoadedFont> loadFont(const Font& font, const QPaintDevice& device) {
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    // Qt's fonts belong to the application's thread; elsewhere nothing is kept.
    const QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return std::make_shared<LoadedFont>(font, dpiX, dpiY);
    // Never destroyed: Qt takes its font machinery down with the application, before any
    // static destructor would run, and a font released after that crashes.
    static auto& loaded = *new std::vector<std::shared_ptr<LoadedFont>>;
    for (const auto& candidate : loaded)
        if (candidate->isFor(font, dpiX, dpiY)) return candidate;
    if (loaded.size() >= fontsKept) loaded.clear();
    return loaded.emplace_back(std::make_shared<LoadedFont>(font, dpiX, dpiY));
}

} // namespace newsbell
