#include "tests/support/WeekPages.h"

#include "base/DateText.h"

#include <QRegularExpression>
#include <QTime>

namespace newsbell::testing {

namespace {

QDate eventDay(QDate monday, int event) {
    return monday.addDays((event - 1) / 2);
}

std::string eventTime(int event) {
    return QTime(8, 0).addSecs(event * 600).toString(QStringLiteral("hh:mm")).toStdString();
}

} // namespace

std::string legacyWeekPage(QDate monday, int events, QDate pageDate) {
    const QDate reported = pageDate.isValid() ? pageDate : monday;
    std::string page = "<DIV id=nav><A href=\"/e_cal.php?duration=weekly&amp;year=" +
                       std::to_string(reported.year()) +
                       "\">Week</A><INPUT id=eco_date_full_date value=" +
                       reported.toString(QStringLiteral("ddMMyyyy")).toStdString() +
                       " type=hidden></DIV>\n<TABLE><TBODY>\n";
    for (int i = 1; i <= events; ++i) {
        const QDate day = eventDay(monday, i);
        const bool firstOfDay = i == 1 || eventDay(monday, i - 1) != day;
        const std::string date = firstOfDay ? std::string(pageMonthNames[size_t(day.month() - 1)]) +
                                                  " " + std::to_string(day.day())
                                            : "&nbsp;";
        const std::string n = std::to_string(i);
        page += "<TR><TD class=ec_td_date noWrap>" + date + "</TD><TD class=ec_td_time>" +
                eventTime(i) +
                "</TD><TD class=ec_td_currency>USD</TD><TD><SPAN class=ec_importance" +
                std::to_string(i % 3 + 1) +
                "></SPAN></TD><TD><A class=ec_b_11 href=\"javascript:slide(" + n + ")\">Index " +
                n + "</A></TD><TD class=ec_td_actual noWrap><SPAN>" + n +
                ".1</SPAN></TD><TD class=ec_td_forecast noWrap>" + n +
                ".2</TD><TD class=ec_td_previous noWrap><SPAN>" + n +
                ".3</SPAN></TD><TD class=ec_td_after_previous>&nbsp;</TD></TR>\n";
    }
    return page + "</TBODY></TABLE>";
}

QDate askedWeek(const QString& code) {
    static const QRegularExpression call(
        QStringLiteral("CP_tmpReturnFunction\\((\\d+),(\\d+),(\\d+)\\)"));
    const QRegularExpressionMatch date = call.match(code);
    if (!date.hasMatch()) return {};
    return mondayOf(
        QDate(date.captured(1).toInt(), date.captured(2).toInt(), date.captured(3).toInt()));
}

std::string expectedWeekText(QDate monday, int events, const std::vector<int>& keptEvents) {
    std::vector<int> kept = keptEvents;
    if (kept.empty())
        for (int i = 1; i <= events; ++i) kept.push_back(i);
    std::string text;
    for (int i : kept) {
        const QDate day = eventDay(monday, i);
        const std::string n = std::to_string(i);
        text += day.toString(QStringLiteral("yyyy.MM.dd")).toStdString() + ";" +
                std::to_string(day.dayOfWeek() % 7) + ";" + eventTime(i) + ";USD;" +
                std::to_string(i % 3 + 1) + "; Index " + n + ";" + n + ".1;" + n + ".2;" + n +
                ".3\r\n";
    }
    return text;
}

} // namespace newsbell::testing
