#include "core/TableTextFile.h"

#include "base/Error.h"
#include "base/ReplaceFile.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace newsbell {

namespace {

// Whether the program was started with a standard output, taken before anything opens files.
const bool standardOutputOpenAtStart = ::fcntl(STDOUT_FILENO, F_GETFD) != -1;

// Pieces no larger than this go into a pipe with room for them whole, without blocking.
constexpr size_t pieceSize = PIPE_BUF;

// Rows from firstRow on, columns from firstColumn on, ";" between cells, CR LF after each row.
void joinRows(const EventTable& table, int firstRow, int firstColumn, std::string& out) {
    for (int r = firstRow; r < table.rowCount(); ++r) {
        const Row& row = table.row(r);
        for (int c = firstColumn; c < columnCount; ++c) {
            out += row[size_t(c)];
            out += c + 1 < columnCount ? ";" : "\r\n";
        }
    }
}

bool isStandardOutput(const QString& fileName) {
    return fileName == QLatin1String("-");
}

[[noreturn]] void failOutput(const QString& fileName, const QString& reason) {
    const QString message =
        isStandardOutput(fileName)
            ? QStringLiteral("Не удалось записать в стандартный вывод: %1").arg(reason)
            : QStringLiteral("Не удалось сохранить файл «%1»: %2").arg(fileName, reason);
    throw Error(message.toStdString());
}

// The reason in Russian whatever the locale, for the errors an output meets most.
QString reasonOf(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("нет места на устройстве");
    case EPIPE:
        return QStringLiteral("читатель закрыл канал");
    case ENXIO:
        return QStringLiteral("устройство недоступно");
    case ELOOP:
        return QStringLiteral("символические ссылки ведут по кругу");
    case EROFS:
        return QStringLiteral("файловая система только для чтения");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на запись");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода");
    default:
        return qt_error_string(error);
    }
}

// Where a write to a name goes.
struct Output {
    bool inPlace = false; // standard output, a FIFO or a device: written, never replaced
    bool fifo = false;
    QString path; // the file replaced: a symbolic link's final target
};

// A symbolic link's final target, which need not exist yet; other names as they are.
QString finalPath(const QString& fileName) {
    QFileInfo info(fileName);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

// Refuses what no write can go to, before anything is touched.
Output outputOf(const QString& fileName) {
    if (isStandardOutput(fileName)) return {true, false, fileName};
    struct stat status {};
    if (::stat(QFile::encodeName(fileName).constData(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) failOutput(fileName, QStringLiteral("это папка"));
        if (!S_ISREG(status.st_mode)) return {true, S_ISFIFO(status.st_mode), fileName};
    } else if (errno != ENOENT && errno != ENOTDIR) { // a loop of links among them
        failOutput(fileName, reasonOf(errno));
    }
    const QString path = finalPath(fileName);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        failOutput(fileName, QStringLiteral("нет папки «%1»").arg(folder));
    return {false, false, path};
}

// Holds SIGPIPE back on this thread while it lives, so that a reader that went away fails the
// write with EPIPE instead of ending the program; a SIGPIPE raised meanwhile is dropped.
class PipeSignalHeld {
public:
    PipeSignalHeld() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~PipeSignalHeld() {
        const timespec none{};
        while (sigtimedwait(&pipe_, nullptr, &none) == SIGPIPE) {
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t pipe_{};
    sigset_t previous_{};
};

// Writes in pieces a pipe takes without blocking, so that a reader that stops reading ends the
// write after a bounded wait instead of never.
void writeAll(int descriptor, std::string_view bytes, const QString& fileName) {
    constexpr int stallSeconds = 30;
    while (!bytes.empty()) {
        pollfd ready{descriptor, POLLOUT, 0};
        const int polled = ::poll(&ready, 1, stallSeconds * 1000);
        if (polled == 0)
            failOutput(fileName, QStringLiteral("данные не принимаются %1 с").arg(stallSeconds));
        const ssize_t written =
            polled < 0 ? -1 : ::write(descriptor, bytes.data(), std::min(bytes.size(), pieceSize));
        if (written < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (written < 0) failOutput(fileName, reasonOf(errno));
        if (written == 0) failOutput(fileName, QStringLiteral("устройство не принимает данные"));
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

void writeInPlace(const QString& fileName, const Output& output, std::string_view bytes) {
    const PipeSignalHeld held;
    if (isStandardOutput(fileName)) {
        // A descriptor 1 opened later by the program itself is no standard output.
        if (!standardOutputOpenAtStart) failOutput(fileName, QStringLiteral("он закрыт"));
        std::fflush(stdout);
        writeAll(STDOUT_FILENO, bytes, fileName);
        return;
    }
    // Without O_NONBLOCK a FIFO that nobody reads would hold the open for ever.
    const int descriptor = ::open(QFile::encodeName(fileName).constData(),
                                  O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        failOutput(fileName, errno == ENXIO && output.fifo ? QStringLiteral("канал никто не читает")
                                                           : reasonOf(errno));
    const auto closed = qScopeGuard([descriptor] { ::close(descriptor); });
    writeAll(descriptor, bytes, fileName);
}

} // namespace

std::string tableText(const EventTable& table) {
    std::string out;
    appendTableText(table, 1, out);
    return out;
}

void appendTableText(const EventTable& table, int firstRow, std::string& out) {
    joinRows(table, std::max(firstRow, 1), 1, out);
}

std::string gridText(const EventTable& table) {
    std::string out;
    joinRows(table, 0, 0, out);
    return out;
}

bool isStreamOutput(const QString& fileName) {
    struct stat status {};
    return isStandardOutput(fileName) ||
           (::stat(QFile::encodeName(fileName).constData(), &status) == 0 &&
            !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode));
}

void checkOutputFile(const QString& fileName) {
    outputOf(fileName);
}

void writeFileAtomically(const QString& fileName, std::string_view bytes) {
    const Output output = outputOf(fileName);
    if (output.inPlace) {
        writeInPlace(fileName, output, bytes);
        return;
    }
    const QString failure = replaceFile(output.path, bytes);
    if (!failure.isEmpty()) failOutput(fileName, failure);
}

void WriteTableTextFile(const EventTable& table, const QString& fileName) {
    writeFileAtomically(fileName, tableText(table));
}

} // namespace newsbell
