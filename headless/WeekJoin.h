#pragma once

#include "base/Clock.h"
#include "browser/BrowserHost.h"

#include <QDate>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>

namespace newsbell {

struct WeekJoinOptions {
    QUrl page;   // the calendar page first opened
    QDate first; // any day of the first week
    QDate last;  // any day of the last week
    QString fileName;
    std::chrono::milliseconds loadWait{60000}; // for the page and for each week
};

// A week-range join without a window, for scripts and cron: the week window's run (WeekRun) on
// browser. The page is opened and set up as the window does; the run then requests the weeks
// through the page's script functions, from the first Monday on. progress hears "week k of N"
// as each week is requested. Throws Error when something fails, a page does not load within
// loadWait included; the file then holds exactly the weeks completed before, or, when none was,
// what it held before the join (no file when there was none). An output that cannot be
// rewritten as the weeks come (standard output "-", a FIFO, a device) gets the whole join once,
// at its end, and nothing when it fails.
void joinWeeks(BrowserHost& browser, const WeekJoinOptions& options, const Clock& clock,
               const std::function<void(const QString&)>& progress);

} // namespace newsbell
