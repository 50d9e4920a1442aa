#include "bench/core/GeneratedPage.h"

#include <array>

namespace newsbell {

namespace {

constexpr std::array<const char*, 8> currencies = {"EUR", "USD", "CHF", "JPY",
                                                   "GBP", "AUD", "CAD", "NZD"};
constexpr std::array<const char*, 8> names = {
    "CPI (YoY)",         "Retail Sales (MoM)",     "Trade Balance", "Unemployment Rate",
    "Manufacturing PMI", "Interest Rate Decision", "GDP (QoQ)",     "Industrial Production (MoM)"};

std::string valueCell(int seed) {
    if (seed % 3 == 0) return "&nbsp;";
    return "<SPAN class=ec_pos>" + std::to_string(seed % 97) + "." + std::to_string(seed % 10) +
           "%</SPAN>";
}

void appendEvent(std::string& page, int i, int eventsPerDay) {
    const int day = i / eventsPerDay;
    const bool firstOfDay = i % eventsPerDay == 0;
    const std::string id = std::to_string(100000 + i);
    const std::string date = firstOfDay ? "May " + std::to_string(24 + day % 7) : "&nbsp;";
    const std::string time = i % 17 == 5 ? "Tentative"
                                         : (i % 24 < 10 ? "0" : "") + std::to_string(i % 24) + ":" +
                                               (i % 2 ? "30" : "00");
    if (firstOfDay && day % 3 == 2) {
        page += "<TR class=ec_holiday>\r\n<TD class=ec_td_date noWrap>" + date +
                "</TD>\r\n<TD class=ec_td_time>All Day</TD>\r\n<TD class=ec_td_currency>" +
                currencies[size_t(i) % 8] +
                "</TD>\r\n<TD class=ec_td_holiday colSpan=7>Holiday: Bank Holiday</TD></TR>\r\n";
    }
    page += "<TR id=eventRowId_" + id + " event_attr_ID=\"" + id + "\">\r\n";
    page += "<TD class=ec_td_date noWrap>" + date + "</TD>\r\n";
    page += "<TD class=ec_td_time>" + time + "</TD>\r\n";
    page += "<TD class=ec_td_currency>" + std::string(currencies[size_t(i) % 8]) + "</TD>\r\n";
    page += "<TD class=ec_td_importance><SPAN class=ec_importance" + std::to_string(1 + i % 3) +
            " title=\"Importance\"></SPAN></TD>\r\n";
    page += "<TD class=ec_td_event><A class=ec_b_11 href=\"javascript:slide(" + id + ")\">" +
            names[size_t(i) % 8] + "</A></TD>\r\n";
    page += "<TD class=ec_td_actual noWrap>" + valueCell(i) + "</TD>\r\n";
    page += "<TD class=ec_td_forecast noWrap>" +
            (i % 4 ? std::to_string(i % 50) + ".0%&nbsp;" : "&nbsp;") + "</TD>\r\n";
    page += "<TD class=ec_td_previous noWrap>" + valueCell(i + 1) + "</TD>\r\n";
    page += "<TD class=ec_td_after_previous>&nbsp;</TD></TR>\r\n";
}

} // namespace

std::string generatedCalendarPage(int events) {
    std::string page =
        "<DIV class=demoBanner>Demo</DIV>\r\n<DIV id=calendarNav><A "
        "href=\"/e_cal.php?duration=weekly&amp;year=2010&amp;month=05\">Week</A>\r\n"
        "<INPUT id=eco_date_full_date value=24052010 type=hidden name=eco_date_full_date></DIV>\r\n"
        "<TABLE id=ecEventsTable class=ec_table>\r\n<TBODY>\r\n";
    const int eventsPerDay = events < 7 ? 1 : (events + 6) / 7;
    for (int i = 0; i < events; ++i) appendEvent(page, i, eventsPerDay);
    page += "</TBODY></TABLE>\r\n";
    return page;
}

} // namespace newsbell
