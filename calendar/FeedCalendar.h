#pragma once

#include "base/Clock.h"
#include "calendar/CalendarServer.h"
#include "calendar/FeedCache.h"
#include "calendar/FeedDocument.h"
#include "calendar/WeekPage.h"

#include <mutex>
#include <optional>

namespace newsbell {

// A remote feed is asked at most once in this time, whoever asks: the window's refresher every
// five minutes, runs from cron as often as they come, several programs on one cache folder.
inline constexpr std::chrono::minutes feedPace{5};
// A read asked for this much sooner still goes ahead: the window's five-minute timer may come a
// few seconds early, and it must not lose every other read.
inline constexpr std::chrono::seconds feedPaceSlack{30};

struct FeedSettings {
    QString source; // an http or https address, or a file
    FeedZones zones;
    QString cacheFolder = FeedCache::defaultFolder();
    std::chrono::milliseconds deadline = feedDeadline; // of a remote read
};

// What one read of the source came to.
struct FeedRead {
    QString error;        // why the read failed (the weeks come from the last good copy, if any)
    QStringList warnings; // events of a newly read document left out or read in part
    // The page served differs from the one before the read: its weeks, or its banner turned
    // from a good read to a failure or back.
    bool changed = false;
};

// How fresh the weeks served are, for the window's line about its source.
struct FeedFreshness {
    QDateTime readAt;         // of the copy in service; null while there is none
    bool readThisRun = false; // false while that copy is one kept by an earlier run
    QString failure;          // why the latest read failed; empty after a good one
    QDateTime failingSince;   // the first failed read after the last good one
};

// The built-in calendar on a real feed: the weeks of the last good read of the source, served
// as the provider's weekly pages, with a banner naming the source and the time of that read.
// Every good read is kept in the cache folder; when a read fails, the last good copy (from this
// run or an earlier one) stays in service and the banner says since when. A read without any
// event fails while the copy in service has events. A remote feed keeps to its pace: within
// feedPace of the last read (of any run), and before the time a server that answered 429 or 503
// gave in Retry-After, the copy serves without asking.
class FeedCalendar final : public WeekPages {
public:
    FeedCalendar(FeedSettings settings, const Clock& clock);

    // Whether a read may be put off by the pace: always, except for the user's own choice of the
    // source, which is read at once unless the server asked to wait.
    enum class Asking { WhenDue, Now };

    // Reads the source once (a conditional read when a copy is at hand), or puts the read off
    // by the pace. One read at a time; pages may be served meanwhile. cancel, set from another
    // thread, ends a download early.
    FeedRead read(const std::atomic<bool>* cancel = nullptr, Asking asking = Asking::WhenDue);

    // Whether there are weeks to serve: a good read now or a copy kept before.
    bool hasCopy() const;
    // Whether read() has run, whatever it came to.
    bool wasRead() const;
    // Serves the copy kept by an earlier run, if any, until a read is done.
    void takeKeptCopy();
    FeedFreshness freshness() const;

    // The rows of the local week beginning at monday, as its page shows them.
    std::vector<CalendarEvent> week(QDate monday) const;

    QDate currentDay(const QDateTime& now) const override;
    QByteArray page(QDate monday) const override;

private:
    struct State {
        std::shared_ptr<const FeedDocument> document;
        QByteArray body;
        FeedValidators validators;
        QDateTime readAt;         // of the copy in service
        QString failure;          // of the latest read, empty after a good one
        QDateTime failingSince;   // the first failed read after the last good one
        bool readThisRun = false; // false while the copy in service is one kept from before
        bool tried = false;       // a read has run
        FeedPace pace;            // of this run's reads
    };

    // The document of body; none, and why, when it does not read.
    std::shared_ptr<const FeedDocument> parse(const QByteArray& body, QString& problem) const;
    // Keeps copy in the cache folder; a copy not kept is a warning, the weeks are served anyway.
    void keep(const FeedCopy& copy, QStringList& warnings) const;
    // What a document has to tell when it comes into service.
    QStringList warningsOf(const FeedDocument& document) const;
    FeedRead accept(const QByteArray& body, const FeedValidators& validators, const QDateTime& now);
    FeedRead confirm(const QDateTime& now);
    FeedRead fail(const QString& problem, const QDateTime& now, QStringList warnings = {},
                  const QDateTime& since = {});
    // The pace the source is asked at: of this run or of another one, whichever asked last.
    FeedPace pace() const;
    // Why a read now would come too soon; nothing when it may go ahead.
    std::optional<QString> tooSoon(const FeedPace& pace, const QDateTime& now, Asking asking) const;
    // The copy serves without asking; the outcome of the last read stands.
    FeedRead putOff(const FeedPace& pace, const QString& why, const QDateTime& now);
    void keepPace(const QDateTime& askedAt, const QDateTime& notBefore);
    PageNotice notice(const State& state, const QDateTime& now) const;
    QString localTimeText(const QDateTime& moment) const;
    // The time of day alone when moment falls on the local day of now.
    QString shortTimeText(const QDateTime& moment, const QDateTime& now) const;

    const FeedSettings settings_;
    const QString name_;     // the source as the user may see it
    const QString cacheKey_; // the source, a file by its absolute path
    const Clock& clock_;
    FeedCache cache_;
    mutable std::mutex mutex_;
    State state_;
};

} // namespace newsbell
