#include "browser/WebEngineSetup.h"

#include <QCoreApplication>
#include <QList>
#include <QLoggingCategory>
#include <array>
#include <cstdio>
#include <unistd.h>

namespace newsbell {
namespace {

constexpr std::array quietFlags{
    "--disable-gpu",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-domain-reliability",
    "--disable-sync",
    "--disable-default-apps",
    "--disable-breakpad",
    "--no-pings",
};

// "--name" of "--name" or "--name=value".
QByteArray flagName(const QByteArray& flag) {
    const qsizetype equals = flag.indexOf('=');
    return equals < 0 ? flag : flag.left(equals);
}

} // namespace

QByteArray withQuietChromiumFlags(const QByteArray& flags) {
    QList<QByteArray> names;
    for (const QByteArray& flag : flags.simplified().split(' '))
        if (!flag.isEmpty()) names.append(flagName(flag));
    QByteArray result = flags.simplified();
    for (const char* flag : quietFlags) {
        if (names.contains(flag)) continue;
        if (!result.isEmpty()) result += ' ';
        result += flag;
    }
    return result;
}

void prepareWebEngineProcess(bool quiet) {
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        if (!quiet)
            std::fputs("newsbell: запуск от имени root, песочница Chromium отключена.\n", stderr);
    }
    QByteArray flags = withQuietChromiumFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
    if (quiet && !flags.contains("--log-level")) flags += " --log-level=3"; // fatal only
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    // QtWebEngine prints its start-up parameters at every start; rules the user sets in
    // QT_LOGGING_RULES still win over these.
    QLoggingCategory::setFilterRules(quiet ? QStringLiteral("*=false")
                                           : QStringLiteral("qt.webenginecontext.info=false"));
    // QtWebEngine shares its OpenGL context with the application's; this must precede
    // QApplication.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace newsbell
