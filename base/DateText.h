#pragma once

#include <QDate>
#include <array>
#include <string>
#include <string_view>

namespace newsbell {

// A date text format: a pattern of y, m and d runs separated by "/", and the character that
// stands for "/" in the text. The program uses three of them; each operation names its own
// instead of sharing one process-wide setting.
struct DateFormat {
    std::string_view pattern;
    char separator;
};

inline constexpr DateFormat tableDateFormat{"yyyy/mm/dd", '.'}; // 2010.05.24
inline constexpr DateFormat labelDateFormat{"d/m/yyyy", '.'};   // 24.5.2010
inline constexpr DateFormat scriptDateFormat{"yyyy/m/d", ','};  // 2010,5,24

std::string formatDate(QDate date, DateFormat format);
// The same for a date whose parts the caller has at hand, without a calendar conversion.
std::string formatDate(int year, int month, int day, DateFormat format);

// Reads day, month and year in the order the pattern gives them, separated by the format's
// separator, with blanks around. Two numbers are month and day (or day and month) of the
// current year. A year of one or two digits is put in the 100-year window around the current
// year (expandTwoDigitYear). Fails with "'<text>' is not a valid date".
QDate parseDate(std::string_view text, DateFormat format, int currentYear);

// The year in [currentYear - 50, currentYear + 49] whose last two digits are twoDigits.
int expandTwoDigitYear(int twoDigits, int currentYear);

// The calendar page's month names, index 0 for January: English and three letters whatever
// the locale, as the page writes its dates ("May 24").
inline constexpr std::array<std::string_view, 12> pageMonthNames = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The Monday on or before date: a Sunday belongs to the Monday six days earlier.
inline QDate mondayOf(QDate date) {
    return date.addDays(1 - date.dayOfWeek());
}

// 0 for Sunday to 6 for Saturday.
inline int weekdayNumber(QDate date) {
    return date.dayOfWeek() % 7;
}

} // namespace newsbell
