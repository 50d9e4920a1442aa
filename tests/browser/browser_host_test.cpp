#include "BrowserTestSupport.h"
#include "base/Error.h"
#include "browser/WebEngineSetup.h"

#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

using namespace std::chrono_literals;

// The message of the Error that call throws, or "" when it throws none.
template <typename Call> std::string errorOf(Call call) {
    try {
        call();
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

// An address where nothing listens: a port taken from the system and released again.
QUrl deadAddress() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/e_cal.php").arg(port));
}

TEST(WebEngineBrowserHost, has_no_document_and_no_body_before_the_first_load) {
    WebEngineBrowserHost host;
    EXPECT_FALSE(host.hasDocument());
    EXPECT_NE(errorOf([&] { host.bodyHtml(); }).find("не загружена"), std::string::npos);
    // A week script sent before the page is there is dropped, not an error.
    EXPECT_EQ(errorOf([&] {
                  host.runScript(QStringLiteral("CP_tmpReturnFunction(2010,3,8);"),
                                 QStringLiteral("JavaScript"));
              }),
              "");
}

TEST(WebEngineBrowserHost, one_load_notifies_before_navigation_then_download_then_document) {
    WebEngineBrowserHost host;
    QStringList heard;
    QObject::connect(&host, &BrowserHost::beforeNavigate,
                     [&](const QUrl& url) { heard << QStringLiteral("before ") + url.scheme(); });
    QObject::connect(&host, &BrowserHost::downloadComplete,
                     [&] { heard << QStringLiteral("download"); });
    QObject::connect(&host, &BrowserHost::documentComplete,
                     [&] { heard << QStringLiteral("document"); });
    ASSERT_TRUE(load(host, htmlPage(QStringLiteral("<p>x</p>"))));
    QSignalSpy more(&host, &BrowserHost::downloadComplete);
    EXPECT_FALSE(more.wait(500));
    EXPECT_EQ(heard, QStringList({QStringLiteral("before data"), QStringLiteral("download"),
                                  QStringLiteral("document")}));
    EXPECT_TRUE(host.hasDocument());
}

// Answers every request with an HTTP error status and a page of its own.
class ErrorStatusServer {
public:
    explicit ErrorStatusServer(int status) {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this, status] {
            QTcpSocket* socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, status] {
                socket->readAll();
                socket->write(QByteArray("HTTP/1.1 ") + QByteArray::number(status) +
                              " Error\r\nContent-Type: text/html\r\nContent-Length: 9\r\n"
                              "Connection: close\r\n\r\n<p>no</p>");
                socket->disconnectFromHost();
            });
        });
    }
    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/e_cal.php").arg(server.serverPort()));
    }
    QTcpServer server;
};

TEST(WebEngineBrowserHost, a_failed_load_ends_in_a_document_and_says_where_and_why) {
    // The windows wait for these notifications; a load that never ended would hang them.
    ErrorStatusServer notFound(404);
    const struct {
        QUrl address;
        const char* reason;
    } cases[] = {
        {deadAddress(), "соединение отклонено: по этому адресу никто не отвечает"},
        {QUrl(QStringLiteral("http://127.0.0.1:1/e_cal.php")),
         "порт закрыт для браузера как небезопасный"},
        {QUrl(QStringLiteral("file:///nonexistent/e_cal.html")), "файл не найден"},
        {notFound.url(), "сервер ответил кодом HTTP 404 (страница не найдена)"},
    };
    WebEngineBrowserHost host;
    for (const auto& c : cases) {
        QSignalSpy downloads(&host, &BrowserHost::downloadComplete);
        host.navigate(c.address);
        EXPECT_TRUE(host.loading());
        ASSERT_TRUE(QSignalSpy(&host, &BrowserHost::documentComplete).wait(20000));
        EXPECT_EQ(downloads.count(), 1);
        EXPECT_FALSE(host.loading());
        EXPECT_TRUE(host.hasDocument());
        EXPECT_FALSE(host.pageLoaded());
        ASSERT_TRUE(host.loadFailure()) << c.address.toString().toStdString();
        EXPECT_EQ(host.loadFailure()->address, c.address);
        EXPECT_EQ(host.loadFailure()->reason, QString::fromUtf8(c.reason));
        EXPECT_NO_THROW(host.bodyHtml());
    }
    ASSERT_TRUE(load(host, htmlPage(QStringLiteral("<p>x</p>"))));
    EXPECT_TRUE(host.pageLoaded());
    EXPECT_FALSE(host.loadFailure());
}

