#include "calendar/FeedCache.h"

#include "base/Error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace newsbell {

namespace {

QString checksum(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

void replaceFile(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(QStringLiteral("Копия календаря не сохранена в %1: %2")
                        .arg(QDir::toNativeSeparators(fileName), file.errorString())
                        .toStdString());
}

} // namespace

FeedCache::FeedCache(QString folder) : folder_(std::move(folder)) {}

QString FeedCache::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/feeds");
}

QString FeedCache::fileName(const QString& source, const char* suffix) const {
    const QByteArray key = QCryptographicHash::hash(source.toUtf8(), QCryptographicHash::Sha1);
    return folder_ + u'/' + QString::fromLatin1(key.toHex()) + QLatin1String(suffix);
}

std::optional<FeedCopy> FeedCache::load(const QString& source) const {
    QFile noteFile(fileName(source, ".json")), bodyFile(fileName(source, ".feed"));
    if (!noteFile.open(QIODevice::ReadOnly) || !bodyFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject note = QJsonDocument::fromJson(noteFile.readAll()).object();
    FeedCopy copy;
    copy.body = bodyFile.readAll();
    if (note.value(QStringLiteral("source")).toString() != sourceName(source) ||
        note.value(QStringLiteral("sha256")).toString() != checksum(copy.body))
        return std::nullopt;
    copy.validators = {note.value(QStringLiteral("etag")).toString(),
                       note.value(QStringLiteral("lastModified")).toString()};
    copy.readAt =
        QDateTime::fromString(note.value(QStringLiteral("readAt")).toString(), Qt::ISODate);
    return copy;
}

void FeedCache::store(const QString& source, const FeedCopy& copy) const {
    if (!QDir().mkpath(folder_))
        throw Error(QStringLiteral("Папка для копий календаря не создаётся: %1")
                        .arg(QDir::toNativeSeparators(folder_))
                        .toStdString());
    const QString sum = checksum(copy.body);
    // The note names the source without a password that its address may hold.
    const QJsonObject note{{QStringLiteral("source"), sourceName(source)},
                           {QStringLiteral("etag"), copy.validators.etag},
                           {QStringLiteral("lastModified"), copy.validators.lastModified},
                           {QStringLiteral("readAt"), copy.readAt.toUTC().toString(Qt::ISODate)},
                           {QStringLiteral("sha256"), sum}};
    // An unchanged feed only gets its note renewed.
    QFile oldNote(fileName(source, ".json"));
    const bool sameBody = oldNote.open(QIODevice::ReadOnly) &&
                          QJsonDocument::fromJson(oldNote.readAll())
                                  .object()
                                  .value(QStringLiteral("sha256"))
                                  .toString() == sum &&
                          QFile::exists(fileName(source, ".feed"));
    if (!sameBody) replaceFile(fileName(source, ".feed"), copy.body);
    replaceFile(fileName(source, ".json"), QJsonDocument(note).toJson());
}

} // namespace newsbell
