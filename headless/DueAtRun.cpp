#include "headless/DueAtRun.h"

#include "base/Convert.h"
#include "base/Cp1251.h"
#include "base/Error.h"
#include "headless/RunWords.h"
#include "headless/WeekExport.h"

#include <QStringList>

namespace newsbell {

namespace {

[[noreturn]] void fail(const QString& problem) {
    throw Error(problem.toStdString());
}

// A field's text as the window would take it: its check first, then the time the pass reads.
std::string checkedField(const QString& text, const FieldRule& rule) {
    const std::string field = toCp1251(text);
    if (breaksRule(field, rule)) throw Error(rule.message);
    return field;
}

} // namespace

DueAtRequest readDueAtRequest(const QString& moment, const std::optional<QString>& lead,
                              const std::optional<QString>& after,
                              const std::optional<QString>& currencies,
                              const std::optional<QString>& importances) {
    DueAtRequest request;
    readMoment(moment, "--due-at", request.today, request.now);
    AlertSettings& settings = request.settings;
    if (lead) {
        const QStringList parts = lead->split(QLatin1Char(':'));
        if (parts.size() != 2)
            fail(QString::fromUtf8("--lead: нужны часы и минуты вида Ч:ММ: ") + *lead);
        settings.leadHours = checkedField(parts[0], leadHoursRule);
        settings.leadMinutes = checkedField(parts[1], leadMinutesRule);
        strToTime(leadWindowText(settings));
    }
    if (after) {
        settings.afterMinutes = checkedField(*after, afterMinutesRule);
        strToTime(afterWindowText(settings));
    }
    if (currencies) settings.currencies = readTicks(*currencies, alertCurrencies, "--currencies");
    if (importances)
        settings.importances = readTicks(*importances, alertImportances, "--importance");
    return request;
}

std::string dueAtReport(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait,
                        const DueAtRequest& request) {
    const EventTable table = loadWeekTable(browser, page, loadWait, request.today.year());
    std::string statusLine, messages;
    runAlertPass(table, request.settings, request.today, request.now, [&](const DueAlert& alert) {
        statusLine = alert.statusLine;
        messages += cp1251ToUtf8(alert.message) + "\n";
    });
    return cp1251ToUtf8(statusLine) + "\n" + messages;
}

} // namespace newsbell
