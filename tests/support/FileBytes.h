#pragma once

#include <QFile>
#include <QString>
#include <fcntl.h>
#include <filesystem>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
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

// Sets or clears the attribute that keeps even root from changing or replacing a file; false
// where the file system or the user cannot.
inline bool setImmutable(const QString& fileName, bool on) {
    const int descriptor = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK);
    int flags = 0;
    bool done = descriptor >= 0 && ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
    if (descriptor >= 0) ::close(descriptor);
    return done;
}

} // namespace newsbell::testing
