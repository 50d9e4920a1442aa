#pragma once

#include "base/Clock.h"
#include "base/DateText.h"
#include "core/EventTable.h"

#include <QDate>
#include <QString>
#include <QTimer>
#include <chrono>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace newsbell {

// The calendar page as a week run uses it.
class WeekPage {
public:
    virtual ~WeekPage() = default;
    // The page text (cp1251) of the document now loaded.
    virtual std::string bodyHtml() = 0;
    // Runs JavaScript in the page. The page answers a week script by loading that week, which
    // ends in a download-complete notification.
    virtual void runScript(const QString& code) = 0;
    // How long from now a week script must wait so that the browser lets its load through.
    virtual std::chrono::milliseconds navigationDelay() const { return {}; }
};

// What a run shows as it goes: the window puts it into its controls, the command line onto
// standard error.
class WeekRunListener {
public:
    virtual ~WeekRunListener() = default;
    // The first and last Monday of a new run are set.
    virtual void rangeSet() = 0;
    // The page is about to be asked for the week of monday.
    virtual void weekRequested(QDate monday) = 0;
    // The file now holds file; its first unchanged bytes are those it held before. An output
    // that cannot be rewritten (standard output, a FIFO, a device) gets it when the run ends.
    virtual void fileWritten(std::string_view file, size_t unchanged) = 0;
    // A week is being processed (true) or done with (false); a new start waits meanwhile.
    virtual void busyChanged(bool busy) = 0;
    // The last week is in the file; the run is over.
    virtual void runFinished() = 0;
    // A week asked for later, when the browser lets it through, failed: its script, or the
    // week that loaded while the script ran. The run stalls, as after a failing notification.
    virtual void weekFailed(const std::exception& failure) = 0;
};

// A week-range run: asks the calendar page for one week after the other through the page's own
// script functions, appends each loaded week's events to table (numbering on) and rewrites the
// file after every week, so that it is whole whenever the run stops. One implementation for the
// week window and the command line.
//
// The run ends when the loaded page's date is the last Monday, and the next week is counted from
// the Monday last requested, not from the date the page reported; the window shows the Mondays
// in the label format ("8.3.2010"). Two mends keep a run in bounds: it also ends after the week
// whose requested Monday is the last one (a page that reports another date would otherwise
// never end it), and while a week is processed further download notifications and starts are
// ignored (the extraction lets the window work meanwhile). A week the browser would not let
// through yet (it stops pages that navigate too often) is asked for as soon as it would; a
// download notification before then is no week of the run, and a stop drops the request.
class WeekRun {
public:
    WeekRun(WeekPage& page, EventTable& table, WeekRunListener& listener, const Clock& clock);

    // Called once per event while a week is read, so that a window stays responsive.
    void setProcessEvents(std::function<void()> processEvents) {
        processEvents_ = std::move(processEvents);
    }

    // A document has loaded: while no run is on, the page's date picker is set up.
    void documentComplete();
    // Starts a run from the Monday of first's week to that of last's (swapped when later),
    // written to fileName, and requests the first week. The file is first written when that
    // week has loaded, and not touched before; an output that cannot be rewritten (standard
    // output "-", a FIFO, a device) is written once, when the last week has loaded. Ignored
    // while a week is processed.
    void start(QDate first, QDate last, const QString& fileName);
    // Ends the run; a week being processed is finished, and the next one still requested.
    void stop() { running_ = false; }
    // A download has completed: while a run is on, the loaded week is read, appended and
    // written, and then the run ends or the next week is requested.
    void downloadComplete();
    // A row already in the file was changed by hand: the next week writes the file anew from
    // the whole table instead of adding to it.
    void tableEdited() { fileStale_ = true; }

    bool running() const { return running_; }
    bool busy() const { return busy_; }
    std::string firstLabel() const { return formatDate(first_, labelDateFormat); }
    std::string lastLabel() const { return formatDate(last_, labelDateFormat); }
    std::string requestedLabel() const { return formatDate(requested_, labelDateFormat); }
    QDate firstMonday() const { return first_; }
    QDate lastMonday() const { return last_; }
    // Progress: the requested week's place in the run, from 1, and the run's length in weeks.
    int requestedWeek() const { return int(first_.daysTo(requested_) / 7) + 1; }
    int weekCount() const { return int(first_.daysTo(last_) / 7) + 1; }
    // The weeks of this run the file holds now (an output written once holds none before the
    // end).
    int weeksInFile() const { return weeksInFile_; }
    const std::string& fileBytes() const { return fileBytes_; }

private:
    class Busy;
    void processWeeks();
    // Reads, appends and writes the loaded week; true when it was the last.
    bool processWeek();
    void writeFile(bool lastWeek);
    void requestWeek(QDate monday);
    // Runs the requested week's script, or puts it off while the browser would drop its load.
    void askForWeek();
    void paceElapsed();
    int currentYear() const { return clock_.now().date().year(); }

    WeekPage& page_;
    EventTable& table_;
    WeekRunListener& listener_;
    const Clock& clock_;
    std::function<void()> processEvents_;

    bool running_ = false;    // ProcessRunning
    bool busy_ = false;       // a week is processed, or the page asked for one
    bool requesting_ = false; // the page runs a week script
    bool deferred_ = false;   // the requested week loaded while the page ran its script
    QDate first_, last_, requested_;
    QTimer paced_; // runs the requested week's script once the browser lets its load through

    QString fileName_;
    bool streamed_ = false; // fileName_ is written once, at the end
    std::string fileBytes_; // what the file holds, kept so that earlier weeks are not redone
    int rowsInFile_ = 1;    // table rows up to here are in fileBytes_
    int weeksJoined_ = 0;   // weeks in fileBytes_
    int weeksInFile_ = 0;
    bool fileStale_ = false;
};

} // namespace newsbell
