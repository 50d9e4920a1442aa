// How long a fade in really takes against its nominal length: FadeTime 10 ms and FadeStep 2
// from 0 to 180 make 90 steps of at least 10 ms, 900 ms. A wait that drifted, or opacity
// changes that queued up on their way to the window, would show here. The popup is the
// program's own, on the offscreen platform unless another is set.
#include "alert/AlertNotifier.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QWidget window;
    newsbell::TAlertNotifier alert(&window);
    alert.SetFadeTime(10);
    alert.SetFadeStep(2);
    alert.SetAlphaEnd(180);
    alert.SetAutoHide(false);
    alert.AlertMessages().Add().Text().SetText("<b>EUR</b> CPI y/y in 0:25:00");

    constexpr double nominal = 900;
    std::vector<double> lengths;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        alert.Show();
        while (alert.fading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        lengths.push_back(double(timer.nsecsElapsed()) / 1e6);
        alert.popup()->setShown(false); // so that the next Show fades in again
    }
    std::sort(lengths.begin(), lengths.end());
    const double median = lengths[lengths.size() / 2];
    std::printf("fade in 0..180 by 2, 10 ms a step: %.1f ms (median of %zu; %.1f..%.1f)\n", median,
                lengths.size(), lengths.front(), lengths.back());
    std::printf("%.3fx its nominal %.0f ms (target at most 1.1x)\n", median / nominal, nominal);
    return 0;
}
