#include "calendar/FeedFetch.h"

#include "calendar/FeedDocument.h"
#include "calendar/SocketBytes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTimeZone>
#include <QUrl>
#include <algorithm>
#include <condition_variable>
#include <fcntl.h>
#include <httplib.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace newsbell {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::chrono::seconds connectTime{10};
constexpr time_t readSeconds = 20;
// Debian's bundle of trusted authorities.
constexpr char authorityBundle[] = "/etc/ssl/certs/ca-certificates.crt";

FetchedFeed failure(const QString& error) {
    FetchedFeed fetched;
    fetched.error = error;
    return fetched;
}

QString tooLarge() {
    return QStringLiteral("документ больше %1 МБ").arg(largestFeedDocument / (1024 * 1024));
}

QString systemProblem(const QString& what) {
    return what + QStringLiteral(": ") + qt_error_string(errno);
}

FetchedFeed readFile(const QString& source) {
    const QUrl url(source);
    const QString path = url.isLocalFile() ? url.toLocalFile() : source;
    // Opened without waiting, or a FIFO would wait for a writer for ever.
    const int handle =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) return failure(systemProblem(QStringLiteral("файл не открывается")));
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return failure(QStringLiteral("файл не открывается: ") + file.errorString());
    }
    struct stat status {};
    if (::fstat(handle, &status) != 0)
        return failure(systemProblem(QStringLiteral("файл не читается")));
    // A device or a FIFO may never end, and a folder is no document.
    if (!S_ISREG(status.st_mode))
        return failure(QStringLiteral("это не обычный файл, а канал, устройство или папка"));
    if (status.st_size > largestFeedDocument) return failure(tooLarge());
    FetchedFeed fetched;
    // One byte past the bound tells a file that grows (or lies about its size) too large.
    fetched.body = file.read(largestFeedDocument + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("файл не читается: ") + file.errorString());
    if (fetched.body.size() > largestFeedDocument) return failure(tooLarge());
    fetched.status = FetchedFeed::Fresh;
    return fetched;
}

// Headers that no feed needs; a server that keeps sending them would fill the memory.
constexpr quint64 largestHeaders = 1024 * 1024;

// Stops the request of a client from another thread once the read's deadline has passed, cancel
// is set, or more has come than a document and its headers may take: the library's time-outs
// bound each wait for a byte, not the whole, and it keeps every header line it gets. The stop is
// repeated until the request is over, since one that comes while connecting does nothing.
class Watchdog {
public:
    enum Stop { None, Late, Cancelled, LongHeaders, TooLarge };

    Watchdog(httplib::Client& client, SteadyClock::time_point deadline,
             const std::atomic<bool>* cancel)
        : client_(client), deadline_(deadline), cancel_(cancel) {
        client_.set_socket_options([this](socket_t socket) { socket_ = socket; });
        thread_ = std::thread([this] { watch(); });
    }
    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            over_ = true;
        }
        woken_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // From the first byte of the body on, the bound is the document's.
    void bodyStarted() { bodyStarted_ = true; }

    Stop stopped() const {
        const std::lock_guard lock(mutex_);
        return stopped_;
    }

private:
    // Whether more has come than the headers, or the headers and a document, may take.
    Stop overflow() const {
        const int socket = socket_;
        const std::optional<quint64> received = socket < 0 ? std::nullopt : bytesReceived(socket);
        if (!received) return None;
        if (!bodyStarted_) return *received > largestHeaders ? LongHeaders : None;
        return *received > largestHeaders + quint64(largestFeedDocument) ? TooLarge : None;
    }

    void watch() {
        constexpr std::chrono::milliseconds tick{50};
        std::unique_lock lock(mutex_);
        while (!over_) {
            if (stopped_ == None && cancel_ && *cancel_) stopped_ = Cancelled;
            if (stopped_ == None && SteadyClock::now() >= deadline_) stopped_ = Late;
            if (stopped_ == None) stopped_ = overflow();
            if (stopped_ != None) {
                lock.unlock();
                client_.stop();
                lock.lock();
            }
            woken_.wait_for(lock, tick);
        }
    }

    httplib::Client& client_;
    const SteadyClock::time_point deadline_;
    const std::atomic<bool>* const cancel_;
    std::atomic<int> socket_{-1};
    std::atomic<bool> bodyStarted_{false};
    mutable std::mutex mutex_;
    std::condition_variable woken_;
    bool over_ = false;
    Stop stopped_ = None;
    std::thread thread_;
};

