#pragma once

#include <QDate>
#include <QString>

namespace newsbell {

// Sets the calendar page's date picker up for weekly pages without loading another week (an
// empty date only closes the picker).
inline constexpr char initialWeekScript[] =
    "CP_targetInput=-1;CP_change_time('weekly');CP_tmpReturnFunction('');CP_hideCalendar('0');";

// Makes the calendar page load the week holding date; the date goes in as three bare numbers,
// year, month and day: CP_tmpReturnFunction(2010,3,8).
QString weekScript(QDate date);

} // namespace newsbell