TEST(LoadFailure, is_told_in_russian_with_the_address) {
    EXPECT_EQ(loadFailureMessage(
                  {QUrl(QStringLiteral("http://127.0.0.1:9/e_cal.php")), QStringLiteral("x")}),
              QString::fromUtf8("Страница календаря http://127.0.0.1:9/e_cal.php не открылась: x"));
    EXPECT_EQ(httpStatusReason(418), QString::fromUtf8("сервер ответил кодом HTTP 418"));
    EXPECT_EQ(networkErrorReason(-105, QStringLiteral("net::ERR_NAME_NOT_RESOLVED")),
              QString::fromUtf8("имя сервера не найдено"));
    EXPECT_EQ(networkErrorReason(-202, QStringLiteral("net::ERR_CERT_AUTHORITY_INVALID")),
              QString::fromUtf8("ошибка сертификата сервера (net::ERR_CERT_AUTHORITY_INVALID)"));
    EXPECT_EQ(networkErrorReason(-999, QStringLiteral("net::ERR_NEW")),
              QString::fromUtf8("ошибка браузера net::ERR_NEW (-999)"));
}

TEST(WebEngineBrowserHost, scripts_run_in_the_page_global_scope) {
    WebEngineBrowserHost host;
    ASSERT_TRUE(load(host, htmlPage(QStringLiteral("<script>var counter = 1;</script><p>x</p>"))));
    host.runScript(QStringLiteral("var seen = counter + 1;"), QStringLiteral("JavaScript"));
    host.runScript(QStringLiteral("document.body.innerHTML = '<p>' + seen + '</p>';"),
                   QStringLiteral("javascript"));
    EXPECT_EQ(host.bodyHtml(), "<P>2</P>");
}

TEST(WebEngineBrowserHost, script_failures_are_raised_with_the_page_message) {
    WebEngineBrowserHost host;
    ASSERT_TRUE(load(host, htmlPage(QStringLiteral("<p>not the calendar</p>"))));
    EXPECT_NE(errorOf([&] {
                  host.runScript(QStringLiteral("CP_targetInput=-1;CP_change_time('weekly');"),
                                 QStringLiteral("JavaScript"));
              }).find("CP_change_time"),
              std::string::npos);
    EXPECT_NE(errorOf([&] {
                  host.runScript(QStringLiteral("if ("), QStringLiteral("JavaScript"));
              }).find("SyntaxError"),
              std::string::npos);
    EXPECT_NE(
        errorOf([&] { host.runScript(QStringLiteral("throw ''"), QStringLiteral("JavaScript")); }),
        "");
    EXPECT_NE(errorOf([&] {
                  host.runScript(QStringLiteral("x = 1"), QStringLiteral("VBScript"));
              }).find("VBScript"),
              std::string::npos);
}

TEST(WebEngineBrowserHost, a_busy_page_times_out_and_answers_again_later) {
    WebEngineBrowserHost host;
    ASSERT_TRUE(load(host, htmlPage(QStringLiteral("<p>x</p>"))));
    host.setAnswerTimeout(300ms);
    const std::string busy = errorOf([&] {
        host.runScript(QStringLiteral("var t = Date.now(); while (Date.now() - t < 1500) {}"),
                       QStringLiteral("JavaScript"));
    });
    EXPECT_NE(busy.find("не ответила"), std::string::npos) << busy;
    EXPECT_NE(errorOf([&] { host.bodyHtml(); }).find("не ответила"), std::string::npos);
    // The late answers arrive after their callers gave up; they must land harmlessly.
    host.setAnswerTimeout(5s);
    EXPECT_EQ(host.bodyHtml(), "<P>x</P>");
}

TEST(WebEngineBrowserHost, a_document_without_body_is_reported) {
    WebEngineBrowserHost host;
    ASSERT_TRUE(load(
        host,
        QUrl(QStringLiteral("data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg'/%3E"))));
    EXPECT_NE(errorOf([&] { host.bodyHtml(); }).find("body"), std::string::npos);
}

TEST(ChromiumFlags, are_added_once_and_keep_what_the_user_gave) {
    const QByteArray flags = withQuietChromiumFlags("  --disable-gpu --lang=ru  ");
    EXPECT_TRUE(flags.startsWith("--disable-gpu --lang=ru --disable-background-networking"));
    EXPECT_EQ(flags.count("--disable-gpu"), 1);
    EXPECT_EQ(withQuietChromiumFlags(flags), flags);
    EXPECT_TRUE(withQuietChromiumFlags("").startsWith("--disable-gpu"));
}

} // namespace
} // namespace newsbell::testing
