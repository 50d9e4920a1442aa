// Every paint of the alert popup draws its whole window: background, caption, buttons, the
// navigator and the shown message through RenderHtmlText. The window's own part should cost
// little next to the message: the ratio printed at the end compares a full repaint with the
// renderer's paint of the same message alone, measured in the same run (the aim is at most 2).

#include "alert/AlertWindow.h"
#include "base/Cp1251.h"
#include "bench/RatioRuns.h"
#include "htmltext/QPainterSurface.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace newsbell;

namespace {

// A due event as the alert pass writes it.
const std::string message = toCp1251(
    QStringLiteral("<b>2026.12.07</b> 14:30 USD  <i> <b>Высокая важность </i></b> <br><b><q> "
                   "GDP</q></b><br> 0.5% 0.4% <br> Начнется через <b>0:25:00 </b>"));

AlertWindowSettings popupSettings() {
    AlertWindowSettings settings;
    settings.WindowColor = 16440004;
    settings.WindowColorTo = 16105376;
    settings.CaptionColor = 14059353;
    settings.CaptionColorTo = 9841920;
    settings.BorderColor = 9841920;
    settings.Hover = false;
    return settings;
}

QImage popupImage() {
    QImage image(300, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// The paint event's whole work, through Qt's paint path.
void PopupRepaint(benchmark::State& state) {
    TAlertWindow window;
    window.addMessage(message, 0);
    window.applySettings(popupSettings());
    QImage image = popupImage();
    for (auto _ : state) window.render(&image, {}, {}, QWidget::RenderFlags());
}

// The message alone, in the popup's message rectangle and font.
void RendererPaint(benchmark::State& state) {
    const AlertWindowSettings settings = popupSettings();
    TAlertWindow window;
    window.addMessage(message, 0);
    window.applySettings(settings);
    QImage image = popupImage();
    HtmlRenderInput input;
    input.Text = message;
    input.Rect = window.layout().message;
    for (auto _ : state) {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        surface.setFont(settings.Font);
        HtmlRenderOutput output;
        RenderHtmlText(surface, input, output);
        benchmark::DoNotOptimize(output.ExtentY);
    }
}

BENCHMARK(RendererPaint);
BENCHMARK(PopupRepaint);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bench::initializeShuffledRepetitions(argc, argv);
    bench::MedianTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    bench::printRatio(times, "full repaint of the popup / paint of its message alone",
                      "PopupRepaint", "RendererPaint", "at most 2");
    benchmark::Shutdown();
    return 0;
}
