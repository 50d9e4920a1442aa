#include "app/gui/Startup.h"

#include "app/browser/WebEngineBrowserHost.h"
#include "app/browser/WebEngineSetup.h"
#include "app/gui/NewsbellApplication.h"
#include "app/gui/StartOptions.h"
#include "app/gui/TForm1.h"
#include "app/gui/WeekExport.h"
#include "calendar/CalendarServer.h"
#include "weeks/TForm2.h"
#include "weeks/WeekJoin.h"

#include <cstdio>

namespace newsbell {

namespace {

constexpr std::chrono::seconds exportLoadWait{60};
constexpr std::chrono::seconds weekAnswerWait{30};

int showWindow(NewsbellApplication& application, const QUrl& page, const Clock& clock) {
    QtMessageSink messages;
    QtLinkOpener links;
    QtFileChooser files;
    ErrorReporter errors(messages);
    application.setErrorReporter(&errors);
    const Desktop desktop{messages, links, files, clock};
    TForm1 form(new WebEngineBrowserHost, desktop, errors, page);
    // Created hidden right after the main window, so that its page loads meanwhile.
    TForm2 weekWindow(new WebEngineBrowserHost, desktop, errors, page, &form);
    form.setWeekWindow(&weekWindow);
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

int joinWeeksToFile(const StartOptions::WeekRange& weeks, const QString& fileName, const QUrl& page,
                    const Clock& clock) {
    WebEngineBrowserHost browser;
    // Pages that are slow to answer are waited for, within bounds.
    browser.setAnswerTimeout(weekAnswerWait);
    joinWeeks(browser, {page, weeks.first, weeks.last, fileName, exportLoadWait}, clock,
              [](const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    return 0;
}

int run(NewsbellApplication& application) {
    const StartOptions options = parseStartOptions(application.arguments());
    SystemClock clock;
    // Without an address the program serves its own demonstration calendar.
    CalendarServer demoCalendar(clock);
    QUrl page;
    if (options.calendarUrl) {
        page = *options.calendarUrl;
    } else {
        demoCalendar.start();
        page = QUrl(demoCalendar.url());
    }
    if (options.weeks) return joinWeeksToFile(*options.weeks, *options.exportFile, page, clock);
    if (options.exportFile) return exportToFile(*options.exportFile, page, clock);
    return showWindow(application, page, clock);
}

} // namespace

int runNewsbell(int argc, char** argv) {
    prepareWebEngineProcess();
    // An export runs from scripts and cron, where no display may exist.
    if (asksForExport(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
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
