#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace newsbell::testing {

// A file's bytes as they stand, or "<missing>" when it cannot be read, so that a comparison
// with expected bytes fails with something to read.
inline std::string readFileBytes(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

inline std::string readFileBytes(const std::filesystem::path& path) {
    return readFileBytes(QString::fromStdString(path.string()));
}

// What waits in a pipe or FIFO opened without blocking (up to 64 KiB).
inline std::string readWaiting(int descriptor) {
    std::string bytes(size_t{1} << 16, '\0');
    const ssize_t got = ::read(descriptor, bytes.data(), bytes.size());
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
}

} // namespace newsbell::testing
