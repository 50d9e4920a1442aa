#include "calendar/FeedCalendar.h"

#include "base/Error.h"
#include "calendar/FeedTime.h"
#include "calendar/WeekPage.h"

#include <QFileInfo>

namespace newsbell {

namespace {

QString cacheKeyOf(const QString& source) {
    return isWebAddress(source) ? source : QFileInfo(source).absoluteFilePath();
}

} // namespace

FeedCalendar::FeedCalendar(FeedSettings settings, const Clock& clock)
    : settings_(std::move(settings)), name_(sourceName(settings_.source)),
      cacheKey_(cacheKeyOf(settings_.source)), clock_(clock), cache_(settings_.cacheFolder) {}

bool FeedCalendar::hasCopy() const {
    const std::lock_guard lock(mutex_);
    return state_.document != nullptr;
}

FeedFreshness FeedCalendar::freshness() const {
    const std::lock_guard lock(mutex_);
    return {state_.readAt, state_.readThisRun, state_.failure, state_.failingSince};
}

bool FeedCalendar::wasRead() const {
    const std::lock_guard lock(mutex_);
    return state_.tried;
}

std::shared_ptr<const FeedDocument> FeedCalendar::parse(const QByteArray& body,
                                                        QString& problem) const {
    try {
        return std::make_shared<const FeedDocument>(readFeedDocument(body, name_, settings_.zones));
    } catch (const Error& error) {
        problem = QString::fromUtf8(error.what());
        return nullptr;
    }
}

void FeedCalendar::keep(const FeedCopy& copy, QStringList& warnings) const {
    try {
        cache_.store(cacheKey_, copy);
    } catch (const Error& error) {
        warnings << QString::fromUtf8(error.what());
    }
}

void FeedCalendar::takeKeptCopy() {
    const std::optional<FeedCopy> copy = cache_.load(cacheKey_);
    if (!copy) return;
    QString problem;
    std::shared_ptr<const FeedDocument> document = parse(copy->body, problem);
    if (!document) return;
    const std::lock_guard lock(mutex_);
    state_.document = std::move(document);
    state_.body = copy->body;
    state_.validators = copy->validators;
    state_.readAt = copy->readAt;
    state_.readThisRun = false;
}

FeedRead FeedCalendar::read(const std::atomic<bool>* cancel, Asking asking) {
    if (!hasCopy()) takeKeptCopy();
    const bool remote = isWebAddress(settings_.source);
    const QDateTime askedAt = clock_.now();
    if (remote) {
        const FeedPace last = pace();
        if (const std::optional<QString> why = tooSoon(last, askedAt, asking))
            return putOff(last, *why, askedAt);
    }
    FeedValidators validators;
    {
        const std::lock_guard lock(mutex_);
        validators = state_.validators;
    }
    const FetchedFeed fetched = fetchFeed(settings_.source, validators, settings_.deadline, cancel);
    const QDateTime now = clock_.now();
    {
        const std::lock_guard lock(mutex_);
        state_.tried = true;
    }
    FeedRead result;
    QDateTime notBefore;
    switch (fetched.status) {
    case FetchedFeed::Fresh:
        result = accept(fetched.body, fetched.validators, now);
        break;
    case FetchedFeed::Unchanged:
        result = confirm(now);
        break;
    case FetchedFeed::Failed:
        notBefore = retryTime(fetched.retryAfter, now).value_or(QDateTime());
        result = fail(notBefore > now
                          ? fetched.error + QStringLiteral(" и просит не спрашивать его до %1")
                                                .arg(shortTimeText(notBefore, now))
                          : fetched.error,
                      now);
        break;
    }
    if (remote) keepPace(askedAt, notBefore);
    return result;
}

FeedPace FeedCalendar::pace() const {
    FeedPace kept = cache_.pace(cacheKey_);
    const std::lock_guard lock(mutex_);
    const FeedPace& mine = state_.pace;
    const QDateTime notBefore = std::max(kept.notBefore, mine.notBefore);
    FeedPace last = kept.askedAt > mine.askedAt ? kept : mine;
    last.notBefore = notBefore;
    return last;
}

std::optional<QString> FeedCalendar::tooSoon(const FeedPace& last, const QDateTime& now,
                                             Asking asking) const {
    if (last.notBefore.isValid() && now < last.notBefore)
        return QStringLiteral("сервер просил не спрашивать его до %1")
            .arg(shortTimeText(last.notBefore, now));
    // A clock put back does not hold the reads back.
    const QDateTime due = last.askedAt.addSecs((feedPace - feedPaceSlack).count());
    if (asking == Asking::WhenDue && last.askedAt.isValid() && last.askedAt <= now && now < due)
        return QStringLiteral("источник спрашивали в %1, снова его спросят не раньше %2")
            .arg(shortTimeText(last.askedAt, now),
                 shortTimeText(last.askedAt.addSecs(std::chrono::seconds(feedPace).count()), now));
    return std::nullopt;
}

FeedRead FeedCalendar::putOff(const FeedPace& last, const QString& why, const QDateTime& now) {
    bool copy = false;
    {
        const std::lock_guard lock(mutex_);
        state_.tried = true;
        copy = state_.document != nullptr;
        // The last read was good, and its copy serves as it would after a read.
        if (last.failure.isEmpty() && copy) {
            FeedRead result;
            if (!state_.readThisRun) result.warnings = warningsOf(*state_.document);
            result.changed = !state_.failure.isEmpty();
            state_.failure.clear();
            state_.failingSince = {};
            state_.readThisRun = true;
            return result;
        }
    }
    const QString reason = last.failure.isEmpty() ? why : last.failure;
    FeedRead result = fail(reason, now, {}, last.failingSince.isValid() ? last.failingSince : now);
    // The failure of a server that asked to wait says until when already.
    const bool serverAsked = last.notBefore.isValid() && now < last.notBefore;
    if (reason != why && !serverAsked)
        result.error += u'\n' + why.front().toUpper() + why.sliced(1) + u'.';
    return result;
}

void FeedCalendar::keepPace(const QDateTime& askedAt, const QDateTime& notBefore) {
    FeedPace pace;
    {
        const std::lock_guard lock(mutex_);
        state_.pace = {askedAt, notBefore, state_.failure, state_.failingSince};
        pace = state_.pace;
    }
    // A folder that cannot be written is told by the copy's own keeping; the pace still holds
    // for this run.
    try {
        cache_.keepPace(cacheKey_, pace);
    } catch (const Error&) {
    }
}

QStringList FeedCalendar::warningsOf(const FeedDocument& document) const {
    QStringList warnings = document.warnings();
    if (!document.hasEvents())
        warnings << QStringLiteral("Календарь %1 прочитан, но в ленте нет ни одного события.")
                        .arg(name_);
    return warnings;
}

FeedRead FeedCalendar::accept(const QByteArray& body, const FeedValidators& validators,
                              const QDateTime& now) {
    bool same = false, eventsInService = false;
    {
        const std::lock_guard lock(mutex_);
        // A file, or a server that ignores the validators, sends the copy at hand again (the
        // one kept from the last run too): it is not read a second time.
        same = state_.document && body == state_.body;
        if (same) state_.validators = validators;
        eventsInService = state_.document && state_.document->hasEvents();
    }
    if (same) return confirm(now);
    QString problem;
    std::shared_ptr<const FeedDocument> document = parse(body, problem);
    if (!document) return fail(problem, now);
    // A feed that says nothing does not replace one that did.
    if (!document->hasEvents() && eventsInService)
        return fail(QStringLiteral("в ленте нет ни одного события"), now, document->warnings());
    FeedRead result;
    result.warnings = warningsOf(*document);
    result.changed = true;
    {
        const std::lock_guard lock(mutex_);
        state_ = {document, body, validators, now, {}, {}, true, true, state_.pace};
    }
    keep({body, validators, now}, result.warnings);
    return result;
}

FeedRead FeedCalendar::confirm(const QDateTime& now) {
    FeedRead result;
    FeedCopy copy;
    {
        const std::lock_guard lock(mutex_);
        if (state_.document) {
            // The copy kept from before is new to this run: its warnings are told once.
            if (!state_.readThisRun) result.warnings = warningsOf(*state_.document);
            result.changed = !state_.readThisRun || !state_.failure.isEmpty();
            state_.readAt = now;
            state_.failure.clear();
            state_.failingSince = {};
            state_.readThisRun = true;
            copy = {state_.body, state_.validators, now};
        }
    }
    if (copy.readAt.isNull())
        return fail(QStringLiteral("сервер ответил «не изменилось», а копии нет"), now);
    keep(copy, result.warnings);
    return result;
}

FeedRead FeedCalendar::fail(const QString& reason, const QDateTime& now, QStringList warnings,
                            const QDateTime& since) {
    const std::lock_guard lock(mutex_);
    FeedRead result;
    result.warnings = std::move(warnings);
    // The banner turns from the last good read to the failure.
    result.changed = state_.failure.isEmpty();
    state_.failure = reason;
    if (state_.failingSince.isNull()) state_.failingSince = since.isValid() ? since : now;
    result.error =
        QStringLiteral("Календарь %1 не прочитан: %2\n").arg(name_, reason) +
        (state_.document
             ? QStringLiteral("В работе копия, прочитанная %1.").arg(localTimeText(state_.readAt))
             : QStringLiteral("Сохранённой копии нет."));
    return result;
}

QString FeedCalendar::localTimeText(const QDateTime& moment) const {
    const WallClock clock = wallClockAt(settings_.zones.local, moment.toSecsSinceEpoch());
    return clock.date.toString(QStringLiteral("dd.MM.yyyy")) + u' ' +
           clock.time.toString(QStringLiteral("HH:mm"));
}

QString FeedCalendar::shortTimeText(const QDateTime& moment, const QDateTime& now) const {
    const WallClock clock = wallClockAt(settings_.zones.local, moment.toSecsSinceEpoch());
    return clock.date == currentDay(now) ? clock.time.toString(QStringLiteral("HH:mm"))
                                         : localTimeText(moment);
}

PageNotice FeedCalendar::notice(const State& state, const QDateTime& now) const {
    PageNotice notice;
    notice.title = QStringLiteral("Экономический календарь: ") + name_;
    notice.timeZone = QStringLiteral("Время событий указано по часам пояса %1.")
                          .arg(QString::fromUtf8(settings_.zones.local.id()));
    if (state.failure.isEmpty()) {
        notice.banner = state.document ? QStringLiteral("Календарь из %1, прочитан %2.")
                                             .arg(name_, localTimeText(state.readAt))
                                       : QStringLiteral("Календарь из %1 читается.").arg(name_);
        return notice;
    }
    notice.style = PageNotice::Warning;
    notice.banner = state.document
                        ? QStringLiteral("Календарь из %1: копия от %2, источник не отвечает с "
                                         "%3 (%4).")
                              .arg(name_, shortTimeText(state.readAt, now),
                                   shortTimeText(state.failingSince, now), state.failure)
                        : QStringLiteral("Календарь из %1 не прочитан: %2. Событий нет.")
                              .arg(name_, state.failure);
    return notice;
}

QDate FeedCalendar::currentDay(const QDateTime& now) const {
    return wallClockAt(settings_.zones.local, now.toSecsSinceEpoch()).date;
}

std::vector<CalendarEvent> FeedCalendar::week(QDate monday) const {
    std::shared_ptr<const FeedDocument> document;
    {
        const std::lock_guard lock(mutex_);
        document = state_.document;
    }
    return document ? document->week(monday) : std::vector<CalendarEvent>{};
}

QByteArray FeedCalendar::page(QDate monday) const {
    State state;
    {
        const std::lock_guard lock(mutex_);
        state = state_;
    }
    const std::vector<CalendarEvent> events =
        state.document ? state.document->week(monday) : std::vector<CalendarEvent>{};
    return weekPageHtml(monday, events, notice(state, clock_.now()));
}

} // namespace newsbell
