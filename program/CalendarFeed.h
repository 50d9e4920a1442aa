#pragma once

#include "browser/BrowserHost.h"
#include "calendar/CalendarServer.h"
#include "calendar/FeedCalendar.h"
#include "program/StartOptions.h"
#include "widgets/ErrorReporter.h"

#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace newsbell {

// The settings of --calendar-feed: the local zone is the computer's or --time-zone, the weekly
// XML feed's zone UTC or --feed-time-zone. Throws Error for a zone it cannot name.
FeedSettings feedSettings(const StartOptions& options);

// What a read has to tell the user, one problem per line; empty when nothing.
QString feedReadReport(const FeedRead& read);

// The feed's weekly pages, each held back until the first read of the source is done or a copy
// kept before is at hand: the window keeps its not-loaded header meanwhile, rather than show an
// empty week.
class FirstReadPages final : public WeekPages {
public:
    // A page waits no longer than this; a read's own deadline (30 s) comes first.
    static constexpr std::chrono::seconds longestWait{40};

    explicit FirstReadPages(const FeedCalendar& calendar) : calendar_(calendar) {}

    // Lets every page go from now on: the first read is done, or the program ends.
    void open();

    QDate currentDay(const QDateTime& now) const override { return calendar_.currentDay(now); }
    QByteArray page(QDate monday) const override;

private:
    const FeedCalendar& calendar_;
    mutable std::mutex mutex_;
    mutable std::condition_variable opened_;
    bool open_ = false;
};

// The built-in calendar on --calendar-feed, served on loopback. Without a window the source is
// read once at start, before anything is served (weeks from the last good copy when the read
// failed). With one, nothing waits for the source: the window's refresher reads it, and pages
// wait for that first read (FirstReadPages).
class CalendarFeed {
public:
    enum Reading { ReadAtStart, ReadByWindow };

    CalendarFeed(const StartOptions& options, const Clock& clock);
    CalendarFeed(FeedSettings settings, const Clock& clock, Reading reading);
    // Lets waiting pages go and waits for reads under way, which their cancel ends.
    ~CalendarFeed();

    const CalendarServer& server() const { return server_; }
    const FeedSettings& settings() const { return settings_; }
    FeedFreshness freshness() const { return calendar_.freshness(); }
    // The read at start; nothing for the window, whose refresher reads.
    const FeedRead& firstRead() const { return firstRead_; }
    // Whether any week of the feed can be served.
    bool hasCopy() const { return calendar_.hasCopy(); }
    // Whether a read came to an end (a cancelled one does not count).
    bool wasRead() const { return wasRead_; }

    // Reads the source once (FeedCalendar::read()), from any thread; the first read lets the
    // pages waiting for it go.
    FeedRead read(const std::atomic<bool>* cancel = nullptr,
                  FeedCalendar::Asking asking = FeedCalendar::Asking::WhenDue);

private:
    const FeedSettings settings_;
    FeedCalendar calendar_;
    FirstReadPages pages_;
    CalendarServer server_;
    FeedRead firstRead_;
    std::atomic<bool> wasRead_{false};
    std::mutex oneRead_;
    std::mutex readsMutex_;
    std::condition_variable readEnded_;
    int readsUnderWay_ = 0;
};

// One read of a feed off the user-interface thread, which never waits for it: done is called on
// receiver's thread when the read ends, unless the read was dropped first. Dropping it (deleting
// it) cancels the read and leaves it to end by itself; the read keeps the feed until then.
class FeedReadInBackground {
public:
    using Done = std::function<void(const FeedRead& read)>;

    FeedReadInBackground(std::shared_ptr<CalendarFeed> feed, QObject& receiver, Done done,
                         FeedCalendar::Asking asking = FeedCalendar::Asking::WhenDue);
    ~FeedReadInBackground();
    FeedReadInBackground(const FeedReadInBackground&) = delete;
    FeedReadInBackground& operator=(const FeedReadInBackground&) = delete;

private:
    // What the read's thread shares with this, which it may outlive.
    struct Shared {
        std::atomic<bool> cancel{false};
        std::mutex mutex;
        QObject* receiver; // none once the read is dropped
        Done done;
    };

    std::shared_ptr<Shared> shared_;
};

// Reads the feed every five minutes while the window is open, and at once when it has not been
// read yet, off the user-interface thread (FeedReadInBackground). A failed read is reported once,
// until a read succeeds again; the browser loads its page again when the weeks changed, or when
// the source failed or came back (the page's banner says so).
class FeedRefresher final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::minutes interval{5};

    FeedRefresher(std::shared_ptr<CalendarFeed> feed, BrowserHost& browser, ErrorReporter& errors,
                  const QUrl& page);
    // Cancels a read under way, without waiting for it.
    ~FeedRefresher() override;

    // Starts a read, unless one is under way.
    void refresh();

signals:
    void readFinished();

private:
    void finished(const FeedRead& read);
    void report(const FeedRead& read);

    std::shared_ptr<CalendarFeed> feed_;
    BrowserHost& browser_;
    ErrorReporter& errors_;
    QUrl shown_; // the page the browser shows
    QTimer timer_;
    std::unique_ptr<FeedReadInBackground> reader_; // the read under way
    bool failing_ = false; // a failure was told and no read has succeeded since
};

} // namespace newsbell
