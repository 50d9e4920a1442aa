#include "calendar/WeekPage.h"

#include "base/DateText.h"

#include <array>

namespace newsbell {
namespace {

// The page's own functions, as the provider's date picker offers them: the week window sets the
// picker up and hands it a date; an empty date only closes the picker, so the window's set-up
// script does not reload the page for ever.
constexpr const char* pageScript = R"js(
var CP_targetInput = null;
var CP_duration = 'weekly';
function CP_change_time(duration) { CP_duration = duration; }
function CP_hideCalendar(which) {
    var picker = document.getElementById('CP_calendar' + which);
    if (picker) picker.style.display = 'none';
}
function CP_tmpReturnFunction(y, m, d) {
    if (y === '' || y === undefined) return;
    function two(n) { return (n < 10 ? '0' : '') + Number(n); }
    location.href = '/e_cal.php?duration=' + encodeURIComponent(CP_duration) +
        '&timezone_panel=show&week=' + Number(y) + '-' + two(m) + '-' + two(d);
}
)js";

constexpr const char* pageStyle = R"css(
body { font: 12px Arial, sans-serif; margin: 8px; background: #fff; }
.demo_banner { background: #fff3b0; border: 2px solid #e0a800; padding: 8px; margin-bottom: 8px;
    font-size: 14px; font-weight: bold; }
.feed_banner { background: #e3efff; border: 2px solid #5b8fd6; padding: 8px; margin-bottom: 8px;
    font-size: 14px; }
.feed_banner.warning { background: #ffe0dc; border-color: #d9534f; font-weight: bold; }
.ec_nav { margin: 6px 0; }
.ec_table { border-collapse: collapse; width: 100%; }
.ec_table th { background: #2d4b6b; color: #fff; padding: 3px 6px; text-align: left; }
.ec_table td { border-bottom: 1px solid #dde; padding: 3px 6px; }
.ec_tr_holiday td { background: #f4f4f4; color: #777; }
.ec_importance1::before { content: "\25CF\25CB\25CB"; color: #c60; }
.ec_importance2::before { content: "\25CF\25CF\25CB"; color: #c60; }
.ec_importance3::before { content: "\25CF\25CF\25CF"; color: #c00; }
.ec_b_11 { font-weight: bold; color: #143d66; text-decoration: none; }
#CP_calendar0 { display: none; }
)css";

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The provider marks an empty cell with a bare "&nbsp;".
QString cellText(const QString& text) {
    return text.isEmpty() ? QStringLiteral("&nbsp;") : escaped(text);
}

// Actual and previous values sit in an inner element of their cell.
QString innerValue(const QString& text, const char* spanClass) {
    if (text.isEmpty()) return QStringLiteral("&nbsp;");
    return QStringLiteral("<span class=\"%1\">%2</span>")
        .arg(QLatin1String(spanClass), escaped(text));
}

QString dayText(QDate date) {
    return QStringLiteral("%1 %2")
        .arg(QLatin1String(pageMonthNames[size_t(date.month() - 1)]))
        .arg(date.day());
}

const char* importanceTitle(int importance) {
    switch (importance) {
    case 1:
        return "Низкая важность";
    case 2:
        return "Средняя важность";
    default:
        return "Высокая важность";
    }
}

// The mark the extraction reads the importance from; none for an event without one.
QString importanceCell(int importance) {
    if (importance < 1 || importance > 3)
        return QStringLiteral("<td class=\"ec_td_importance\"></td>");
    return QStringLiteral("<td class=\"ec_td_importance\"><span class=\"ec_importance%1\" "
                          "title=\"%2\"></span></td>")
        .arg(importance)
        .arg(QString::fromUtf8(importanceTitle(importance)));
}

QString eventRow(const CalendarEvent& event, const QString& date) {
    QString row = QStringLiteral("<tr id=\"eventRowId_%1\" class=\"%2\">"
                                 "<td class=\"ec_td_date\" nowrap>%3</td>"
                                 "<td class=\"ec_td_time\">%4</td>"
                                 "<td class=\"ec_td_currency\">%5</td>")
                      .arg(event.id)
                      .arg(QLatin1String(event.holiday ? "ec_tr_holiday" : "ec_tr"), date,
                           escaped(event.time), escaped(event.currency));
    if (event.holiday)
        return row + QStringLiteral("<td class=\"ec_td_holiday\" colspan=\"6\">%1</td></tr>\n")
                         .arg(escaped(event.name));
    return row + importanceCell(event.importance) +
           QStringLiteral("<td class=\"ec_td_event\"><a class=\"ec_b_11\" "
                          "href=\"javascript:slide(%1)\">%2</a></td>"
                          "<td class=\"ec_td_actual\" nowrap>%3</td>"
                          "<td class=\"ec_td_forecast\">%4</td>"
                          "<td class=\"ec_td_previous\">%5</td>"
                          "<td class=\"ec_td_after_previous\">&nbsp;</td></tr>\n")
               .arg(event.id)
               .arg(escaped(event.name), innerValue(event.actual, "ec_actual"),
                    cellText(event.forecast), innerValue(event.previous, "ec_previous"));
}

QString eventRows(const std::vector<CalendarEvent>& events) {
    QString rows;
    QDate day;
    for (const auto& event : events) {
        // A day's date stands on its first line only.
        const QString date = event.date == day ? QStringLiteral("&nbsp;") : dayText(event.date);
        day = event.date;
        rows += eventRow(event, date);
    }
    return rows;
}

QString weekNavigation(QDate monday) {
    const QDate sunday = monday.addDays(6);
    return QStringLiteral("<div class=\"ec_nav\"><a href=\"%1\">&laquo; Предыдущая неделя</a> | "
                          "<b>%2 %3 &ndash; %4 %5</b> | <a href=\"%6\">Следующая неделя &raquo;</a>"
                          "</div>\n")
        .arg(escaped(weekPagePath(monday.addDays(-7))), dayText(monday))
        .arg(monday.year())
        .arg(dayText(sunday))
        .arg(sunday.year())
        .arg(escaped(weekPagePath(monday.addDays(7))));
}

// The year link (to the year's first week) must come before the date input: the page date is
// corrected from it.
QString dateForm(QDate monday) {
    return QStringLiteral("<form class=\"ec_date_form\" action=\"/e_cal.php\">"
                          "<a class=\"ec_year\" href=\"%1&amp;year=%2\">Год %2</a> "
                          "<input id=\"eco_date_full_date\" value=\"%3\" type=\"hidden\" "
                          "name=\"full_date\"></form>\n"
                          "<div id=\"CP_calendar0\" class=\"CP_calendar\"></div>\n")
        .arg(escaped(weekPagePath(QDate(monday.year(), 1, 1))))
        .arg(monday.year())
        .arg(monday.toString(QStringLiteral("ddMMyyyy")));
}

} // namespace

QString weekPagePath(QDate day) {
    QString path = QStringLiteral("/e_cal.php?duration=weekly&timezone_panel=show");
    if (day.isValid())
        path += QStringLiteral("&week=") + day.toString(QStringLiteral("yyyy-MM-dd"));
    return path;
}

PageNotice demoNotice() {
    return {QStringLiteral("Экономический календарь (демонстрация)"),
            QStringLiteral("Демонстрационный календарь: события и значения вымышлены и служат "
                           "только для проверки программы."),
            QStringLiteral("Время событий указано по часам этого компьютера."),
            PageNotice::Demonstration};
}

// The date form comes first in the body: the extraction takes the first "year=" and the first
// page date it finds, and a banner may quote any address.
QByteArray weekPageHtml(QDate monday, const std::vector<CalendarEvent>& events,
                        const PageNotice& notice) {
    static const std::array<const char*, 3> bannerClasses = {"demo_banner", "feed_banner",
                                                             "feed_banner warning"};
    const QLatin1String bannerClass(bannerClasses[size_t(notice.style)]);
    const QString page =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\">\n"
                       "<title>%1</title>\n<style>%2</style>\n<script>%3</script>\n</head>\n"
                       "<body>\n%4<div class=\"%5\">%6</div>\n<div id=\"timezone_panel\">%7</div>\n"
                       "%8<table id=\"ecEventsTable\" class=\"ec_table\">\n<thead><tr><th>Date</th>"
                       "<th>Time</th><th>Cur.</th><th>Imp.</th><th>Event</th><th>Actual</th>"
                       "<th>Forecast</th><th>Previous</th><th></th></tr></thead>\n<tbody>\n%9"
                       "</tbody></table>\n</body></html>\n")
            .arg(escaped(notice.title), QLatin1String(pageStyle), QLatin1String(pageScript),
                 dateForm(monday), bannerClass, escaped(notice.banner), escaped(notice.timeZone),
                 weekNavigation(monday), eventRows(events));
    return page.toUtf8();
}

} // namespace newsbell