QString connectionProblem(httplib::Error error) {
    switch (error) {
    case httplib::Error::Connection:
        return QStringLiteral("нет соединения с сервером");
    case httplib::Error::ConnectionTimeout:
        return QStringLiteral("сервер не ответил за %1 с").arg(connectTime.count());
    case httplib::Error::Read:
        return QStringLiteral("ответ сервера оборвался или не пришёл вовремя");
    case httplib::Error::SSLConnection:
        return QStringLiteral("защищённое соединение не установлено");
    case httplib::Error::SSLServerVerification:
        return QStringLiteral("сертификат сервера не прошёл проверку");
    case httplib::Error::ExceedRedirectCount:
        return QStringLiteral("слишком много перенаправлений");
    default:
        return QStringLiteral("ошибка HTTP-клиента: ") +
               QString::fromStdString(httplib::to_string(error));
    }
}

// The bounds of one remote read, over all its redirects.
struct ReadBounds {
    std::chrono::milliseconds allowed;
    SteadyClock::time_point deadline;
    const std::atomic<bool>* cancel;
};

QString lateProblem(std::chrono::milliseconds allowed) {
    return QStringLiteral("документ не пришёл за %1 с")
        .arg(QString::number(double(allowed.count()) / 1000, 'g', 3));
}

struct Answer {
    int status = 0;
    QString location;   // of a redirect
    QString retryAfter; // of a server too busy
    QString error;      // no answer, or a download cut short
};

