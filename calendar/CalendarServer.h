#pragma once

#include "base/Clock.h"

#include <QDate>
#include <QString>
#include <memory>

namespace newsbell {

// What a calendar service serves instead of the demonstration: the weekly page of any week.
// Asked from the serving threads, so it must be safe to call from several at once.
class WeekPages {
public:
    virtual ~WeekPages() = default;
    // A day of the week served when none is asked for.
    virtual QDate currentDay(const QDateTime& now) const = 0;
    // The weekly page of the week beginning at monday, as UTF-8 HTML (weekPageHtml()).
    virtual QByteArray page(QDate monday) const = 0;
};

struct CalendarOptions {
    // Events per week; 0 gives each week its natural, varying number. Benchmarks ask for more.
    int eventsPerWeek = 0;
};

// The built-in calendar: a weekly economic calendar served over HTTP on 127.0.0.1 from a thread
// of its own; the demonstration's invented weeks, or the pages of a WeekPages (a real feed). Each
// week's content is fixed by its Monday; "now" (for which values are already out, and for the few
// events placed minutes after start) comes from clock, which is asked from the serving threads and
// must outlive the server.
class CalendarServer {
public:
    explicit CalendarServer(const Clock& clock, CalendarOptions options = {});
    // Serves pages instead of the demonstration; pages must outlive the server.
    CalendarServer(const Clock& clock, const WeekPages& pages);
    ~CalendarServer();
    CalendarServer(const CalendarServer&) = delete;
    CalendarServer& operator=(const CalendarServer&) = delete;

    // Starts serving at port, or at a free port when port is 0. Throws Error when the port
    // cannot be taken or the server is already running.
    void start(int port = 0);
    // Stops serving and waits for the serving thread; nothing happens when not running.
    void stop();

    bool isRunning() const;
    int port() const;
    // "http://127.0.0.1:PORT/e_cal.php?duration=weekly&timezone_panel=show": the current week.
    QString url() const;
    // The weekly page of the week holding day.
    QString weekUrl(QDate day) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace newsbell
