#pragma once

#include "calendar/CalendarWeek.h"

#include <QByteArray>

namespace newsbell {

// The address of the weekly page, relative to the server; with a valid day, the week holding it.
QString weekPagePath(QDate day = {});

// What a page says about itself, as plain text: its title, the banner above the week and a note
// on the time zone of its times.
struct PageNotice {
    enum Style { Demonstration, Feed, Warning }; // a warning must not be overlooked
    QString title;
    QString banner;
    QString timeZone;
    Style style = Feed;
};

// The demonstration calendar's notice.
PageNotice demoNotice();

// The weekly page for the week beginning at monday, as UTF-8 HTML in the calendar provider's
// markup: the page date input, the year link before it, one table row per event with the
// provider's cell classes, and the script functions that load another week. An event of
// importance 0 has no importance mark; a holiday note has no name link.
QByteArray weekPageHtml(QDate monday, const std::vector<CalendarEvent>& events,
                        const PageNotice& notice = demoNotice());

} // namespace newsbell