Answer get(const QUrl& url, const FeedValidators& validators, const ReadBounds& bounds,
           FetchedFeed& fetched) {
    const QString origin =
        url.toString(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                     QUrl::RemoveFragment | QUrl::FullyEncoded);
    std::string path = url.path(QUrl::FullyEncoded).toStdString();
    if (path.empty()) path = "/";
    if (url.hasQuery()) path += "?" + url.query(QUrl::FullyEncoded).toStdString();

    httplib::Client client(origin.toStdString());
    // A connection under way cannot be stopped from outside: it ends by the deadline itself.
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(bounds.deadline - SteadyClock::now());
    const auto connecting = std::clamp<std::chrono::microseconds>(left, {}, connectTime);
    client.set_connection_timeout(connecting);
    client.set_read_timeout(readSeconds);
    client.set_write_timeout(readSeconds);
    if (QFileInfo::exists(QLatin1String(authorityBundle))) client.set_ca_cert_path(authorityBundle);
    if (!url.userName().isEmpty())
        client.set_basic_auth(url.userName().toStdString(), url.password().toStdString());

    httplib::Headers headers = {
        {"User-Agent", "Newsbell/" + QCoreApplication::applicationVersion().toStdString()}};
    if (!validators.etag.isEmpty()) headers.emplace("If-None-Match", validators.etag.toStdString());
    if (!validators.lastModified.isEmpty())
        headers.emplace("If-Modified-Since", validators.lastModified.toStdString());

    Answer answer;
    fetched.body.clear();
    Watchdog watchdog(client, bounds.deadline, bounds.cancel);
    const auto result = client.Get(path, headers, [&](const char* data, size_t length) {
        watchdog.bodyStarted();
        if (fetched.body.size() + qsizetype(length) > largestFeedDocument) {
            answer.error = tooLarge();
            return false;
        }
        fetched.body.append(data, qsizetype(length));
        return true;
    });
    switch (watchdog.stopped()) {
    case Watchdog::Late:
        answer.error = lateProblem(bounds.allowed);
        return answer;
    case Watchdog::Cancelled:
        answer.error = QStringLiteral("чтение прервано");
        return answer;
    case Watchdog::LongHeaders:
        answer.error = QStringLiteral("заголовки ответа больше %1 МБ").arg(largestHeaders >> 20);
        return answer;
    case Watchdog::TooLarge:
        answer.error = tooLarge();
        return answer;
    case Watchdog::None:
        break;
    }
    if (!answer.error.isEmpty()) return answer;
    if (!result) {
        answer.error = connectionProblem(result.error());
        return answer;
    }
    answer.status = result->status;
    answer.location = QString::fromStdString(result->get_header_value("Location"));
    answer.retryAfter = QString::fromStdString(result->get_header_value("Retry-After"));
    fetched.validators = {QString::fromStdString(result->get_header_value("ETag")),
                          QString::fromStdString(result->get_header_value("Last-Modified"))};
    return answer;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Redirects are followed here: the library would take "304 Not Modified" for one.
FetchedFeed download(const QString& source, const FeedValidators& validators,
                     const ReadBounds& bounds) {
    constexpr int mostRedirects = 5;
    QUrl url(source);
    FetchedFeed fetched;
    for (int redirects = 0;; ++redirects) {
        const Answer answer = get(url, validators, bounds, fetched);
        if (!answer.error.isEmpty()) return failure(answer.error);
        if (answer.status == 304) {
            fetched.status = FetchedFeed::Unchanged;
            return fetched;
        }
        if (answer.status == 200) {
            fetched.status = FetchedFeed::Fresh;
            return fetched;
        }
        if (!isRedirect(answer.status) || answer.location.isEmpty()) {
            FetchedFeed refused =
                failure(QStringLiteral("сервер ответил HTTP %1").arg(answer.status));
            // Too many requests, or too busy: the server may say when to come again.
            if (answer.status == 429 || answer.status == 503)
                refused.retryAfter = answer.retryAfter.trimmed();
            return refused;
        }
        if (redirects == mostRedirects)
            return failure(connectionProblem(httplib::Error::ExceedRedirectCount));
        url = url.resolved(QUrl(answer.location));
        if (!isWebAddress(url.toString()))
            return failure(QStringLiteral("перенаправление не на веб-адрес: ") + answer.location);
    }
}

} // namespace

std::optional<QDateTime> retryTime(QStringView retryAfter, const QDateTime& now) {
    constexpr qint64 longestWait = 24 * 3600;
    const QDateTime latest = now.addSecs(longestWait);
    if (retryAfter.isEmpty()) return std::nullopt;
    bool number = false;
    const qint64 seconds = retryAfter.toLongLong(&number);
    if (number && retryAfter.front().isDigit()) return now.addSecs(std::min(seconds, longestWait));
    // An HTTP date: its preferred form, and the two obsolete ones it replaced. The weekday
    // before the first blank is left aside (Qt would check it against a two-digit year's century).
    const QString date = retryAfter.toString().simplified().section(u' ', 1);
    for (const QLatin1StringView format : {QLatin1StringView("dd MMM yyyy HH:mm:ss 'GMT'"),
                                           QLatin1StringView("dd-MMM-yy HH:mm:ss 'GMT'"),
                                           QLatin1StringView("MMM d HH:mm:ss yyyy")}) {
        QDateTime at = QLocale::c().toDateTime(date, format);
        if (!at.isValid()) continue;
        // A two-digit year is of this century.
        if (at.date().year() < 1970) at = at.addYears(100);
        at.setTimeZone(QTimeZone::utc());
        return std::min(at, latest);
    }
    return std::nullopt;
}

bool isWebAddress(const QString& source) {
    return source.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           source.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString sourceName(const QString& source) {
    if (!isWebAddress(source)) return source;
    return QUrl(source).toString(QUrl::RemoveUserInfo);
}

FetchedFeed fetchFeed(const QString& source, const FeedValidators& validators,
                      std::chrono::milliseconds deadline, const std::atomic<bool>* cancel) {
    if (!isWebAddress(source)) return readFile(source);
    return download(source, validators, {deadline, SteadyClock::now() + deadline, cancel});
}

} // namespace newsbell
