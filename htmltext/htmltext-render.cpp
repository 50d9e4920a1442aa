// htmltext-render FILE [-o OUT.png] [--width W --height H] [--fixed-metrics] [--point X,Y]
// Renders the cp1251 markup in FILE into (0, 0, W, H) and prints what the renderer reports
// as JSON; with -o also writes the picture.

#include "base/Cp1251.h"
#include "htmltext/FixedMetricsSurface.h"
#include "htmltext/HTMLPictureCache.h"
#include "htmltext/QPainterSurface.h"
#include "htmltext/RenderHtmlText.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <cstdio>
#include <optional>

using namespace newsbell;

namespace {

// Draws on the painter surface but measures like the fixed-metrics surface, so the picture
// shows exactly the layout the numbers describe.
class FixedLayoutSurface final : public Surface {
public:
    explicit FixedLayoutSurface(Surface& painterSurface) : canvas(painterSurface) {}

    const Font& font() const override { return canvas.font(); }
    void setFont(const Font& font) override { canvas.setFont(font); }
    int pixelsPerInchX() const override { return metrics.pixelsPerInchX(); }
    int pixelsPerInchY() const override { return metrics.pixelsPerInchY(); }
    void drawText(std::string_view text, const TRect& rect, bool endEllipsis) override {
        drawing().drawText(text, rect, endEllipsis);
    }
    void textOut(int x, int y, std::string_view text) override { drawing().textOut(x, y, text); }
    int textWidth(std::string_view text) override { return metrics.textWidth(text); }
    int textHeight(std::string_view text) override { return metrics.textHeight(text); }
    void fillRect(const TRect& rect, TColor color) override { drawing().fillRect(rect, color); }
    void outlineRect(const TRect& rect) override { drawing().outlineRect(rect); }
    void drawLine(int x0, int y0, int x1, int y1) override { drawing().drawLine(x0, y0, x1, y1); }
    void drawFocusRect(const TRect& rect) override { drawing().drawFocusRect(rect); }
    void drawImage(const QImage& image, const TRect& target) override {
        drawing().drawImage(image, target);
    }
    void setClipRect(std::optional<TRect> rect) override { canvas.setClipRect(rect); }

private:
    // The canvas draws with this surface's brush and pen.
    Surface& drawing() {
        if (brushSolid())
            canvas.setBrushColor(brushColor());
        else
            canvas.setBrushClear();
        canvas.setPenColor(penColor());
        canvas.setPenWidth(penWidth());
        return canvas;
    }

    Surface& canvas;
    FixedMetricsSurface metrics;
};

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "htmltext-render: %s\n", qPrintable(message));
    std::exit(1);
}

int positiveNumber(const QCommandLineParser& parser, const QString& name, int fallback) {
    if (!parser.isSet(name)) return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value <= 0) fail(QStringLiteral("--%1 wants a positive number").arg(name));
    return value;
}

std::optional<QPoint> point(const QCommandLineParser& parser) {
    if (!parser.isSet(QStringLiteral("point"))) return std::nullopt;
    const QStringList parts = parser.value(QStringLiteral("point")).split(QLatin1Char(','));
    bool okX = false;
    bool okY = false;
    const int x = parts.value(0).toInt(&okX);
    const int y = parts.value(1).toInt(&okY);
    if (parts.size() != 2 || !okX || !okY) fail(QStringLiteral("--point wants X,Y"));
    return QPoint(x, y);
}

QJsonArray rectJson(const TRect& rect) {
    return {rect.Left, rect.Top, rect.Right, rect.Bottom};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders a mini-HTML text and reports its layout as JSON."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("markup in Windows-1251"));
    parser.addOption({QStringLiteral("o"), QStringLiteral("write the picture to OUT.png"),
                      QStringLiteral("OUT.png")});
    parser.addOption({QStringLiteral("width"), QStringLiteral("width of the rectangle (300)"),
                      QStringLiteral("W")});
    parser.addOption({QStringLiteral("height"), QStringLiteral("height of the rectangle (100)"),
                      QStringLiteral("H")});
    parser.addOption(
        {QStringLiteral("fixed-metrics"), QStringLiteral("lay out with 8x16 pixel characters")});
    parser.addOption(
        {QStringLiteral("point"), QStringLiteral("hit-test this point"), QStringLiteral("X,Y")});
    parser.process(application);
    if (parser.positionalArguments().size() != 1)
        fail(QStringLiteral("give exactly one FILE (see --help)"));

    QFile file(parser.positionalArguments().first());
    if (!file.open(QIODevice::ReadOnly))
        fail(file.fileName() + QStringLiteral(": ") + file.errorString());
    const QByteArray markup = file.readAll();
    const int width = positiveNumber(parser, QStringLiteral("width"), 300);
    const int height = positiveNumber(parser, QStringLiteral("height"), 100);

    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QPainterSurface painterSurface(painter);
    FixedLayoutSurface fixedSurface(painterSurface);
    Surface& surface = parser.isSet(QStringLiteral("fixed-metrics"))
                           ? static_cast<Surface&>(fixedSurface)
                           : painterSurface;
    Font font;
    font.face = "DejaVu Sans";
    surface.setFont(font);
    surface.setBrushColor(0xFFFFFF);

    THTMLPictureCache cache;
    HtmlRenderInput input;
    input.Text = std::string_view(markup.constData(), std::size_t(markup.size()));
    input.Rect = TRect{0, 0, width, height};
    input.PictureCache = &cache;
    HtmlRenderOutput output;
    RenderHtmlText(surface, input, output);

    QJsonObject report{{QStringLiteral("PlainText"), fromCp1251(output.PlainText)},
                       {QStringLiteral("ExtentX"), output.ExtentX},
                       {QStringLiteral("ExtentY"), output.ExtentY},
                       {QStringLiteral("LinkCount"), output.LinkCount}};
    if (const std::optional<QPoint> at = point(parser)) {
        input.PointX = at->x();
        input.PointY = at->y();
        input.HitTestOnly = true;
        input.BlinkOn = false;
        HtmlRenderOutput hit;
        RenderHtmlText(surface, input, hit);
        report.insert(QStringLiteral("AnchorHit"), hit.AnchorHit);
        report.insert(QStringLiteral("AnchorValue"), fromCp1251(hit.AnchorValue));
        report.insert(QStringLiteral("MouseLink"), hit.MouseLink);
        report.insert(QStringLiteral("HoverRect"), rectJson(hit.HoverRect));
    }
    painter.end();
    std::fputs(QJsonDocument(report).toJson(QJsonDocument::Indented).constData(), stdout);

    if (parser.isSet(QStringLiteral("o")) &&
        !picture.save(parser.value(QStringLiteral("o")), "PNG"))
        fail(QStringLiteral("cannot write ") + parser.value(QStringLiteral("o")));
    return 0;
}
