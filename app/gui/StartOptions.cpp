#include "app/gui/StartOptions.h"

#include "base/Error.h"

#include <QCommandLineParser>
#include <cstring>

namespace newsbell {

namespace {

const char usage[] = "usage: newsbell [--calendar-url URL]\n"
                     "       newsbell --export FILE [--calendar-url URL]";

[[noreturn]] void fail(const QString& problem) {
    throw Error(problem.toStdString() + "\n" + usage);
}

} // namespace

StartOptions parseStartOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption exportOption(QStringLiteral("export"), {}, QStringLiteral("FILE"));
    const QCommandLineOption urlOption(QStringLiteral("calendar-url"), {}, QStringLiteral("URL"));
    parser.addOption(exportOption);
    parser.addOption(urlOption);
    if (!parser.parse(arguments)) fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first());

    StartOptions options;
    if (parser.isSet(exportOption)) {
        options.exportFile = parser.value(exportOption);
        if (options.exportFile->isEmpty()) fail(QStringLiteral("--export needs a file name"));
    }
    if (parser.isSet(urlOption)) {
        const QUrl url = QUrl::fromUserInput(parser.value(urlOption));
        if (!url.isValid() || url.isEmpty())
            fail(QStringLiteral("not a web address: ") + parser.value(urlOption));
        options.calendarUrl = url;
    }
    return options;
}

bool asksForExport(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--export") == 0 || std::strncmp(argv[i], "--export=", 9) == 0)
            return true;
    return false;
}

} // namespace newsbell
