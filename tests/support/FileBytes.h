#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

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

} // namespace newsbell::testing
