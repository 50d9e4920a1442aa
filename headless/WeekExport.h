#pragma once

#include "browser/BrowserHost.h"
#include "core/EventTable.h"

#include <QString>
#include <QUrl>
#include <chrono>

namespace newsbell {

// Sends browser to page and waits for the load, at most loadWait. Throws Error when the page
// does not load in time or the browser shows its error page instead.
void loadCalendarPage(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait);

// Loads page as loadCalendarPage() does and reads the week's events into a fresh table the way the
// extraction command does. Throws Error when the page does not load or cannot be read.
EventTable loadWeekTable(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait,
                         int currentYear);

// Loads the week as loadWeekTable() does and writes its table text file to fileName as
// writeFileAtomically() does ("-" is standard output). A folder, or a name whose folder does
// not exist, is refused before the page is loaded; when the page fails, the file is untouched.
void exportWeek(BrowserHost& browser, const QUrl& page, const QString& fileName,
                std::chrono::milliseconds loadWait, int currentYear);

} // namespace newsbell
