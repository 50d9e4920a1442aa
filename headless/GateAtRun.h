#pragma once

#include "browser/BrowserHost.h"
#include "core/NewsGate.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QUrl>
#include <chrono>
#include <optional>
#include <string>

namespace newsbell {

// The news gate without a window, for scripts, cron and checks: the moment and what counts.
struct GateAtRequest {
    QDate today;
    QTime now;
    GateSettings settings;
};

// The command line's words for the gate: moment "YYYY-MM-DD HH:MM:SS"; before and after whole
// minutes from 0 to 1440; importances "1,3" and currencies "EUR,USD" (exactly those counted);
// what is left out keeps the gate's default. Throws Error with the reason.
GateAtRequest readGateAtRequest(const QString& moment, const std::optional<QString>& before,
                                const std::optional<QString>& after,
                                const std::optional<QString>& currencies,
                                const std::optional<QString>& importances);

// Loads page as the export does and returns the gate at the request's moment: the lines of the
// gate file in UTF-8, each ending "\n". Throws Error when the page fails.
std::string gateAtReport(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait,
                         const GateAtRequest& request);

} // namespace newsbell
