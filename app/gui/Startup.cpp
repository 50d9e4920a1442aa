#include "app/gui/Startup.h"

#include "app/browser/WebEngineBrowserHost.h"
#include "app/browser/WebEngineSetup.h"
#include "app/gui/BellSound.h"
#include "app/gui/CalendarFeed.h"
#include "app/gui/NewsbellApplication.h"
#include "app/gui/StartOptions.h"
#include "app/gui/TForm1.h"
#include "app/gui/WeekExport.h"
#include "calendar/CalendarServer.h"
#include "weeks/TForm2.h"
#include "weeks/WeekJoin.h"

#include <QTimer>
#include <cstdio>
#include <memory>

namespace newsbell {

namespace {

constexpr std::chrono::seconds exportLoadWait{60};
constexpr std::chrono::seconds weekAnswerWait{30};

int showWindow(NewsbellApplication& application, const QUrl& page, const Clock& clock,
               CalendarFeed* feed) {
    QtMessageSink messages;
    QtLinkOpener links;
    QtFileChooser files;
    BellSound sound(&QApplication::beep);
    ErrorReporter errors(messages);
    application.setErrorReporter(&errors);
    const Desktop desktop{messages, links, files, clock, sound};
    TForm1 form(new WebEngineBrowserHost, desktop, errors, page);
    // Created hidden right after the main window, so that its page loads meanwhile.
    TForm2 weekWindow(new WebEngineBrowserHost, desktop, errors, page, &form);
    form.setWeekWindow(&weekWindow);
    std::unique_ptr<FeedRefresher> refresher;
    if (feed) {
        refresher =
            std::make_unique<FeedRefresher>(feed->calendar(), *form.WebBrowser1, errors, page);
        // Told once the window is up.
        QTimer::singleShot(0, refresher.get(), [&] { refresher->report(feed->firstRead()); });
    }
    form.show();
    const int status = application.exec();
    application.setErrorReporter(nullptr);
    return status;
}

int exportToFile(const QString& fileName, const QUrl& page, const Clock& clock) {
    WebEngineBrowserHost browser;
    exportWeek(browser, page, fileName, exportLoadWait, clock.now().date().year());
    return 0;
}

// Without a window the feed's problems go to standard error, line by line.
void printReport(const QString& report) {
    for (const QString& line : report.split(u'\n', Qt::SkipEmptyParts))
        std::fprintf(stderr, "newsbell: %s\n", line.toUtf8().constData());
}

// Prints only once the whole pass has succeeded, so that a failure leaves standard output empty.
int printDueAlerts(const DueAtRequest& request, const QUrl& page) {
    WebEngineBrowserHost browser;
    const std::string report = dueAtReport(browser, page, exportLoadWait, request);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int joinWeeksToFile(const StartOptions::WeekRange& weeks, const QString& fileName, const QUrl& page,
                    const Clock& clock) {
    WebEngineBrowserHost browser;
    // Pages that are slow to answer are waited for, within bounds.
    browser.setAnswerTimeout(weekAnswerWait);
    joinWeeks(browser, {page, weeks.first, weeks.last, fileName, exportLoadWait}, clock,
              [](const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    return 0;
}

// The page a run starts on; a pass asks about its own moment's week.
QUrl startPage(const CalendarServer& calendar, const StartOptions& options) {
    return QUrl(options.dueAt ? calendar.weekUrl(options.dueAt->today) : calendar.url());
}

int run(NewsbellApplication& application) {
    const StartOptions options = parseStartOptions(application.arguments());
    SystemClock clock;
    // Without an address or a feed the program serves its own demonstration calendar.
    CalendarServer demoCalendar(clock);
    std::unique_ptr<CalendarFeed> feed;
    QUrl page;
    if (options.calendarUrl) {
        page = *options.calendarUrl;
    } else if (options.calendarFeed) {
        feed = std::make_unique<CalendarFeed>(options, clock);
        if (options.headless()) {
            printReport(feedReadReport(feed->firstRead()));
            if (!feed->hasCopy()) return 1;
        }
        page = startPage(feed->server(), options);
    } else {
        demoCalendar.start();
        page = startPage(demoCalendar, options);
    }
    if (options.weeks) return joinWeeksToFile(*options.weeks, *options.exportFile, page, clock);
    if (options.exportFile) return exportToFile(*options.exportFile, page, clock);
    if (options.dueAt) return printDueAlerts(*options.dueAt, page);
    return showWindow(application, page, clock, feed.get());
}

} // namespace

int runNewsbell(int argc, char** argv) {
    prepareWebEngineProcess();
    // Exports and passes run from scripts and cron, where no display may exist.
    if (runsWithoutWindow(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    NewsbellApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Newsbell"));
    try {
        return run(application);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "newsbell: %s\n", failure.what());
        return 1;
    }
}

} // namespace newsbell
