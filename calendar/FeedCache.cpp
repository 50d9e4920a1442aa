#include "calendar/FeedCache.h"

#include "base/Error.h"
#include "base/ReplaceFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <algorithm>

namespace newsbell {

namespace {

QString checksum(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

bool isChecksum(const QString& text) {
    return text.size() == 64 && std::ranges::all_of(text, [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
           });
}

void keepFile(const QString& fileName, const QByteArray& bytes) {
    const QString failure =
        replaceFile(fileName, std::string_view(bytes.data(), size_t(bytes.size())));
    if (!failure.isEmpty())
        throw Error(QStringLiteral("Копия календаря не сохранена в %1: %2")
                        .arg(QDir::toNativeSeparators(fileName), failure)
                        .toStdString());
}

std::optional<QByteArray> fileBytes(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

} // namespace

FeedCache::FeedCache(QString folder) : folder_(std::move(folder)) {}

QString FeedCache::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/feeds");
}

QString FeedCache::prefix(const QString& source) const {
    const QByteArray key = QCryptographicHash::hash(source.toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(key.toHex()) + u'.';
}

QString FeedCache::noteName(const QString& source) const {
    return prefix(source) + QStringLiteral("json");
}

QString FeedCache::paceName(const QString& source) const {
    return prefix(source) + QStringLiteral("pace");
}

QString FeedCache::bodyName(const QString& source, const QString& sum) const {
    return prefix(source) + sum + QStringLiteral(".feed");
}

QString FeedCache::path(const QString& name) const {
    return folder_ + u'/' + name;
}

std::optional<FeedCopy> FeedCache::load(const QString& source) const {
    const std::optional<QByteArray> noteBytes = fileBytes(path(noteName(source)));
    if (!noteBytes) return std::nullopt;
    const QJsonObject note = QJsonDocument::fromJson(*noteBytes).object();
    const QString sum = note.value(QLatin1String("sha256")).toString();
    if (note.value(QLatin1String("source")).toString() != sourceName(source) || !isChecksum(sum))
        return std::nullopt;
    // Copies kept before the note named its body have it beside the note.
    std::optional<QByteArray> body = fileBytes(path(bodyName(source, sum)));
    if (!body) body = fileBytes(path(prefix(source) + QStringLiteral("feed")));
    if (!body || checksum(*body) != sum) return std::nullopt;
    FeedCopy copy;
    copy.body = std::move(*body);
    copy.validators = {note.value(QLatin1String("etag")).toString(),
                       note.value(QLatin1String("lastModified")).toString()};
    copy.readAt =
        QDateTime::fromString(note.value(QLatin1String("readAt")).toString(), Qt::ISODate);
    return copy;
}

FeedPace FeedCache::pace(const QString& source) const {
    const QJsonObject note =
        QJsonDocument::fromJson(fileBytes(path(paceName(source))).value_or(QByteArray())).object();
    if (note.value(QLatin1String("source")).toString() != sourceName(source)) return {};
    const auto moment = [&](const char* name) {
        return QDateTime::fromString(note.value(QLatin1String(name)).toString(), Qt::ISODate);
    };
    return {moment("askedAt"), moment("notBefore"), note.value(QLatin1String("failure")).toString(),
            moment("failingSince")};
}

void FeedCache::keepPace(const QString& source, const FeedPace& pace) const {
    makeFolder();
    const auto moment = [](const QDateTime& at) {
        return at.isValid() ? at.toUTC().toString(Qt::ISODate) : QString();
    };
    const QJsonObject note{{QLatin1String("source"), sourceName(source)},
                           {QLatin1String("askedAt"), moment(pace.askedAt)},
                           {QLatin1String("notBefore"), moment(pace.notBefore)},
                           {QLatin1String("failure"), pace.failure},
                           {QLatin1String("failingSince"), moment(pace.failingSince)}};
    keepFile(path(paceName(source)), QJsonDocument(note).toJson());
}

void FeedCache::makeFolder() const {
    if (!QDir().mkpath(folder_))
        throw Error(QStringLiteral("Папка для копий календаря не создаётся: %1")
                        .arg(QDir::toNativeSeparators(folder_))
                        .toStdString());
}

void FeedCache::store(const QString& source, const FeedCopy& copy) const {
    makeFolder();
    const QString sum = checksum(copy.body);
    // The body is written first under a name of its own; the note, renamed over the old one,
    // then makes it the copy. Until then the old note names the old body, still whole.
    const QString body = bodyName(source, sum);
    if (fileBytes(path(body)) != copy.body) keepFile(path(body), copy.body);
    // The note names the source without a password that its address may hold.
    const QJsonObject note{{QLatin1String("source"), sourceName(source)},
                           {QLatin1String("etag"), copy.validators.etag},
                           {QLatin1String("lastModified"), copy.validators.lastModified},
                           {QLatin1String("readAt"), copy.readAt.toUTC().toString(Qt::ISODate)},
                           {QLatin1String("sha256"), sum}};
    keepFile(path(noteName(source)), QJsonDocument(note).toJson());
    removeOthers(source, body);
}

void FeedCache::removeOthers(const QString& source, const QString& body) const {
    // Older bodies, and what a write cut short left behind; not the body that the note names
    // now, which another run may have written meanwhile.
    const std::optional<QByteArray> note = fileBytes(path(noteName(source)));
    const QString named = bodyName(source, QJsonDocument::fromJson(note.value_or(QByteArray()))
                                               .object()
                                               .value(QLatin1String("sha256"))
                                               .toString());
    QDir folder(folder_);
    for (const QString& name :
         folder.entryList({prefix(source) + u'*'}, QDir::Files | QDir::Hidden | QDir::System))
        if (name != noteName(source) && name != paceName(source) && name != body && name != named)
            folder.remove(name);
}

} // namespace newsbell
