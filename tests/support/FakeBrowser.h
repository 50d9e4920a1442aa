#pragma once

#include "browser/BrowserHost.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace newsbell::testing {

// A browser that serves a page text set by the test, or fails as the test says.
class FakeBrowser final : public BrowserHost {
public:
    QWidget* widget() override { return &view; }
    void navigate(const QUrl& url) override { visited.push_back(url); }
    bool hasDocument() const override { return !page.empty(); }
    bool pageLoaded() const override { return loaded; }
    std::optional<LoadFailure> loadFailure() const override;
    bool loading() const override { return stillLoading; }
    std::string bodyHtml() override;
    void runScript(const QString& code, const QString& language) override;

    // Tells the window a load has finished, as the real browser does.
    void finishLoad();

    QWidget view;
    std::vector<QUrl> visited;
    std::string page;             // cp1251; empty means no document
    std::string failure;          // when set, bodyHtml() throws it
    bool loaded = true;           // false: the load ended on the browser's error page
    QString failedBecause;        // the reason of a load that did not reach its page
    bool stillLoading = false;    // a load is under way
    std::function<void()> onRead; // runs inside bodyHtml(), before it answers
    std::vector<QString> scripts; // run in the page, in order
    std::function<void(const QString&)> onScript;
};

} // namespace newsbell::testing
