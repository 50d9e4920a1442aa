#pragma once

#include "browser/BrowserHost.h"
#include "browser/NavigationPace.h"

#include <QPointer>
#include <QVariant>
#include <chrono>

class QWebEngineView;
class QWebEngineLoadingInfo;

namespace newsbell {

// The browser host on Chromium (QWebEngineView) with a private, off-the-record profile: nothing
// of the page is kept between runs. Call prepareWebEngineProcess() before QApplication.
class WebEngineBrowserHost final : public BrowserHost {
    Q_OBJECT
public:
    explicit WebEngineBrowserHost(QObject* parent = nullptr);
    ~WebEngineBrowserHost() override;

    QWidget* widget() override;
    void navigate(const QUrl& url) override;
    bool hasDocument() const override { return hasDocument_; }
    bool pageLoaded() const override { return hasDocument_ && !failure_; }
    std::optional<LoadFailure> loadFailure() const override { return failure_; }
    bool loading() const override { return navigationAsked_ || loadsStarted_ > loadsEnded_; }
    std::string bodyHtml() override;
    void runScript(const QString& code, const QString& language) override;
    std::chrono::milliseconds navigationDelay() const override;

    // How long bodyHtml() and runScript() wait for the page's answer.
    void setAnswerTimeout(std::chrono::milliseconds timeout) { answerTimeout_ = timeout; }

private:
    void loadingChanged(const QWebEngineLoadingInfo& info);
    // Runs script in the page and waits for its result in a local event loop, at most
    // answerTimeout_; throws Error naming what when the answer does not come.
    QVariant answer(const QString& script, quint32 world, const QString& what);

    QPointer<QWebEngineView> view_;
    bool hasDocument_ = false;
    std::optional<LoadFailure> failure_;
    bool navigationAsked_ = false; // navigate() was called and Chromium has not started yet
    quint64 loadsStarted_ = 0;
    quint64 loadsEnded_ = 0;
    std::chrono::milliseconds answerTimeout_{5000};
    NavigationPace pace_; // of the navigations the page starts
};

} // namespace newsbell
