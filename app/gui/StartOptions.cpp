#include "app/gui/StartOptions.h"

#include "base/Error.h"

#include <QCommandLineParser>
#include <cstring>

namespace newsbell {

namespace {

const char usage[] =
    "usage: newsbell [CALENDAR]\n"
    "       newsbell --export FILE [CALENDAR]\n"
    "       newsbell --due-at \"YYYY-MM-DD HH:MM:SS\" [CALENDAR] [--lead H:MM] [--after M]\n"
    "                [--currencies EUR,USD,...] [--importance 1,2,3]\n"
    "       newsbell --weeks FIRST LAST --export FILE [CALENDAR]\n"
    "       (FIRST and LAST as YYYY-MM-DD)\n"
    "CALENDAR: --calendar-url URL\n"
    "       or --calendar-feed SOURCE [--time-zone ZONE] [--feed-time-zone ZONE]";

[[noreturn]] void fail(const QString& problem) {
    throw Error(problem.toStdString() + "\n" + usage);
}

// The settings of a pass, each filling the window field or boxes of its name.
constexpr const char* passSettings[] = {"lead", "after", "currencies", "importance"};

std::optional<QString> valueOf(const QCommandLineParser& parser, const char* name) {
    const QString option = QString::fromLatin1(name);
    if (!parser.isSet(option)) return std::nullopt;
    return parser.value(option);
}

std::optional<DueAtRequest> readDueAt(const QCommandLineParser& parser) {
    if (!parser.isSet(QStringLiteral("due-at"))) {
        for (const char* name : passSettings)
            if (parser.isSet(QString::fromLatin1(name)))
                fail(QStringLiteral("--%1 goes with --due-at").arg(QLatin1String(name)));
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("export")))
        fail(QStringLiteral("--export and --due-at do not go together"));
    try {
        return readDueAtRequest(parser.value(QStringLiteral("due-at")), valueOf(parser, "lead"),
                                valueOf(parser, "after"), valueOf(parser, "currencies"),
                                valueOf(parser, "importance"));
    } catch (const Error& failure) {
        fail(QString::fromUtf8(failure.what()));
    }
}

QDate weekDay(const QString& text) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (!day.isValid() || text.size() != 10)
        fail(QStringLiteral("not a date of the form YYYY-MM-DD: ") + text);
    return day;
}

// Takes "--weeks FIRST LAST" out of arguments: an option with two values, which the parser
// does not know.
std::optional<StartOptions::WeekRange> takeWeekRange(QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--weeks"));
    if (at < 0) return std::nullopt;
    if (at + 2 >= arguments.size() || arguments[at + 1].startsWith(QLatin1String("--")) ||
        arguments[at + 2].startsWith(QLatin1String("--")))
        fail(QStringLiteral("--weeks needs two dates, FIRST and LAST"));
    const StartOptions::WeekRange range{weekDay(arguments[at + 1]), weekDay(arguments[at + 2])};
    arguments.remove(at, 3);
    return range;
}

std::optional<QString> nonEmptyValue(const QCommandLineParser& parser, const char* name) {
    const std::optional<QString> value = valueOf(parser, name);
    if (value && value->isEmpty())
        fail(QStringLiteral("--%1 needs a value").arg(QLatin1String(name)));
    return value;
}

// --calendar-feed with its zones; the zones mean nothing without a feed.
void readFeedOptions(const QCommandLineParser& parser, StartOptions& options) {
    options.calendarFeed = nonEmptyValue(parser, "calendar-feed");
    options.timeZone = nonEmptyValue(parser, "time-zone");
    options.feedTimeZone = nonEmptyValue(parser, "feed-time-zone");
    if (options.calendarFeed && options.calendarUrl)
        fail(QStringLiteral("--calendar-feed and --calendar-url exclude each other"));
    if ((options.timeZone || options.feedTimeZone) && !options.calendarFeed)
        fail(QStringLiteral("--time-zone and --feed-time-zone go with --calendar-feed"));
}

} // namespace

StartOptions parseStartOptions(const QStringList& givenArguments) {
    QStringList arguments = givenArguments;
    const std::optional<StartOptions::WeekRange> weeks = takeWeekRange(arguments);
    QCommandLineParser parser;
    const QCommandLineOption exportOption(QStringLiteral("export"), {}, QStringLiteral("FILE"));
    const QCommandLineOption urlOption(QStringLiteral("calendar-url"), {}, QStringLiteral("URL"));
    parser.addOption(exportOption);
    parser.addOption(urlOption);
    parser.addOption({QStringLiteral("due-at"), {}, QStringLiteral("MOMENT")});
    for (const char* name : passSettings)
        parser.addOption({QString::fromLatin1(name), {}, QStringLiteral("VALUE")});
    parser.addOption({QStringLiteral("calendar-feed"), {}, QStringLiteral("SOURCE")});
    for (const char* name : {"time-zone", "feed-time-zone"})
        parser.addOption({QString::fromLatin1(name), {}, QStringLiteral("ZONE")});
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
    readFeedOptions(parser, options);
    options.dueAt = readDueAt(parser);
    options.weeks = weeks;
    if (weeks && !options.exportFile) fail(QStringLiteral("--weeks needs --export FILE"));
    return options;
}

bool runsWithoutWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--export", "--due-at"}) {
            const size_t length = std::strlen(option);
            if (std::strncmp(argv[i], option, length) == 0 &&
                (argv[i][length] == '\0' || argv[i][length] == '='))
                return true;
        }
    return false;
}

} // namespace newsbell
