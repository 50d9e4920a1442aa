#include "headless/DueAtRun.h"

#include "base/Convert.h"
#include "base/Cp1251.h"
#include "base/Error.h"
#include "headless/WeekExport.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

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

// Ticks exactly the boxes whose values the comma-separated list names; an empty list ticks none.
template <size_t N>
std::array<bool, N> readTicks(const QString& list, const std::array<std::string_view, N>& values,
                              const char* option) {
    std::array<bool, N> ticked{};
    if (list.trimmed().isEmpty()) return ticked;
    for (const QString& item : list.split(QLatin1Char(','))) {
        const std::string value = item.trimmed().toUpper().toStdString();
        const auto found = std::find(values.begin(), values.end(), value);
        if (found == values.end()) {
            QStringList names;
            for (std::string_view name : values) names << QString::fromLatin1(name);
            fail(QString::fromUtf8("%1: нет такого значения (есть %2): %3")
                     .arg(QLatin1String(option), names.join(QLatin1Char(',')), item));
        }
        ticked[size_t(found - values.begin())] = true;
    }
    return ticked;
}

void readMoment(const QString& moment, DueAtRequest& request) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch parts = form.match(moment);
    if (parts.hasMatch()) {
        const auto number = [&parts](int i) { return parts.captured(i).toInt(); };
        request.today = QDate(number(1), number(2), number(3));
        request.now = QTime(number(4), number(5), number(6));
    }
    if (!request.today.isValid() || !request.now.isValid())
        fail(QString::fromUtf8("--due-at: момент должен иметь вид ГГГГ-ММ-ДД ЧЧ:ММ:СС: ") + moment);
}

} // namespace

DueAtRequest readDueAtRequest(const QString& moment, const std::optional<QString>& lead,
                              const std::optional<QString>& after,
                              const std::optional<QString>& currencies,
                              const std::optional<QString>& importances) {
    DueAtRequest request;
    readMoment(moment, request);
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
