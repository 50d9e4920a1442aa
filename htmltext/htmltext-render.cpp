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
    explicit FixedLayoutSurface(Surface& canvas) : canvas(canvas) {}

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
    if (!ok || value <= 0) fail(QString("--%1 wants a positive number").arg(name));
    return value;
}

std::optional<QPoint> point(const QCommandLineParser& parser) {
    if (!parser.isSet("point")) return std::nullopt;
    const QStringList parts = parser.value("point").split(',');
    bool okX = false;
    bool okY = false;
    const int x = parts.value(0).toInt(&okX);
    const int y = parts.value(1).toInt(&okY);
    if (parts.size() != 2 || !okX || !okY) fail("--point wants X,Y");
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
    parser.setApplicationDescription("Renders a mini-HTML text and reports its layout as JSON.");
    parser.addHelpOption();
    parser.addPositionalArgument("FILE", "markup in Windows-1251");
    parser.addOption({"o", "write the picture to OUT.png", "OUT.png"});
    parser.addOption({"width", "width of the rectangle (300)", "W"});
    parser.addOption({"height", "height of the rectangle (100)", "H"});
    parser.addOption({"fixed-metrics", "lay out with 8x16 pixel characters"});
    parser.addOption({"point", "hit-test this point", "X,Y"});
    parser.process(application);
    if (parser.positionalArguments().size() != 1) fail("give exactly one FILE (see --help)");

    QFile file(parser.positionalArguments().first());
    if (!file.open(QIODevice::ReadOnly)) fail(file.fileName() + ": " + file.errorString());
    const QByteArray markup = file.readAll();
    const int width = positiveNumber(parser, "width", 300);
    const int height = positiveNumber(parser, "height", 100);

    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QPainterSurface painterSurface(painter);
    FixedLayoutSurface fixedSurface(painterSurface);
    Surface& surface =
        parser.isSet("fixed-metrics") ? static_cast<Surface&>(fixedSurface) : painterSurface;
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

    QJsonObject report{{"PlainText", fromCp1251(output.PlainText)},
                       {"ExtentX", output.ExtentX},
                       {"ExtentY", output.ExtentY},
                       {"LinkCount", output.LinkCount}};
    if (const std::optional<QPoint> at = point(parser)) {
        input.PointX = at->x();
        input.PointY = at->y();
        input.HitTestOnly = true;
        input.BlinkOn = false;
        HtmlRenderOutput hit;
        RenderHtmlText(surface, input, hit);
        report.insert("AnchorHit", hit.AnchorHit);
        report.insert("AnchorValue", fromCp1251(hit.AnchorValue));
        report.insert("MouseLink", hit.MouseLink);
        report.insert("HoverRect", rectJson(hit.HoverRect));
    }
    painter.end();
    std::fputs(QJsonDocument(report).toJson(QJsonDocument::Indented).constData(), stdout);

    if (parser.isSet("o") && !picture.save(parser.value("o"), "PNG"))
        fail("cannot write " + parser.value("o"));
    return 0;
}
