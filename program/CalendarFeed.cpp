#include "program/CalendarFeed.h"

#include "base/Error.h"
#include "calendar/FeedTime.h"

#include <thread>

namespace newsbell {

namespace {

QTimeZone zoneOption(const std::optional<QString>& name, const QTimeZone& otherwise) {
    if (!name) return otherwise;
    const QTimeZone zone = zoneNamed(*name);
    if (!zone.isValid())
        throw Error(QStringLiteral("Неизвестный часовой пояс «%1»: нужно имя из базы поясов, "
                                   "например Europe/Berlin")
                        .arg(*name)
                        .toStdString());
    return zone;
}

} // namespace

FeedSettings feedSettings(const StartOptions& options) {
    FeedSettings settings;
    settings.source = options.calendarFeed.value_or(QString());
    settings.zones.local = zoneOption(options.timeZone, QTimeZone::systemTimeZone());
    settings.zones.feed = zoneOption(options.feedTimeZone, settings.zones.feed);
    return settings;
}

QString feedReadReport(const FeedRead& read) {
    QStringList lines = read.warnings;
    if (!read.error.isEmpty()) lines.prepend(read.error);
    return lines.join(u'\n');
}

void FirstReadPages::open() {
    {
        const std::lock_guard lock(mutex_);
        open_ = true;
    }
    opened_.notify_all();
}

QByteArray FirstReadPages::page(QDate monday) const {
    {
        // The kept copy comes into service as the first read begins, without a word to anyone:
        // it is looked for now and then.
        constexpr std::chrono::milliseconds copyLookup{50};
        std::unique_lock lock(mutex_);
        const auto giveUp = std::chrono::steady_clock::now() + longestWait;
        while (!open_ && !calendar_.hasCopy() && std::chrono::steady_clock::now() < giveUp)
            opened_.wait_for(lock, copyLookup);
    }
    return calendar_.page(monday);
}

CalendarFeed::CalendarFeed(const StartOptions& options, const Clock& clock)
    : CalendarFeed(feedSettings(options), clock, options.headless() ? ReadAtStart : ReadByWindow) {}

CalendarFeed::CalendarFeed(FeedSettings settings, const Clock& clock, Reading reading)
    : settings_(std::move(settings)), calendar_(settings_, clock), pages_(calendar_),
      server_(clock, pages_) {
    // A run without a window waits for the source; the window serves the kept copy at once and
    // leaves the read to its refresher.
    if (reading == ReadAtStart)
        firstRead_ = read();
    else
        calendar_.takeKeptCopy();
    server_.start();
}

CalendarFeed::~CalendarFeed() {
    pages_.open();
    server_.stop();
    std::unique_lock lock(readsMutex_);
    readEnded_.wait(lock, [this] { return readsUnderWay_ == 0; });
}

FeedRead CalendarFeed::read(const std::atomic<bool>* cancel, FeedCalendar::Asking asking) {
    {
        const std::lock_guard lock(readsMutex_);
        ++readsUnderWay_;
    }
    FeedRead result;
    {
        // One read at a time: a new refresher's may come while a dropped one's still runs.
        const std::lock_guard one(oneRead_);
        if (!cancel || !*cancel) result = calendar_.read(cancel, asking);
    }
    if (!cancel || !*cancel) {
        wasRead_ = true;
        pages_.open();
    }
    const std::lock_guard lock(readsMutex_);
    --readsUnderWay_;
    // Under the lock: once it is let go, the destructor may take the feed away.
    readEnded_.notify_all();
    return result;
}

FeedReadInBackground::FeedReadInBackground(std::shared_ptr<CalendarFeed> feed, QObject& receiver,
                                           Done done, FeedCalendar::Asking asking)
    : shared_(std::make_shared<Shared>()) {
    shared_->receiver = &receiver;
    shared_->done = std::move(done);
    std::thread([feed = std::move(feed), shared = shared_, asking] {
        const FeedRead read = feed->read(&shared->cancel, asking);
        const std::lock_guard lock(shared->mutex);
        if (!shared->receiver) return;
        // Queued, so that it runs on the receiver's thread, where a drop happens too: looked at
        // again there, since the read may have been dropped meanwhile.
        QMetaObject::invokeMethod(
            shared->receiver,
            [shared, read] {
                Done tell;
                {
                    const std::lock_guard again(shared->mutex);
                    if (!shared->receiver) return;
                    tell = shared->done;
                }
                tell(read);
            },
            Qt::QueuedConnection);
    }).detach();
}

FeedReadInBackground::~FeedReadInBackground() {
    shared_->cancel = true;
    const std::lock_guard lock(shared_->mutex);
    shared_->receiver = nullptr;
}

FeedRefresher::FeedRefresher(std::shared_ptr<CalendarFeed> feed, BrowserHost& browser,
                             ErrorReporter& errors, const QUrl& page)
    : feed_(std::move(feed)), browser_(browser), errors_(errors), shown_(page) {
    connect(&browser_, &BrowserHost::beforeNavigate, this,
            [this](const QUrl& url) { shown_ = url; });
    connect(&timer_, &QTimer::timeout, this, &FeedRefresher::refresh);
    timer_.start(interval);
    if (!feed_->wasRead()) QTimer::singleShot(0, this, &FeedRefresher::refresh);
}

FeedRefresher::~FeedRefresher() = default;

void FeedRefresher::refresh() {
    if (reader_) return;
    reader_ = std::make_unique<FeedReadInBackground>(
        feed_, *this, [this](const FeedRead& read) { finished(read); });
}

void FeedRefresher::finished(const FeedRead& read) {
    reader_.reset();
    const bool failed = !read.error.isEmpty();
    if (read.changed || failed != failing_) browser_.navigate(shown_);
    report(read);
    emit readFinished();
}

void FeedRefresher::report(const FeedRead& read) {
    FeedRead told = read;
    // The same failure is not told again every five minutes.
    if (!read.error.isEmpty() && failing_) told.error.clear();
    failing_ = !read.error.isEmpty();
    const QString text = feedReadReport(told);
    if (!text.isEmpty()) errors_.report(text);
}

} // namespace newsbell
