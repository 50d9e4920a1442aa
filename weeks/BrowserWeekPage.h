#pragma once

#include "browser/BrowserHost.h"
#include "weeks/WeekRun.h"

namespace newsbell {

// The week run's page in a browser.
class BrowserWeekPage final : public WeekPage {
public:
    explicit BrowserWeekPage(BrowserHost& browser) : browser_(browser) {}
    std::string bodyHtml() override { return browser_.bodyHtml(); }
    void runScript(const QString& code) override {
        browser_.runScript(code, QStringLiteral("JavaScript"));
    }
    std::chrono::milliseconds navigationDelay() const override {
        return browser_.navigationDelay();
    }

private:
    BrowserHost& browser_;
};

} // namespace newsbell
