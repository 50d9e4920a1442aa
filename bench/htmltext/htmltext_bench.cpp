// The alert popup draws and sizes its messages with RenderHtmlText on every paint and every
// show. Here the same work is done by QTextDocument in the same run, and the ratios say how
// much faster the renderer is (the aim is at least five times).

#include "base/Cp1251.h"
#include "bench/RatioRuns.h"
#include "htmltext/QPainterSurface.h"
#include "htmltext/RenderHtmlText.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

using namespace newsbell;

namespace {

constexpr int popupWidth = 300;
constexpr int popupHeight = 100;
constexpr int messageCount = 100;

QString spanText(int index) {
    return QStringLiteral("0:%1:%2")
        .arg(index % 30, 2, 10, QLatin1Char('0'))
        .arg(index * 7 % 60, 2, 10, QLatin1Char('0'));
}

// The message the alert pass composes for a due event, with the time left varying.
std::string alertMessage(int index) {
    return toCp1251(QStringLiteral("<b>2026.12.07</b> 14:30 USD  <i> <b>Высокая важность </i>"
                                   "</b> <br><b><q> GDP</q></b><br> 0.5% 0.4% <br> Начнется "
                                   "через <b>%1 </b>")
                        .arg(spanText(index)));
}

// The same message as rich text, nested properly, as QTextDocument expects it.
QString richTextMessage(int index) {
    return QStringLiteral("<b>2026.12.07</b> 14:30 USD  <i> <b>Высокая важность </b></i> <br>"
                          "<b> GDP</b><br> 0.5% 0.4% <br> Начнется через <b>%1 </b>")
        .arg(spanText(index));
}

Font popupFont() {
    Font font;
    font.face = "DejaVu Sans";
    return font;
}

QFont popupQFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    return font;
}

QImage popupImage() {
    QImage image(popupWidth, popupHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// Each paint starts afresh, as a paint event does: a new painter and a new surface.
void RendererPaint(benchmark::State& state) {
    QImage image = popupImage();
    const std::string message = alertMessage(25);
    HtmlRenderInput input;
    input.Text = message;
    input.Rect = TRect{0, 0, popupWidth, popupHeight};
    for (auto _ : state) {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        surface.setFont(popupFont());
        HtmlRenderOutput output;
        RenderHtmlText(surface, input, output);
        benchmark::DoNotOptimize(output.ExtentY);
    }
}

void TextDocumentPaint(benchmark::State& state) {
    QImage image = popupImage();
    const QString message = richTextMessage(25);
    for (auto _ : state) {
        QPainter painter(&image);
        QTextDocument document;
        document.setDefaultFont(popupQFont());
        document.setTextWidth(popupWidth);
        document.setHtml(message);
        document.drawContents(&painter, QRectF(0, 0, popupWidth, popupHeight));
    }
}

// Sizing the popup to its messages: one surface measures them all.
void RendererMeasure(benchmark::State& state) {
    QImage image = popupImage();
    std::vector<std::string> messages;
    for (int i = 0; i < messageCount; ++i) messages.push_back(alertMessage(i));
    for (auto _ : state) {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        surface.setFont(popupFont());
        for (const std::string& message : messages) {
            HtmlRenderInput input;
            input.Text = message;
            input.Rect = TRect{0, 0, 4096, 4096};
            input.MeasureOnly = true;
            HtmlRenderOutput output;
            RenderHtmlText(surface, input, output);
            benchmark::DoNotOptimize(output.ExtentX);
        }
    }
}

void TextDocumentMeasure(benchmark::State& state) {
    std::vector<QString> messages;
    for (int i = 0; i < messageCount; ++i) messages.push_back(richTextMessage(i));
    for (auto _ : state) {
        for (const QString& message : messages) {
            QTextDocument document;
            document.setDefaultFont(popupQFont());
            document.setHtml(message);
            benchmark::DoNotOptimize(document.idealWidth());
            benchmark::DoNotOptimize(document.size());
        }
    }
}

BENCHMARK(RendererPaint);
BENCHMARK(TextDocumentPaint);
BENCHMARK(RendererMeasure);
BENCHMARK(TextDocumentMeasure);

void printRatio(const bench::MedianTimes& times, const char* what, const std::string& baseline,
                const std::string& ours) {
    if (const auto ratio = times.ratio(baseline, ours))
        std::printf("%-44s %6.1fx faster than QTextDocument\n", what, *ratio);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench::MedianTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    printRatio(times, "layout + paint of the typical alert message", "TextDocumentPaint",
               "RendererPaint");
    printRatio(times, "measuring 100 alert messages", "TextDocumentMeasure", "RendererMeasure");
    benchmark::Shutdown();
    return 0;
}
