// A press of "Включить оповещение событий" in the shown main window on the real browser, from
// the press to the popup on screen (its first paint), against the floor of the same work
// measured in the same run: one read of the page text from the same browser, the extraction
// into a table of its own, the pass, and one show of a popup of its own. Two pages: the demo
// calendar's week (its events minutes from now are due) and a generated page of 10,000 events
// (the clock set to its Wednesday at 12:05, about sixty of them due). Prints the medians and
// the ratios (target: at most 3 each).
//   press_bench [PRESSES]    7 by default; on the display given, offscreen when there is none
#include "alert/AlertNotifier.h"
#include "alert/AlertWindow.h"
#include "bench/Measures.h"
#include "bench/core/GeneratedPage.h"
#include "browser/WebEngineBrowserHost.h"
#include "browser/WebEngineSetup.h"
#include "calendar/CalendarServer.h"
#include "core/AlertPass.h"
#include "core/Extraction.h"
#include "mainwindow/TForm1.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace newsbell;

namespace {

using bench::median;

// Nothing here may wait for a person: messages end the run, files are never chosen.
struct UnattendedDesktop final : MessageSink, LinkOpener, FileChooser, SoundPlayer {
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "press_bench: %s\n", qPrintable(text));
        std::exit(1);
    }
    void openLink(const QUrl&) override {}
    std::optional<QString> chooseFileToSave(QWidget*, const QString&) override {
        return std::nullopt;
    }
    void play() override {}
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime moment) : moment_(std::move(moment)) {}
    QDateTime now() const override { return moment_; }
    qint64 steadyMilliseconds() const override { return SystemClock().steadyMilliseconds(); }

private:
    QDateTime moment_;
};

// Notes the first paint of any alert popup after start().
class PopupPaints final : public QObject {
public:
    PopupPaints() { qApp->installEventFilter(this); }
    void start() {
        timer_.start();
        painted_ = -1;
    }
    // Milliseconds from start() to the first paint of a popup; waits for it.
    double wait() {
        const QDeadlineTimer deadline(30000);
        while (painted_ < 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (painted_ < 0) {
            std::fprintf(stderr, "press_bench: no popup within 30 s\n");
            std::exit(1);
        }
        return painted_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && painted_ < 0 && qobject_cast<TAlertWindow*>(watched))
            painted_ = double(timer_.nsecsElapsed()) / 1e6;
        return false;
    }

private:
    QElapsedTimer timer_;
    double painted_ = -1;
};

// Hides a notifier's popup once its fade is over, so that the next show fades in again.
void putAway(TAlertNotifier& alert) {
    while (alert.fading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (alert.popup()) alert.popup()->setShown(false);
    QCoreApplication::processEvents();
}

void measure(const char* what, const QUrl& page, const Clock& clock, int presses) {
    UnattendedDesktop desktop;
    ErrorReporter errors(desktop);
    auto* browser = new WebEngineBrowserHost; // the window's
    TForm1 form(browser, Desktop{desktop, desktop, desktop, clock, desktop}, errors, page);
    form.show();
    const QDeadlineTimer loadWait(60000);
    while (!browser->pageLoaded() && !loadWait.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!browser->pageLoaded()) {
        std::fprintf(stderr, "press_bench: %s did not load\n", qPrintable(page.toString()));
        std::exit(1);
    }
    auto& windowAlert = *form.findChild<TAlertNotifier*>(QStringLiteral("AlertNotifier1"));
    QWidget owner;
    TAlertNotifier floorAlert(&owner);
    PopupPaints paints;

    std::vector<double> pressTimes, floorTimes;
    for (int press = 0; press < presses; ++press) { // alternated, so that other work falls on both
        putAway(windowAlert);
        paints.start();
        form.runAlertPass();
        pressTimes.push_back(paints.wait());

        putAway(floorAlert);
        paints.start();
        EventTable table;
        table.writeTitles();
        const ExtractionOptions options(clock.now().date().year());
        extractEvents(browser->bodyHtml(), table, options);
        floorAlert.AlertMessages().Clear();
        const QDateTime now = clock.now();
        runAlertPass(table, form.alertSettings(), now.date(), now.time(),
                     [&floorAlert](const DueAlert& due) {
                         floorAlert.AlertMessages().Add().Text().SetText(due.message);
                     });
        floorAlert.Show();
        floorTimes.push_back(paints.wait());
    }
    const double pressTime = median(pressTimes), floorTime = median(floorTimes);
    std::printf("%s, %d rows: press -> popup %.1f ms, floor %.1f ms (medians of %d)\n", what,
                form.table().rowCount() - 1, pressTime, floorTime, presses);
    std::printf("%s: press / floor %.2f (target: at most 3)\n", what, pressTime / floorTime);
    std::fflush(stdout);
}

// The generated page as a file the browser opens.
QUrl generatedPageFile(const QTemporaryDir& folder, int events) {
    const QString name = folder.filePath(QStringLiteral("week.html"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly)) std::exit(1);
    file.write("<html><head><meta charset=\"windows-1251\"></head><body>");
    file.write(QByteArray::fromStdString(generatedCalendarPage(events)));
    file.write("</body></html>");
    return QUrl::fromLocalFile(name);
}

} // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWebEngineProcess(false);
    QApplication application(argc, argv);

    SystemClock clock;
    CalendarServer demo(clock); // its week holds events minutes from now: due at once
    demo.start();
    measure("demo calendar", QUrl(demo.url()), clock, presses);

    QTemporaryDir folder;
    const FixedClock wednesdayNoon(QDateTime(QDate(2010, 5, 26), QTime(12, 5)));
    measure("generated page", generatedPageFile(folder, 10000), wednesdayNoon, presses);
    return 0;
}
