#include "tests/support/FakeBrowser.h"

#include "base/Error.h"

namespace newsbell::testing {

std::string FakeBrowser::bodyHtml() {
    if (onRead) onRead();
    if (!failure.empty()) throw Error(failure);
    if (page.empty()) throw Error("no page");
    return page;
}

void FakeBrowser::runScript(const QString& code, const QString& language) {
    if (language != QLatin1String("JavaScript")) throw Error("not JavaScript");
    scripts.push_back(code);
    if (onScript) onScript(code);
}

std::optional<LoadFailure> FakeBrowser::loadFailure() const {
    if (loaded) return std::nullopt;
    return LoadFailure{visited.empty() ? QUrl() : visited.back(), failedBecause};
}

void FakeBrowser::finishLoad() {
    stillLoading = false;
    emit downloadComplete();
    emit documentComplete();
}

} // namespace newsbell::testing
