// Whatever a settings file holds, what is taken from it must read whole, and read in QSettings
// without an error; and a file said to read whole must read so in QSettings too.
#include "program/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

using namespace newsbell;

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// QSettings reads files only.
QSettings::Status statusOf(const QByteArray& text) {
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fuzz.ini"));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(text) == text.size());
    }
    return QSettings(path, QSettings::IniFormat).status();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const SettingsText text = readSettingsText(bytes);
    check(readSettingsText(text.readable).problem.isEmpty());
    check(statusOf(text.readable) == QSettings::NoError);
    if (text.problem.isEmpty()) check(statusOf(bytes) == QSettings::NoError);
    return 0;
}
