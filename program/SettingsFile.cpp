#include "program/SettingsFile.h"

#include <QSaveFile>
#include <QStandardPaths>
#include <QStringConverter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace newsbell {

namespace {

enum class Line { Blank, Section, Key, Bad };

bool isSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\f' || ch == '\v';
}

// A line as QSettings reads it: a backslash takes the next character with it (at the end of the
// line, the line break: the next line goes on), quotes hold ";", "=" and line breaks, an
// unquoted ";" starts a comment, a section is "[" up to a "]" before that comment.
Line kindOf(QByteArrayView line) {
    qsizetype at = 0;
    while (at < line.size() && isSpace(line[at])) ++at;
    if (at == line.size() || line[at] == ';') return Line::Blank;
    const qsizetype start = at;
    bool quoted = false, closed = false;
    qsizetype equals = -1;
    for (; at < line.size(); ++at) {
        char ch = line[at];
        if (ch == '\\') {
            if (++at == line.size()) return Line::Bad;
            ch = line[at];
        } else if (ch == '"') {
            quoted = !quoted;
        } else if (!quoted && ch == ';') {
            break;
        } else if (!quoted && ch == '=' && equals < 0) {
            equals = at;
        }
        closed = closed || ch == ']';
    }
    if (quoted) return Line::Bad;
    if (line[start] == '[') return closed ? Line::Section : Line::Bad;
    if (equals < 0) return Line::Bad;
    return line.sliced(start, equals - start).trimmed().isEmpty() ? Line::Bad : Line::Key;
}

// Text QSettings would read other than it stands: invalid UTF-8, a NUL, a character that was
// already replaced once, a byte-order mark past the start (dropped, had it come first).
bool garbled(QByteArrayView line) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    const QString text = utf8(line);
    return utf8.hasError() || text.contains(QChar(0)) ||
           text.contains(QChar::ReplacementCharacter) || text.contains(QChar::ByteOrderMark);
}

// "строка 3" or "строки 3, 7, 12"; the first few numbers only.
QString linesText(const QList<int>& numbers) {
    constexpr qsizetype named = 5;
    QStringList shown;
    for (int number : numbers.first(std::min(named, numbers.size())))
        shown << QString::number(number);
    if (numbers.size() > named) shown << QStringLiteral("…");
    return numbers.size() == 1
               ? QStringLiteral("строка %1 не читается").arg(shown.first())
               : QStringLiteral("строки %1 не читаются").arg(shown.join(QStringLiteral(", ")));
}

// The text as UTF-8: a byte-order mark of UTF-16 or UTF-32 is read through; UTF-8's own is
// dropped, as QSettings drops it.
QByteArray asUtf8(const QByteArray& bytes, QStringList& problems) {
    const std::optional<QStringConverter::Encoding> encoding =
        QStringConverter::encodingForData(bytes);
    if (!encoding || *encoding == QStringConverter::Utf8)
        return bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    problems << QStringLiteral("он записан в кодировке %1, а не UTF-8")
                    .arg(QLatin1String(QStringConverter::nameForEncoding(*encoding)));
    QStringDecoder decode(*encoding);
    return QString(decode(bytes)).toUtf8();
}

} // namespace

SettingsText readSettingsText(const QByteArray& bytes) {
    if (bytes.size() > largestSettingsFile)
        return {{}, QStringLiteral("он больше %1 МБ").arg(largestSettingsFile / (1024 * 1024))};
    QStringList problems;
    const QByteArray text = asUtf8(bytes, problems);
    SettingsText result;
    QList<int> unreadable;
    bool inReadableSection = true;
    int number = 0;
    for (QByteArray physical : text.split('\n')) {
        ++number;
        if (physical.endsWith('\r')) physical.chop(1);
        // QSettings ends a line at a lone carriage return too.
        for (const QByteArray& line : physical.split('\r')) {
            Line kind = garbled(line) ? Line::Bad : kindOf(line);
            if (kind == Line::Bad) {
                if (unreadable.isEmpty() || unreadable.last() != number) unreadable << number;
                // Its keys would land in a section nobody can name.
                if (line.trimmed().startsWith('[')) inReadableSection = false;
                continue;
            }
            if (kind == Line::Blank) continue;
            if (kind == Line::Section) inReadableSection = true;
            if (kind == Line::Key && !inReadableSection) continue;
            result.readable += line;
            result.readable += '\n';
        }
    }
    if (!unreadable.isEmpty()) problems << linesText(unreadable);
    result.problem = problems.join(QStringLiteral("; "));
    return result;
}

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file's bytes, no further than a little past the bound; the file is opened without
// waiting (a FIFO with no writer would hold the start for ever) and read only when regular.
struct FileBytes {
    enum { Missing, NotRegular, Unreadable, Read } state = Missing;
    QByteArray bytes;
    QString error; // Unreadable
};

