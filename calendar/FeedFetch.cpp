#include "calendar/FeedFetch.h"

#include "calendar/FeedDocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <chrono>
#include <httplib.h>

namespace newsbell {

namespace {

constexpr time_t connectSeconds = 10;
constexpr time_t readSeconds = 20;
constexpr std::chrono::seconds wholeDownload{60};
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

FetchedFeed readFile(const QString& source) {
    const QUrl url(source);
    const QString path = url.isLocalFile() ? url.toLocalFile() : source;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("файл не открывается: ") + file.errorString());
    if (file.size() > largestFeedDocument) return failure(tooLarge());
    FetchedFeed fetched;
    fetched.body = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("файл не читается: ") + file.errorString());
    fetched.status = FetchedFeed::Fresh;
    return fetched;
}

QString connectionProblem(httplib::Error error) {
    switch (error) {
    case httplib::Error::Connection:
        return QStringLiteral("нет соединения с сервером");
    case httplib::Error::ConnectionTimeout:
        return QStringLiteral("сервер не ответил за %1 с").arg(connectSeconds);
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

struct Answer {
    int status = 0;
    QString location; // of a redirect
    QString error;    // no answer, or a download cut short
};

Answer get(const QUrl& url, const FeedValidators& validators, const std::atomic<bool>* cancel,
           FetchedFeed& fetched) {
    const QString origin =
        url.toString(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                     QUrl::RemoveFragment | QUrl::FullyEncoded);
    std::string path = url.path(QUrl::FullyEncoded).toStdString();
    if (path.empty()) path = "/";
    if (url.hasQuery()) path += "?" + url.query(QUrl::FullyEncoded).toStdString();

    httplib::Client client(origin.toStdString());
    client.set_connection_timeout(connectSeconds);
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
    const auto deadline = std::chrono::steady_clock::now() + wholeDownload;
    fetched.body.clear();
    const auto result = client.Get(path, headers, [&](const char* data, size_t length) {
        if (cancel && *cancel)
            answer.error = QStringLiteral("чтение прервано");
        else if (std::chrono::steady_clock::now() > deadline)
            answer.error = QStringLiteral("документ не пришёл за %1 с").arg(wholeDownload.count());
        else if (fetched.body.size() + qsizetype(length) > largestFeedDocument)
            answer.error = tooLarge();
        if (!answer.error.isEmpty()) return false;
        fetched.body.append(data, qsizetype(length));
        return true;
    });
    if (!answer.error.isEmpty()) return answer;
    if (!result) {
        answer.error = connectionProblem(result.error());
        return answer;
    }
    answer.status = result->status;
    answer.location = QString::fromStdString(result->get_header_value("Location"));
    fetched.validators = {QString::fromStdString(result->get_header_value("ETag")),
                          QString::fromStdString(result->get_header_value("Last-Modified"))};
    return answer;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Redirects are followed here: the library would take "304 Not Modified" for one.
FetchedFeed download(const QString& source, const FeedValidators& validators,
                     const std::atomic<bool>* cancel) {
    constexpr int mostRedirects = 5;
    QUrl url(source);
    FetchedFeed fetched;
    for (int redirects = 0;; ++redirects) {
        const Answer answer = get(url, validators, cancel, fetched);
        if (!answer.error.isEmpty()) return failure(answer.error);
        if (answer.status == 304) {
            fetched.status = FetchedFeed::Unchanged;
            return fetched;
        }
        if (answer.status == 200) {
            fetched.status = FetchedFeed::Fresh;
            return fetched;
        }
        if (!isRedirect(answer.status) || answer.location.isEmpty())
            return failure(QStringLiteral("сервер ответил HTTP %1").arg(answer.status));
        if (redirects == mostRedirects)
            return failure(connectionProblem(httplib::Error::ExceedRedirectCount));
        url = url.resolved(QUrl(answer.location));
        if (!isWebAddress(url.toString()))
            return failure(QStringLiteral("перенаправление не на веб-адрес: ") + answer.location);
    }
}

} // namespace

bool isWebAddress(const QString& source) {
    return source.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           source.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString sourceName(const QString& source) {
    if (!isWebAddress(source)) return source;
    return QUrl(source).toString(QUrl::RemoveUserInfo);
}

FetchedFeed fetchFeed(const QString& source, const FeedValidators& validators,
                      const std::atomic<bool>* cancel) {
    return isWebAddress(source) ? download(source, validators, cancel) : readFile(source);
}

} // namespace newsbell
