#include "BrowserTestSupport.h"
#include "base/Error.h"
#include "browser/WebEngineSetup.h"

#include <QStringList>
#include <QTcpServer>
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

TEST(WebEngineBrowserHost, a_failed_load_still_ends_in_a_document) {
    // The week window waits for these notifications; a load that never ends would hang it.
    WebEngineBrowserHost host;
    QSignalSpy downloads(&host, &BrowserHost::downloadComplete);
    ASSERT_TRUE(load(host, deadAddress()));
    EXPECT_EQ(downloads.count(), 1);
    EXPECT_TRUE(host.hasDocument());
    EXPECT_NO_THROW(host.bodyHtml());
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
