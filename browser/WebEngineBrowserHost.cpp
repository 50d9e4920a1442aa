#include "browser/WebEngineBrowserHost.h"

#include "base/Cp1251.h"
#include "base/Error.h"
#include "browser/LegacyMarkup.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>
#include <optional>

namespace newsbell {
namespace {

// Each finished load, for scripts that time the program from outside (the benchmarks under
// bench/): QT_LOGGING_RULES="newsbell.browser.info=true" prints them on standard error.
Q_LOGGING_CATEGORY(browserLoads, "newsbell.browser", QtWarningMsg)

using namespace std::chrono_literals;

// Chromium's guard against pages that navigate in a loop, as measured on this QtWebEngine (6.4).
constexpr size_t chromiumNavigationLimit = 200;
constexpr auto chromiumNavigationWindow = 10s;

// A page that tells its host about every main-frame navigation before it starts, and keeps the
// pace of those its documents start themselves (the host's own loads are typed ones).
class NotifyingPage final : public QWebEnginePage {
public:
    NotifyingPage(QWebEngineProfile* profile, BrowserHost& host, NavigationPace& pace)
        : QWebEnginePage(profile), host_(host), pace_(pace) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (!isMainFrame) return true;
        if (type != NavigationTypeTyped) pace_.started(std::chrono::steady_clock::now());
        emit host_.beforeNavigate(url);
        return true;
    }

private:
    BrowserHost& host_;
    NavigationPace& pace_;
};

// Runs code in the page's global scope and answers '' or the text of what it threw.
QString guardedScript(const QString& code) {
    const QByteArray literal = QJsonDocument(QJsonArray{code}).toJson(QJsonDocument::Compact);
    return QStringLiteral("(function(){try{(0,eval)(%1[0]);return '';}"
                          "catch(e){var t=String(e);return t===''?'Error':t;}})()")
        .arg(QString::fromUtf8(literal));
}

// Why a finished load is not its page, or nothing when it is. Chromium's own error page counts
// as a failure whatever status it came with.
std::optional<LoadFailure> failureOf(const QWebEngineLoadingInfo& info) {
    using Info = QWebEngineLoadingInfo;
    if (info.status() == Info::LoadSucceededStatus && !info.isErrorPage()) return std::nullopt;
    if (info.errorDomain() == Info::HttpStatusCodeDomain)
        return LoadFailure{info.url(), httpStatusReason(info.errorCode())};
    if (info.errorCode() != 0)
        return LoadFailure{info.url(), networkErrorReason(info.errorCode(), info.errorString())};
    return LoadFailure{info.url(), QString::fromUtf8("браузер показал свою страницу ошибки")};
}

} // namespace

WebEngineBrowserHost::WebEngineBrowserHost(QObject* parent)
    : BrowserHost(parent), pace_(chromiumNavigationLimit, chromiumNavigationWindow) {
    view_ = new QWebEngineView;
    // A profile without a storage name keeps nothing on disk; the page owns it so that it is
    // released after the page, as QtWebEngine requires.
    auto* profile = new QWebEngineProfile;
    auto* page = new NotifyingPage(profile, *this, pace_);
    profile->setParent(page);
    page->setParent(view_);
    view_->setPage(page);
    connect(page, &QWebEnginePage::loadingChanged, this, &WebEngineBrowserHost::loadingChanged);
}

// The view may have been placed in a window that is already gone.
WebEngineBrowserHost::~WebEngineBrowserHost() {
    delete view_.data();
}

QWidget* WebEngineBrowserHost::widget() {
    return view_;
}

void WebEngineBrowserHost::navigate(const QUrl& url) {
    navigationAsked_ = true;
    view_->load(url);
}

std::chrono::milliseconds WebEngineBrowserHost::navigationDelay() const {
    return pace_.delay(std::chrono::steady_clock::now());
}

// A stopped load (another navigation took over) ends in nothing; a failed one shows Chromium's
// error page, which is a document like any other. The notifications go out from the event loop:
// Chromium reports the load from inside its own work, and a handler that waited for the page
// there (reading the body, running a script) would wait for work that cannot run until it
// returns.
void WebEngineBrowserHost::loadingChanged(const QWebEngineLoadingInfo& info) {
    const auto status = info.status();
    if (status == QWebEngineLoadingInfo::LoadStartedStatus) {
        navigationAsked_ = false;
        ++loadsStarted_;
        return;
    }
    if (status == QWebEngineLoadingInfo::LoadStoppedStatus) {
        ++loadsEnded_;
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, failure = failureOf(info)] {
            ++loadsEnded_;
            hasDocument_ = true;
            failure_ = failure;
            if (failure)
                qCInfo(browserLoads, "load failed: %s",
                       qUtf8Printable(loadFailureMessage(*failure)));
            else
                qCInfo(browserLoads, "page loaded");
            emit downloadComplete();
            emit documentComplete();
        },
        Qt::QueuedConnection);
}

QVariant WebEngineBrowserHost::answer(const QString& script, quint32 world, const QString& what) {
    // The answer may come after we have given up, so it must not touch this stack frame.
    struct Pending {
        std::optional<QVariant> value;
        QEventLoop* loop = nullptr;
    };
    auto pending = std::make_shared<Pending>();
    QEventLoop loop;
    pending->loop = &loop;
    // Chromium ends a change of page by deleting objects with deleteLater(). A local loop does
    // not delete what was scheduled before it started, and the page gives no answer until that
    // is done; so what is due goes first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    view_->page()->runJavaScript(script, world, [pending](const QVariant& value) {
        pending->value = value;
        if (pending->loop) pending->loop->quit();
    });
    if (!pending->value) {
        QTimer::singleShot(answerTimeout_, &loop, &QEventLoop::quit);
        loop.exec();
    }
    pending->loop = nullptr;
    if (!pending->value)
        throw Error(QStringLiteral("Страница не ответила за %1 с: %2.")
                        .arg(double(answerTimeout_.count()) / 1000.0)
                        .arg(what)
                        .toStdString());
    return *pending->value;
}

std::string WebEngineBrowserHost::bodyHtml() {
    if (!hasDocument_)
        throw Error("Не удалось прочитать HTML страницы: страница ещё не загружена.");
    // Read in a world of our own, so that the page's scripts cannot stand in for the DOM's.
    const QVariant html =
        answer(QStringLiteral("document.body ? document.body.innerHTML : null"),
               QWebEngineScript::ApplicationWorld, QStringLiteral("чтение HTML страницы"));
    if (html.typeId() != QMetaType::QString)
        throw Error("Не удалось прочитать HTML страницы: в документе нет тела (body).");
    return toCp1251(toLegacyMarkup(html.toString()));
}

void WebEngineBrowserHost::runScript(const QString& code, const QString& language) {
    if (!hasDocument_) return;
    if (language.compare(QLatin1String("JavaScript"), Qt::CaseInsensitive) != 0)
        throw Error(
            QStringLiteral("Язык сценариев «%1» не поддерживается.").arg(language).toStdString());
    const QVariant failure =
        answer(guardedScript(code), QWebEngineScript::MainWorld, QStringLiteral("сценарий"));
    if (failure.typeId() == QMetaType::QString && !failure.toString().isEmpty())
        throw Error(QStringLiteral("Ошибка сценария на странице: %1")
                        .arg(failure.toString())
                        .toStdString());
}

} // namespace newsbell
