// The note of a kept copy, whatever it holds: the input is a note, then a NUL and the body kept
// beside it. A copy comes back only as the body on disk, and only when the note names its
// checksum; no note makes the cache read or remove a file of another source or folder.
#include "calendar/FeedCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

using namespace newsbell;

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

const QString source = QStringLiteral("http://127.0.0.1:9/feed.xml");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QTemporaryDir folder;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArray note = split < 0 ? input : input.first(split);
    const QByteArray body = split < 0 ? QByteArray() : input.sliced(split + 1);

    const QString cacheFolder = folder.filePath(QStringLiteral("cache"));
    const FeedCache cache(cacheFolder);
    cache.store(source, {body, {}, {}});
    // Another source's copy, and a file outside, which no note may reach.
    cache.store(QStringLiteral("other"), {QByteArrayLiteral("other"), {}, {}});
    QDir dir(cacheFolder);
    const QStringList notes = dir.entryList({QStringLiteral("*.json")});
    for (const QString& name : notes) {
        QFile file(dir.filePath(name));
        check(file.open(QIODevice::ReadOnly));
        if (!file.readAll().contains("\"other\"")) {
            file.close();
            check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(note);
        }
    }
    const std::optional<FeedCopy> copy = cache.load(source);
    if (copy) {
        check(copy->body == body);
        const QByteArray sum = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
        check(note.contains(sum));
    }
    const std::optional<FeedCopy> other = cache.load(QStringLiteral("other"));
    check(other && other->body == "other");
    return 0;
}
