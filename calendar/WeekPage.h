#pragma once

#include "calendar/CalendarWeek.h"

#include <QByteArray>

namespace newsbell {

// The address of the weekly page, relative to the server; with a valid day, the week holding it.
QString weekPagePath(QDate day = {});

// The weekly page for the week beginning at monday, as UTF-8 HTML in the calendar provider's
// markup: the page date input, the year link before it, one table row per event with the
// provider's cell classes, and the script functions that load another week.
QByteArray weekPageHtml(QDate monday, const std::vector<CalendarEvent>& events);

} // namespace newsbell
