#include "headless/GateAtRun.h"

#include "base/Cp1251.h"
#include "base/Error.h"
#include "headless/RunWords.h"
#include "headless/WeekExport.h"

#include <QRegularExpression>

namespace newsbell {

namespace {

int readMinutes(const QString& text, const char* option) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,4}$"));
    if (!digits.match(text).hasMatch() || text.toInt() > longestGateWindow)
        throw Error(QString::fromUtf8("%1: нужно целое число минут от 0 до %2: %3")
                        .arg(QLatin1String(option))
                        .arg(longestGateWindow)
                        .arg(text)
                        .toStdString());
    return text.toInt();
}

} // namespace

GateAtRequest readGateAtRequest(const QString& moment, const std::optional<QString>& before,
                                const std::optional<QString>& after,
                                const std::optional<QString>& currencies,
                                const std::optional<QString>& importances) {
    GateAtRequest request;
    readMoment(moment, "--gate-at", request.today, request.now);
    GateSettings& settings = request.settings;
    if (before) settings.beforeMinutes = readMinutes(*before, "--before");
    if (after) settings.afterMinutes = readMinutes(*after, "--after");
    if (currencies) settings.currencies = readTicks(*currencies, alertCurrencies, "--currencies");
    if (importances)
        settings.importances = readTicks(*importances, alertImportances, "--importance");
    return request;
}

std::string gateAtReport(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait,
                         const GateAtRequest& request) {
    const EventTable table = loadWeekTable(browser, page, loadWait, request.today.year());
    std::string report;
    for (const std::string& line : gateLines(table, request.settings, request.today, request.now))
        report += cp1251ToUtf8(line) + "\n";
    return report;
}

} // namespace newsbell
