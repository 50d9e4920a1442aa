// How long the popup's fade in really takes, against a plain thread doing the same steps in the
// same run: FadeTime 10 ms and FadeStep 2 from 0 to 180 make 91 opacities, 90 steps of at least
// 10 ms. The baseline thread waits the same way and hands each opacity to a popup of its own
// through a queued call, as the fade does; the fade's own bookkeeping (its reports under a
// lock, the notifier's checks) is what the ratio shows. The popup
// is the program's own, on the offscreen platform unless another is set (under X the opacity
// steps reach the window).
#include "alert/AlertNotifier.h"
#include "alert/AlertWindow.h"
#include "alert/FadeThread.h"
#include "bench/Measures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using namespace newsbell;

namespace {

using bench::median;

constexpr int alphaEnd = 180;
constexpr int fadeStep = 2;
constexpr std::chrono::milliseconds stepTime{10};
constexpr int runs = 7;

// The popup's fade in, from Show to the fade's end on the user-interface thread.
double popupFade(TAlertNotifier& alert) {
    QElapsedTimer timer;
    timer.start();
    alert.Show();
    while (alert.fading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double length = double(timer.nsecsElapsed()) / 1e6;
    alert.popup()->setShown(false); // so that the next Show fades in again
    return length;
}

// The same steps from a plain thread, each opacity queued to a popup.
double baselineFade(TAlertWindow& window) {
    QElapsedTimer timer;
    timer.start();
    window.setShown(true);
    std::atomic<bool> ended = false;
    std::jthread fade([&window, &ended](std::stop_token stop) {
        const std::shared_ptr<const FadeClock> clock = steadyFadeClock();
        const auto apply = [&window](int alpha) {
            QMetaObject::invokeMethod(
                &window, [&window, alpha] { window.setOpacity(alpha); }, Qt::QueuedConnection);
        };
        apply(0);
        for (int alpha = 0; alpha < alphaEnd; alpha += fadeStep) {
            const auto start = clock->now();
            apply(alpha);
            clock->waitUntil(start + stepTime, stop);
        }
        apply(alphaEnd);
        QMetaObject::invokeMethod(
            &window, [&ended] { ended = true; }, Qt::QueuedConnection);
    });
    while (!ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double length = double(timer.nsecsElapsed()) / 1e6;
    window.setShown(false);
    return length;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QWidget owner;
    TAlertNotifier alert(&owner);
    alert.SetFadeTime(int(stepTime.count()));
    alert.SetFadeStep(fadeStep);
    alert.SetAlphaEnd(alphaEnd);
    alert.SetAutoHide(false);
    alert.AlertMessages().Add().Text().SetText("<b>EUR</b> CPI y/y in 0:25:00");
    TAlertWindow plain(&owner);
    plain.setBounds(QRect(0, 0, 300, 100));

    std::vector<double> fades, baselines;
    for (int run = 0; run < runs; ++run) { // alternated, so that other work falls on both
        fades.push_back(popupFade(alert));
        baselines.push_back(baselineFade(plain));
    }
    const double fade = median(fades), baseline = median(baselines);
    std::printf("fade in 0..180 by 2, 10 ms a step: %.1f ms (median of %d); the same steps from a "
                "plain thread: %.1f ms\n",
                fade, runs, baseline);
    std::printf("fade / plain thread: %.3f (target: at most 1.1)\n", fade / baseline);
    return 0;
}
