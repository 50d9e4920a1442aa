#pragma once

#include "browser/BrowserHost.h"
#include "core/AlertPass.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QUrl>
#include <chrono>
#include <optional>
#include <string>

namespace newsbell {

// One alert pass without a window, for scripts and cron: the moment it is run for and the
// settings the window's fields would hold.
struct DueAtRequest {
    QDate today;
    QTime now;
    AlertSettings settings;
};

// The command line's words for a pass: moment "YYYY-MM-DD HH:MM:SS"; lead "H:MM" (Edit3 and
// Edit1), after "M" (Edit4), currencies "EUR,USD" and importances "1,3" (exactly the boxes
// ticked); what is left out keeps the window's initial value. Settings are checked as the
// window checks its fields and must read as the times the pass reads them as. Throws Error
// with the reason.
DueAtRequest readDueAtRequest(const QString& moment, const std::optional<QString>& lead,
                              const std::optional<QString>& after,
                              const std::optional<QString>& currencies,
                              const std::optional<QString>& importances);

// Loads page as the export does and runs one pass at the request's moment. Returns what the
// command prints, in UTF-8: the status line of the last due row (empty when none was due), then
// one line per message in table order, each line ending "\n". Throws Error when the page fails.
std::string dueAtReport(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait,
                        const DueAtRequest& request);

} // namespace newsbell
