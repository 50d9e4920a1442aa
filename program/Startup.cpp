#include "program/Startup.h"

#include "browser/WebEngineBrowserHost.h"
#include "browser/WebEngineSetup.h"
#include "calendar/CalendarServer.h"
#include "headless/GateAtRun.h"
#include "headless/WeekExport.h"
#include "headless/WeekJoin.h"
#include "mainwindow/TForm1.h"
#include "program/CalendarFeed.h"
#include "program/CalendarSource.h"
#include "program/DataSourceItem.h"
#include "program/Ending.h"
#include "program/KeptSettings.h"
#include "program/MainWindowTray.h"
#include "program/NewsbellApplication.h"
#include "program/RobotFiles.h"
#include "program/RobotFilesItem.h"
#include "program/SettingsFile.h"
#include "program/StartOptions.h"
#include "weekwindow/TForm2.h"
#include "widgets/BellSound.h"
#include "widgets/ElidedLabel.h"

#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

namespace newsbell {

namespace {

constexpr std::chrono::seconds exportLoadWait{60};
constexpr std::chrono::seconds weekAnswerWait{30};
// From the window's end to the process's.
constexpr std::chrono::milliseconds quitWait{1500};

// One of the program's own lines on standard error.
void tellUser(const QString& line) {
    std::fprintf(stderr, "newsbell: %s\n", line.toUtf8().constData());
}

// Where the trader's settings are kept; nothing with --no-settings or when the file is refused.
// What the user must know about the file goes to notice.
std::unique_ptr<KeptSettings> keptSettings(const StartOptions& options, QString& notice) {
    if (options.noSettings) return nullptr;
    OpenedSettings opened = openSettingsFile(settingsFilePath());
    notice = opened.notice;
    if (!opened.store) return nullptr;
    return std::make_unique<KeptSettings>(std::move(opened.store), tellUser);
}

// The calendar the windows start on: the page or the feed of the command line, else the source
// kept from the last run (whose other fields the dialog offers all the same).
CalendarSource::Calendar startCalendar(const StartOptions& options, DataSource kept,
                                       std::shared_ptr<CalendarFeed> feed,
                                       const DataSourceDialog::FeedMaker& makeFeed) {
    if (options.calendarUrl) {
        kept.kind = DataSource::Page;
        kept.page = *options.calendarUrl;
        return {kept, nullptr};
    }
    if (feed) {
        const FeedSettings& settings = feed->settings();
        kept.kind = DataSource::Feed;
        kept.feed = feedSource(settings.source);
        kept.feedZone = QString::fromUtf8(settings.zones.feed.id());
        kept.tableZone =
            options.timeZone ? QString::fromUtf8(settings.zones.local.id()) : QString();
        return {kept, std::move(feed)};
    }
    return {kept, kept.kind == DataSource::Feed ? makeFeed(kept) : nullptr};
}

// A line about the data source, for either window: the beginning when it is too long, the whole
// in its hint.
ElidedLabel* sourceLine() {
    auto* line = new ElidedLabel;
    line->setObjectName(QStringLiteral("SourceLine"));
    line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    line->setContentsMargins(4, 1, 4, 1);
    return line;
}

int showWindow(NewsbellApplication& application, const StartOptions& options,
               const CalendarSource::DemoPage& demoPage, const Clock& clock,
               std::shared_ptr<CalendarFeed> feed) {
    QString settingsNotice;
    const std::unique_ptr<KeptSettings> settings = keptSettings(options, settingsNotice);
    QtMessageSink messages;
    QtLinkOpener links;
    QtFileChooser dialog;
    // Each window's save dialog starts where that window last saved.
    std::optional<FolderKeepingFileChooser> mainFiles, weekFiles;
    if (settings) {
        mainFiles.emplace(dialog, *settings, QStringLiteral("mainWindow"));
        weekFiles.emplace(dialog, *settings, QStringLiteral("weekWindow"));
    }
    FileChooser& mainChooser = mainFiles ? static_cast<FileChooser&>(*mainFiles) : dialog;
    FileChooser& weekChooser = weekFiles ? static_cast<FileChooser&>(*weekFiles) : dialog;
    BellSound sound(&QApplication::beep);
    ErrorReporter errors(messages);
    application.setErrorReporter(&errors);
    if (!settingsNotice.isEmpty()) { // in the window once it is up, and on standard error
        tellUser(settingsNotice);
        QTimer::singleShot(0, &application, [&] { errors.report(settingsNotice); });
    }

    const DataSourceDialog::FeedMaker makeFeed = [&clock](const DataSource& choice) {
        return std::make_shared<CalendarFeed>(feedSettings(choice), clock,
                                              CalendarFeed::ReadByWindow);
    };
    const CalendarSource::Calendar calendar = startCalendar(
        options, settings ? settings->dataSource() : DataSource(), std::move(feed), makeFeed);
    const QUrl page = CalendarSource::pageOf(calendar, demoPage);

    auto* mainBrowser = new WebEngineBrowserHost; // the window's; the feed follows its pages
    TForm1 form(mainBrowser, Desktop{messages, links, mainChooser, clock, sound}, errors, page);
    // Created hidden right after the main window; its browser comes with its first show, so
    // that start-up pays for one browser.
    TForm2 weekWindow([] { return new WebEngineBrowserHost; },
                      Desktop{messages, links, weekChooser, clock, sound}, errors, page, &form);
    form.setWeekWindow(&weekWindow);
    ElidedLabel* mainLine = sourceLine();
    form.addSourceLine(mainLine);
    ElidedLabel* weekLine = sourceLine();
    weekWindow.addSourceLine(weekLine);
    CalendarSource source(calendar, demoPage,
                          {[&](const QUrl& shown) { form.showPage(shown); }, mainLine, {}},
                          {[&](const QUrl& shown) { weekWindow.showPage(shown); }, weekLine,
                           [&] { return weekWindow.ProcessRunning(); }},
                          *mainBrowser, errors);

    if (settings) {
        settings->keepMainWindow(form);
        settings->keepWeekWindow(weekWindow);
        QObject::connect(settings.get(), &KeptSettings::notSaved, &form,
                         [&errors](const QString& message) { errors.report(message); });
    }
    TrayIcon tray(form, trayCommands(form), QSystemTrayIcon::isSystemTrayAvailable());
    NextEventTip nextEvent(form, *mainBrowser, tray, clock);
    QtOpenFileChooser feedFiles;
    DataSourceItem sourceItem(form, source, makeFeed, feedFiles, errors, settings.get());
    QtFolderChooser folderDialog;
    RobotFilesWriter robotFiles(form, clock, errors);
    if (settings) robotFiles.setSettings(settings->robotFiles());
    RobotFilesItem robotFilesItem(form, folderDialog, robotFiles, settings.get());

    closeOnTermination(form);
    form.show();
    const int status = application.exec();
    application.setErrorReporter(nullptr);
    if (settings) settings->save();
    // Nothing that is left to do is worth a wait: a read of the feed may still be connecting.
    endWithin(quitWait, status);
    return status;
}

int exportToFile(const QString& fileName, const QUrl& page, const Clock& clock) {
    WebEngineBrowserHost browser;
    exportWeek(browser, page, fileName, exportLoadWait, clock.now().date().year());
    return 0;
}

// Without a window the feed's problems go to standard error, line by line.
void printReport(const QString& report) {
    for (const QString& line : report.split(u'\n', Qt::SkipEmptyParts)) tellUser(line);
}

// Prints only once the whole pass has succeeded, so that a failure leaves standard output empty.
int printDueAlerts(const DueAtRequest& request, const QUrl& page) {
    WebEngineBrowserHost browser;
    const std::string report = dueAtReport(browser, page, exportLoadWait, request);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// The gate's lines, printed only once the week is read, like the pass.
int printGate(const GateAtRequest& request, const QUrl& page) {
    WebEngineBrowserHost browser;
    const std::string report = gateAtReport(browser, page, exportLoadWait, request);
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

// The page a run starts on; a pass or the gate asks about its own moment's week.
QUrl startPage(const CalendarServer& calendar, const StartOptions& options) {
    if (options.dueAt) return QUrl(calendar.weekUrl(options.dueAt->today));
    if (options.gateAt) return QUrl(calendar.weekUrl(options.gateAt->today));
    return QUrl(calendar.url());
}

int run(NewsbellApplication& application, const StartOptions& options) {
    // Never destroyed: a read of a feed that the window dropped may still end after the run.
    static const Clock& clock = *new SystemClock;
    CalendarServer demoCalendar(clock);
    std::shared_ptr<CalendarFeed> feed;
    if (options.calendarFeed) {
        feed = std::make_shared<CalendarFeed>(options, clock);
        if (options.headless()) {
            printReport(feedReadReport(feed->firstRead()));
            if (!feed->hasCopy()) return 1;
        }
    }
    // The demonstration starts when it is first needed.
    const auto demo = [&]() -> const CalendarServer& {
        if (!demoCalendar.isRunning()) demoCalendar.start();
        return demoCalendar;
    };
    if (!options.headless())
        return showWindow(
            application, options, [&] { return QUrl(demo().url()); }, clock, feed);

    const QUrl page = options.calendarUrl ? *options.calendarUrl
                                          : startPage(feed ? feed->server() : demo(), options);
    if (options.weeks) return joinWeeksToFile(*options.weeks, *options.exportFile, page, clock);
    if (options.exportFile) return exportToFile(*options.exportFile, page, clock);
    if (options.gateAt) return printGate(*options.gateAt, page);
    return printDueAlerts(*options.dueAt, page);
}

} // namespace

int runNewsbell(int argc, char** argv) {
    // Read before the application object exists: exports and passes run from scripts and cron,
    // where no display may exist and standard error is for the program's own lines.
    StartOptions options;
    try {
        options = readCommandLine(argc, argv);
    } catch (const std::exception& problem) {
        tellUser(QString::fromUtf8(problem.what()));
        return 1;
    }
    // Answered before anything starts, so that they need neither a display nor a browser.
    if (options.answer) {
        std::fputs(options.answer->c_str(), stdout);
        return 0;
    }
    prepareWebEngineProcess(options.headless() && !options.verbose);
    if (options.headless() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // It takes Qt's own options out of the command line, which the options above passed over.
    NewsbellApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Newsbell"));
    QApplication::setApplicationVersion(QStringLiteral(NEWSBELL_VERSION));
    try {
        return run(application, options);
    } catch (const std::exception& failure) {
        tellUser(QString::fromUtf8(failure.what()));
        return 1;
    }
}

} // namespace newsbell
