#include "base/ReplaceFile.h"

#include <QSaveFile>

namespace newsbell {

QString replaceFile(const QString& fileName, std::string_view bytes) {
    QSaveFile file(fileName);
    // Unbuffered, so that every write fails here if it fails: commit() flushes a buffer
    // without looking at the result, and renames a file cut short by a full disk over the
    // good one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
    // A short write is carried on, so that the one that fails tells why.
    while (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), qint64(bytes.size()));
        if (written <= 0) return file.errorString(); // not committed: the file beside goes
        bytes.remove_prefix(size_t(written));
    }
    if (!file.commit()) return file.errorString();
    return {};
}

} // namespace newsbell
