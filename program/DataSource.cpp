#include "program/DataSource.h"

#include "calendar/FeedFetch.h"
#include "calendar/FeedTime.h"
#include "widgets/WidgetStyle.h"

#include <QFileInfo>

namespace newsbell {

namespace {

// A typed text that is an address rather than a file's name.
bool looksLikeAddress(const QString& trimmed) {
    return trimmed.contains(QLatin1String("://"));
}

// What is wrong with a web address.
QString webAddressProblem(const QUrl& url) {
    if (url.host().isEmpty()) return text("В адресе нет имени сервера.");
    return {};
}

QTimeZone zoneOr(const QString& name, const QTimeZone& otherwise) {
    const QTimeZone zone = zoneNamed(name);
    return zone.isValid() ? zone : otherwise;
}

// "07.12 19:27" on the clock of zone.
QString momentText(const QDateTime& moment, const QTimeZone& zone) {
    const WallClock clock = wallClockAt(zone, moment.toSecsSinceEpoch());
    return clock.date.toString(QStringLiteral("dd.MM")) + u' ' +
           clock.time.toString(QStringLiteral("HH:mm"));
}

} // namespace

bool DataSource::sameCalendar(const DataSource& other) const {
    if (kind != other.kind) return false;
    switch (kind) {
    case Demo:
        return true;
    case Page:
        return page == other.page;
    case Feed:
        return feed == other.feed && feedZone == other.feedZone && tableZone == other.tableZone;
    }
    return false;
}

QString pageAddressProblem(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty()) return text("Введите адрес страницы календаря.");
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return text("Это не адрес страницы: нужен вид http://сервер/путь.");
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("file"))
        return url.path().isEmpty() ? text("В адресе file:// нет пути к файлу.") : QString();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return text("Адрес страницы должен начинаться с http://, https:// или file://.");
    return webAddressProblem(url);
}

QUrl pageAddress(const QString& typed) {
    return QUrl(typed.trimmed(), QUrl::StrictMode);
}

QString feedSourceProblem(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty()) return text("Укажите файл ленты или её адрес.");
    if (!looksLikeAddress(trimmed)) return {};
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid()) return text("Это не адрес ленты: нужен вид https://сервер/путь.");
    if (url.isLocalFile())
        return url.toLocalFile().isEmpty() ? text("В адресе file:// нет пути к файлу.") : QString();
    if (!isWebAddress(trimmed))
        return text("Лента читается из файла или по адресу http:// или https://.");
    return webAddressProblem(url);
}

QString feedSource(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (isWebAddress(trimmed)) return trimmed;
    const QString file =
        looksLikeAddress(trimmed) ? QUrl(trimmed, QUrl::StrictMode).toLocalFile() : trimmed;
    return QFileInfo(file).absoluteFilePath();
}

QString zoneProblem(const QString& typed, const QString& field) {
    if (zoneNamed(typed.trimmed()).isValid()) return {};
    return text("%1: нет часового пояса «%2»; нужно имя из базы поясов, например Europe/Berlin.")
        .arg(field, typed.trimmed());
}

QString dataSourceProblem(const DataSource& source) {
    switch (source.kind) {
    case DataSource::Demo:
        return {};
    case DataSource::Page:
        return pageAddressProblem(source.page.toString());
    case DataSource::Feed:
        break;
    }
    QString problem = feedSourceProblem(source.feed);
    if (problem.isEmpty()) problem = zoneProblem(source.feedZone, text("Пояс ленты"));
    if (problem.isEmpty() && !source.tableZone.isEmpty())
        problem = zoneProblem(source.tableZone, text("Пояс таблицы"));
    return problem;
}

FeedSettings feedSettings(const DataSource& source) {
    FeedSettings settings;
    settings.source = source.feed;
    settings.zones.local = zoneOr(source.tableZone, QTimeZone::systemTimeZone());
    settings.zones.feed = zoneOr(source.feedZone, QTimeZone::utc());
    return settings;
}

QString pageName(const QUrl& page) {
    return page.toString(QUrl::RemoveUserInfo);
}

QString sourceLine(const DataSource& source) {
    if (source.kind == DataSource::Page) return text("Страница: ") + pageName(source.page);
    return text("Демонстрационный календарь");
}

QString feedLine(const QString& source, const QTimeZone& zone, const FeedFreshness& freshness) {
    const QString start = text("Лента: ") + sourceName(source);
    const auto at = [&zone](const QDateTime& moment) { return momentText(moment, zone); };
    if (!freshness.failure.isEmpty())
        return (freshness.readAt.isNull()
                    ? start + text(" не прочитана")
                    : text("%1, копия от %2").arg(start, at(freshness.readAt))) +
               text(": %1 (с %2)").arg(freshness.failure, at(freshness.failingSince));
    if (freshness.readAt.isNull()) return start + text(", читается...");
    return freshness.readThisRun
               ? text("%1, прочитана %2").arg(start, at(freshness.readAt))
               : text("%1, копия от %2, читается...").arg(start, at(freshness.readAt));
}

} // namespace newsbell
