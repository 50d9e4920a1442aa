#include "program/CalendarFeed.h"

#include "base/Error.h"
#include "calendar/FeedTime.h"

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

CalendarFeed::CalendarFeed(const StartOptions& options, const Clock& clock)
    : calendar_(feedSettings(options), clock), server_(clock, calendar_) {
    // A run without a window waits for the source; the window shows the kept copy at once and
    // leaves the read to its refresher.
    if (options.headless())
        firstRead_ = calendar_.read();
    else
        calendar_.takeKeptCopy();
    server_.start();
}

FeedRefresher::FeedRefresher(FeedCalendar& calendar, BrowserHost& browser, ErrorReporter& errors,
                             const QUrl& page)
    : calendar_(calendar), browser_(browser), errors_(errors), shown_(page) {
    connect(&browser_, &BrowserHost::beforeNavigate, this,
            [this](const QUrl& url) { shown_ = url; });
    connect(&timer_, &QTimer::timeout, this, &FeedRefresher::refresh);
    timer_.start(interval);
    if (!calendar_.wasRead()) QTimer::singleShot(0, this, &FeedRefresher::refresh);
}

FeedRefresher::~FeedRefresher() {
    cancel_ = true;
    if (reader_.joinable()) reader_.join();
}

void FeedRefresher::refresh() {
    if (reading_) return;
    reading_ = true;
    if (reader_.joinable()) reader_.join();
    reader_ = std::thread([this] {
        const FeedRead read = calendar_.read(&cancel_);
        QMetaObject::invokeMethod(
            this, [this, read] { finished(read); }, Qt::QueuedConnection);
    });
}

void FeedRefresher::finished(const FeedRead& read) {
    reading_ = false;
    if (read.changed) browser_.navigate(shown_);
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
