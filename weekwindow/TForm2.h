#pragma once

#include "base/Color.h"
#include "browser/BrowserHost.h"
#include "weeks/WeekRun.h"
#include "widgets/Desktop.h"
#include "widgets/ErrorReporter.h"

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>

class QAction;
class QCalendarWidget;
class QLabel;
class QMenu;
class QPushButton;
class QStackedLayout;

namespace newsbell {

class EventGrid;
class FileMemo;

inline constexpr TColor topBandColour = 10813439; // red 255, green 255, blue 164
inline constexpr TColor memoBandColour = 9109445; // red 197, green 255, blue 138

// The week window's browser, made when the window is first shown; the window takes it over.
using BrowserMaker = std::function<BrowserHost*()>;

// "остановлено: в файле 3 недели из 41": a run stopped before its end, with the weeks the
// file holds.
QString stoppedRunText(int weeksInFile, int weekCount);

// The week-range window: the user sets the calendar page up by hand, picks the first and the
// last week on the two month calendars and starts a run, which joins the weeks' events into one
// table text file (WeekRun). Created hidden with the main window; its browser, and with it the
// browser's page process, comes with the first show, which sends it to the calendar page.
// Closing the window hides it and stops the run, keeping what it shows. Controls carry their
// names from the window definition (also as object names); handlers are named after their
// control and event.
class TForm2 final : public QMainWindow, private WeekRunListener, private WeekPage {
    Q_OBJECT
public:
    // Placed centred on mainWindow; the browser that makeBrowser gives at the first show goes to
    // calendarPage.
    TForm2(BrowserMaker makeBrowser, const Desktop& desktop, ErrorReporter& errors,
           const QUrl& calendarPage, QWidget* mainWindow = nullptr);
    ~TForm2() override;

    void WebBrowser1DocumentComplete();
    void WebBrowser1DownloadComplete();
    void Button1Click();
    void Button2Click();
    void N2Click();
    void N3Click();

    bool ProcessRunning() const { return run_->running(); }
    const WeekRun& run() const { return *run_; }
    // Sends the browser to page, for the extras beside the window; the browser stays inside.
    // Before the first show, page is where the browser will go.
    void showPage(const QUrl& page);
    // Puts line (one line of text: where the data come from) right above the table.
    void addSourceLine(QWidget* line);

    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* WeekProgress = nullptr; // "неделя k из N" beside Label11
    QCalendarWidget* MonthCalendar1 = nullptr;
    QCalendarWidget* MonthCalendar2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QWidget* Panel5 = nullptr;
    EventGrid* StringGrid1 = nullptr;
    FileMemo* Memo1 = nullptr;
    QMenu* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const QUrl& calendarPage);
    void FormClose();
    QWidget* buildTopBand();
    QWidget* buildInstructions();
    QWidget* buildRunControls();
    QWidget* buildBrowserArea();
    QWidget* buildMemoBand();
    void buildMenu();
    void connectHandlers();
    void makeBrowser();
    void placeOver(QWidget* mainWindow);
    void updateButton1();
    void stopRun();
    void showProgress();
    void pageFailed(const LoadFailure& failure);

    std::string bodyHtml() override;
    void runScript(const QString& code) override;

    void rangeSet() override;
    void weekRequested(QDate monday) override;
    void fileWritten(std::string_view file, size_t unchanged) override;
    void busyChanged(bool busy) override;
    void runFinished() override;
    void weekFailed(const std::exception& failure) override { errors_.report(failure); }

    BrowserHost* WebBrowser1 = nullptr; // none before the first show
    BrowserMaker makeBrowser_;
    QStackedLayout* browserArea_ = nullptr; // the browser under Panel5
    QUrl calendarPage_;
    Desktop desktop_;
    ErrorReporter& errors_;
    QString saveDialogStart_;      // SaveDialog1's initial directory: the program's own file
    std::unique_ptr<WeekRun> run_; // made once StringGrid1, whose table it fills, exists
    bool documentLoaded_ = false;
    bool stopped_ = false; // the run was stopped before its last week
    QString failureTold_;  // told once, until a page loads
};

} // namespace newsbell
