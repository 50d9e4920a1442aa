// newsbell-calendar: the demonstration calendar on its own, for trying pages out in any browser.
#include "calendar/CalendarServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("newsbell-calendar"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Демонстрационный экономический календарь на 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Порт (по умолчанию любой свободный)."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption eventsOption(QStringLiteral("events"),
                                          QStringLiteral("Событий в неделе (0 - как обычно)."),
                                          QStringLiteral("N"), QStringLiteral("0"));
    parser.addOption(portOption);
    parser.addOption(eventsOption);
    parser.process(app);

    bool portOk = false, eventsOk = false;
    const int port = parser.value(portOption).toInt(&portOk);
    const int events = parser.value(eventsOption).toInt(&eventsOk);
    if (!portOk || port < 0 || port > 65535 || !eventsOk || events < 0) {
        std::fprintf(stderr, "newsbell-calendar: неверное значение --port или --events\n");
        return 2;
    }
    newsbell::SystemClock clock;
    newsbell::CalendarServer server(clock, {events});
    try {
        server.start(port);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "newsbell-calendar: %s\n", error.what());
        return 1;
    }
    std::printf("%s\n", qPrintable(server.url()));
    std::fflush(stdout);
    return app.exec();
}
