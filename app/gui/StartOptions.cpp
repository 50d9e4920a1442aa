#include "app/gui/StartOptions.h"

#include "base/Error.h"

#include <QCommandLineParser>
#include <array>
#include <cstring>

namespace newsbell {

namespace {

const char usage[] = "usage: newsbell [CALENDAR]\n"
                     "       newsbell --export FILE [CALENDAR]\n"
                     "CALENDAR: --calendar-url URL\n"
                     "       or --calendar-feed SOURCE [--time-zone ZONE] [--feed-time-zone ZONE]";

[[noreturn]] void fail(const QString& problem) {
    throw Error(problem.toStdString() + "\n" + usage);
}

std::optional<QString> nonEmptyValue(const QCommandLineParser& parser,
                                     const QCommandLineOption& option) {
    if (!parser.isSet(option)) return std::nullopt;
    const QString value = parser.value(option);
    if (value.isEmpty()) fail("--" + option.names().first() + " needs a value");
    return value;
}

// --calendar-feed with its zones; the zones mean nothing without a feed.
void readFeedOptions(const QCommandLineParser& parser,
                     const std::array<QCommandLineOption, 3>& feedOptions, StartOptions& options) {
    options.calendarFeed = nonEmptyValue(parser, feedOptions[0]);
    options.timeZone = nonEmptyValue(parser, feedOptions[1]);
    options.feedTimeZone = nonEmptyValue(parser, feedOptions[2]);
    if (options.calendarFeed && options.calendarUrl)
        fail(QStringLiteral("--calendar-feed and --calendar-url exclude each other"));
    if ((options.timeZone || options.feedTimeZone) && !options.calendarFeed)
        fail(QStringLiteral("--time-zone and --feed-time-zone go with --calendar-feed"));
}

} // namespace

StartOptions parseStartOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption exportOption(QStringLiteral("export"), {}, QStringLiteral("FILE"));
    const QCommandLineOption urlOption(QStringLiteral("calendar-url"), {}, QStringLiteral("URL"));
    const QCommandLineOption feedOption(QStringLiteral("calendar-feed"), {},
                                        QStringLiteral("SOURCE"));
    const QCommandLineOption zoneOption(QStringLiteral("time-zone"), {}, QStringLiteral("ZONE"));
    const QCommandLineOption feedZoneOption(QStringLiteral("feed-time-zone"), {},
                                            QStringLiteral("ZONE"));
    parser.addOptions({exportOption, urlOption, feedOption, zoneOption, feedZoneOption});
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
    readFeedOptions(parser, {feedOption, zoneOption, feedZoneOption}, options);
    return options;
}

bool asksForExport(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--export") == 0 || std::strncmp(argv[i], "--export=", 9) == 0)
            return true;
    return false;
}

} // namespace newsbell
