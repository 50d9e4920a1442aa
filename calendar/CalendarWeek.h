#pragma once

#include "base/DateText.h" // mondayOf

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <vector>

namespace newsbell {

// One line of the demonstration calendar: an indicator release, or a holiday note.
struct CalendarEvent {
    int id = 0;
    QDate date;
    QTime timeOfDay; // when it is out; orders the day (a holiday note has none)
    QString time;    // as shown: "08:30", "Tentative" or "All Day"
    QString currency;
    int importance = 0;   // 1-3; 0 for a holiday note
    QString name;         // the indicator, or the holiday note's text
    bool holiday = false; // a note without a link
    QString actual;       // empty while not out yet
    QString forecast;     // empty when none is expected
    QString previous;
};

// A few important events a few minutes after start, so that a new user sees alerts soon.
std::vector<CalendarEvent> eventsSoonAfter(const QDateTime& start);

// The events of the week beginning at monday, day by day in time order. The content depends
// on monday alone; now decides which actual values are out. extra (events of any week) join
// their day in time order. eventsPerWeek > 0 asks for that many indicator events.
std::vector<CalendarEvent> weekEvents(QDate monday, const QDateTime& now,
                                      const std::vector<CalendarEvent>& extra,
                                      int eventsPerWeek = 0);

} // namespace newsbell
