#pragma once

#include "browser/BrowserHost.h"
#include "calendar/CalendarServer.h"
#include "calendar/FeedCalendar.h"
#include "program/StartOptions.h"
#include "widgets/ErrorReporter.h"

#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

namespace newsbell {

// The settings of --calendar-feed: the local zone is the computer's or --time-zone, the weekly
// XML feed's zone UTC or --feed-time-zone. Throws Error for a zone it cannot name.
FeedSettings feedSettings(const StartOptions& options);

// What a read has to tell the user, one problem per line; empty when nothing.
QString feedReadReport(const FeedRead& read);

// The built-in calendar on --calendar-feed, served on loopback: without a window the source read
// once at start (weeks from the last good copy when the read failed); with one, the kept copy
// until the window's refresher has read the source.
class CalendarFeed {
public:
    CalendarFeed(const StartOptions& options, const Clock& clock);

    const CalendarServer& server() const { return server_; }
    // The read at start; nothing for the window, whose refresher reads.
    const FeedRead& firstRead() const { return firstRead_; }
    // Whether any week of the feed can be served.
    bool hasCopy() const { return calendar_.hasCopy(); }
    FeedCalendar& calendar() { return calendar_; }

private:
    FeedCalendar calendar_;
    CalendarServer server_;
    FeedRead firstRead_;
};

// Reads the feed every five minutes while the window is open, off the user-interface thread, and
// at once when it has not been read yet. A failed read is reported once, until a read succeeds
// again; when the page changed (its weeks, or its banner), the browser loads it again.
class FeedRefresher final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::minutes interval{5};

    FeedRefresher(FeedCalendar& calendar, BrowserHost& browser, ErrorReporter& errors,
                  const QUrl& page);
    // Ends a read under way early and waits for it.
    ~FeedRefresher() override;

    // Starts a read, unless one is under way.
    void refresh();
    // Tells the user what a read came to: the read at start, or one of refresh().
    void report(const FeedRead& read);

signals:
    void readFinished();

private:
    void finished(const FeedRead& read);

    FeedCalendar& calendar_;
    BrowserHost& browser_;
    ErrorReporter& errors_;
    QUrl shown_; // the page the browser shows
    QTimer timer_;
    std::thread reader_;
    std::atomic<bool> cancel_{false};
    bool reading_ = false;
    bool failing_ = false; // a failure was told and no read has succeeded since
};

} // namespace newsbell
