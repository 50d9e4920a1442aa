#pragma once

#include "browser/WebEngineBrowserHost.h"
#include "tests/support/TestClock.h"

#include <QSignalSpy>
#include <QUrl>

namespace newsbell::testing {

// A page given inline, so each case shows the markup it is about.
inline QUrl htmlPage(const QString& html) {
    return QUrl(QStringLiteral("data:text/html;charset=utf-8,") +
                QString::fromLatin1(QUrl::toPercentEncoding(html)));
}

// Navigates and waits for the load to finish; false when it does not within the bound.
inline bool load(BrowserHost& host, const QUrl& url) {
    QSignalSpy documents(&host, &BrowserHost::documentComplete);
    host.navigate(url);
    return documents.wait(20000);
}

} // namespace newsbell::testing
