#pragma once

#include "app/browser/BrowserHost.h"

#include <QString>
#include <QUrl>
#include <chrono>

namespace newsbell {

// Sends browser to page and waits for the load, at most loadWait. Throws Error when the page does
// not load in time or the load ends on the browser's error page.
void loadCalendarPage(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait);

// Loads page in browser, waits for the load (at most loadWait), reads the week's events the
// way the extraction command does and replaces fileName with their table text file. Throws
// Error when the page does not load in time or cannot be read; the file is then untouched.
void exportWeek(BrowserHost& browser, const QUrl& page, const QString& fileName,
                std::chrono::milliseconds loadWait, int currentYear);

} // namespace newsbell