FileBytes readSettingsBytes(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    FileBytes file;
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        struct stat status {};
        if (::stat(name.constData(), &status) != 0) return file; // nothing there yet
        file.state = S_ISREG(status.st_mode) ? FileBytes::Unreadable : FileBytes::NotRegular;
        file.error = systemError(error);
        return file;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        file.state = FileBytes::NotRegular;
        return file;
    }
    file.state = FileBytes::Read;
    char buffer[65536];
    while (file.bytes.size() <= largestSettingsFile) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            file.state = FileBytes::Unreadable;
            file.error = systemError(errno);
            break;
        }
        file.bytes.append(buffer, got);
    }
    ::close(descriptor);
    return file;
}

// path.bad, else path.bad.2, .bad.3, ...: an earlier file kept aside is never replaced.
QString putAside(const QString& path, QString& error) {
    constexpr int mostTries = 100;
    for (int attempt = 1; attempt <= mostTries; ++attempt) {
        const QString aside = path + QStringLiteral(".bad") +
                              (attempt > 1 ? u'.' + QString::number(attempt) : QString());
        if (::renameat2(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD,
                        QFile::encodeName(aside).constData(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno != EEXIST) {
            error = systemError(errno);
            return {};
        }
    }
    error = QStringLiteral("все имена до %1.bad.%2 заняты").arg(path).arg(mostTries);
    return {};
}

bool writeWhole(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    error = file.errorString();
    return false;
}

// Settings read from text and kept nowhere: this run's changes go to a temporary file that
// goes with the store.
std::unique_ptr<QSettings> unkeptSettings(const QByteArray& text) {
    auto file = std::make_unique<QTemporaryFile>();
    if (file->open()) {
        file->write(text);
        file->close();
    }
    auto store = std::make_unique<QSettings>(file->fileName(), QSettings::IniFormat);
    file.release()->setParent(store.get());
    return store;
}

} // namespace

OpenedSettings openSettingsFile(const QString& path) {
    const FileBytes file = readSettingsBytes(path);
    if (file.state == FileBytes::NotRegular)
        return {nullptr, QStringLiteral("Файл настроек %1 — не обычный файл: настройки не "
                                        "прочитаны и не будут сохранены.")
                             .arg(path)};
    SettingsText text;
    if (file.state == FileBytes::Unreadable)
        text.problem = QStringLiteral("он не читается: ") + file.error;
    else if (file.state == FileBytes::Read)
        text = readSettingsText(file.bytes);
    if (text.problem.isEmpty())
        return {std::make_unique<QSettings>(path, QSettings::IniFormat), {}};

    const QString unread =
        QStringLiteral("Файл настроек %1 прочитан не целиком: %2.").arg(path, text.problem);
    QString error;
    const QString aside = putAside(path, error);
    if (aside.isEmpty())
        return {unkeptSettings(text.readable),
                unread + QStringLiteral(" Отложить его не удалось (%1), поэтому он не тронут; "
                                        "взято то, что прочиталось, но настройки этого запуска "
                                        "не сохранятся.")
                             .arg(error)};
    const QString keptAside =
        unread + QStringLiteral(" Он сохранён как %1; взято то, что прочиталось, остальное — "
                                "по умолчанию.")
                     .arg(aside);
    if (!writeWhole(path, text.readable, error))
        return {unkeptSettings(text.readable),
                keptAside + QStringLiteral(" Новый файл не записан (%1): настройки этого запуска "
                                           "не сохранятся.")
                                .arg(error)};
    return {std::make_unique<QSettings>(path, QSettings::IniFormat), keptAside};
}

QString settingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Newsbell/newsbell.ini");
}

} // namespace newsbell
