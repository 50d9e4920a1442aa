// Body HTML of a 500-event calendar page: our legacy serialisation (innerHTML, its tags rewritten,
// converted to cp1251) against Chromium's own innerHTML of the same page, read the same way.
// Prints the ratio of the two; the goal is under 2.
#include "browser/WebEngineBrowserHost.h"
#include "browser/WebEngineSetup.h"
#include "calendar/CalendarServer.h"

#include <QApplication>
#include <QEventLoop>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

QString chromiumInnerHtml(QWebEnginePage& page) {
    QString html;
    QEventLoop loop;
    page.runJavaScript(QStringLiteral("document.body.innerHTML"), [&](const QVariant& value) {
        html = value.toString();
        loop.quit();
    });
    loop.exec();
    return html;
}

// Keeps each benchmark's real time per iteration (the median of repetitions) for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions, the median stands for the benchmark.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    newsbell::prepareWebEngineProcess(false);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    newsbell::SystemClock clock;
    newsbell::CalendarServer server(clock, {500});
    server.start();
    newsbell::WebEngineBrowserHost host;
    QSignalSpy loaded(&host, &newsbell::BrowserHost::documentComplete);
    host.navigate(QUrl(server.url()));
    if (!loaded.wait(30000)) {
        std::fprintf(stderr, "the calendar page did not load\n");
        return 1;
    }
    QWebEnginePage& page = *static_cast<QWebEngineView*>(host.widget())->page();
    std::printf("page body: %lld characters (innerHTML), %zu bytes (legacy, cp1251)\n",
                static_cast<long long>(chromiumInnerHtml(page).size()), host.bodyHtml().size());

    benchmark::RegisterBenchmark("ChromiumInnerHtml",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state)
                                         benchmark::DoNotOptimize(chromiumInnerHtml(page));
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("LegacyBodyHtml",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) benchmark::DoNotOptimize(host.bodyHtml());
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double base = reporter.times["ChromiumInnerHtml"];
    if (base > 0)
        std::printf("legacy body HTML / Chromium innerHTML: %.2fx (goal under 2x)\n",
                    reporter.times["LegacyBodyHtml"] / base);
    benchmark::Shutdown();
    return 0;
}
