#include "program/StartOptions.h"

#include "base/Error.h"
#include "program/NewsbellApplication.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTranslator>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace newsbell {

namespace {

// One line for every command and option.
// One line for every command and option.
const char help[] =
    "Newsbell: экономический календарь с оповещением и таблицами для торговых советников.\n"
    "\n"
    "Команды:\n"
    "  newsbell [КАЛЕНДАРЬ]                      окно программы\n"
    "  newsbell --export ФАЙЛ [КАЛЕНДАРЬ]        таблица текущей недели в файл, без окна\n"
    "  newsbell --due-at \"ГГГГ-ММ-ДД ЧЧ:ММ:СС\" [КАЛЕНДАРЬ] [ПРОХОД]   один проход оповещения "
    "в этот момент, без окна: строка состояния и сообщения на стандартный вывод\n"
    "  newsbell --weeks ПЕРВАЯ ПОСЛЕДНЯЯ --export ФАЙЛ [КАЛЕНДАРЬ]   склейка недель с "
    "ПЕРВАЯ по ПОСЛЕДНЯЯ (ГГГГ-ММ-ДД) в один файл, без окна\n"
    "\n"
    "КАЛЕНДАРЬ (по умолчанию встроенный демонстрационный):\n"
    "  --calendar-url URL           недельная страница календаря по этому адресу\n"
    "  --calendar-feed ИСТОЧНИК     встроенный календарь на ленте XML или iCalendar (http, https "
    "или файл)\n"
    "  --time-zone ЗОНА             часовой пояс таблицы (по умолчанию пояс компьютера)\n"
    "  --feed-time-zone ЗОНА        часовой пояс ленты XML (по умолчанию America/New_York)\n"
    "\n"
    "ПРОХОД (как поля окна; по умолчанию как в окне):\n"
    "  --lead Ч:ММ                  за сколько до события оповещать (0:30)\n"
    "  --after М                    сколько минут после события оповещать (10)\n"
    "  --currencies СПИСОК          только эти валюты, через запятую (EUR,USD,CHF,JPY,GBP,AUD,"
    "CAD,NZD)\n"
    "  --importance СПИСОК          только эти уровни важности, через запятую (1,2,3)\n"
    "\n"
    "Прочее:\n"
    "  --no-settings                не читать и не сохранять настройки окон\n"
    "  --verbose                    показывать и сообщения Qt и браузера\n"
    "  --help                       эта справка\n"
    "  --version                    версия программы\n";

[[noreturn]] void fail(const QString& problem) {
    throw Error(problem.toStdString() + "\nСправка: newsbell --help");
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
                fail(QString::fromUtf8("--%1 задаётся только вместе с --due-at")
                         .arg(QLatin1String(name)));
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("export")))
        fail(QString::fromUtf8("--export и --due-at не задаются вместе"));
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
        fail(QString::fromUtf8("дата должна иметь вид ГГГГ-ММ-ДД: ") + text);
    return day;
}

// Takes "--weeks FIRST LAST" out of arguments: an option with two values, which the parser
// does not know.
std::optional<StartOptions::WeekRange> takeWeekRange(QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--weeks"));
    if (at < 0) return std::nullopt;
    if (at + 2 >= arguments.size() || arguments[at + 1].startsWith(QLatin1String("--")) ||
        arguments[at + 2].startsWith(QLatin1String("--")))
        fail(QString::fromUtf8("--weeks требует двух дат: первой и последней недели"));
    const StartOptions::WeekRange range{weekDay(arguments[at + 1]), weekDay(arguments[at + 2])};
    arguments.remove(at, 3);
    return range;
}

std::optional<QString> nonEmptyValue(const QCommandLineParser& parser, const char* name) {
    const std::optional<QString> value = valueOf(parser, name);
    if (value && value->isEmpty())
        fail(QString::fromUtf8("--%1 требует значения").arg(QLatin1String(name)));
    return value;
}

// --calendar-feed with its zones; the zones mean nothing without a feed.
void readFeedOptions(const QCommandLineParser& parser, StartOptions& options) {
    options.calendarFeed = nonEmptyValue(parser, "calendar-feed");
    options.timeZone = nonEmptyValue(parser, "time-zone");
    options.feedTimeZone = nonEmptyValue(parser, "feed-time-zone");
    if (options.calendarFeed && options.calendarUrl)
        fail(QString::fromUtf8("--calendar-feed и --calendar-url не задаются вместе"));
    if ((options.timeZone || options.feedTimeZone) && !options.calendarFeed)
        fail(QString::fromUtf8(
            "--time-zone и --feed-time-zone задаются только вместе с --calendar-feed"));
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
    for (const char* name : {"no-settings", "verbose"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
    if (!parser.parse(arguments)) fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        fail(QString::fromUtf8("лишний аргумент: ") + parser.positionalArguments().first());

    StartOptions options;
    if (parser.isSet(exportOption)) {
        options.exportFile = parser.value(exportOption);
        if (options.exportFile->isEmpty()) fail(QString::fromUtf8("--export требует имени файла"));
    }
    if (parser.isSet(urlOption)) {
        const QUrl url = QUrl::fromUserInput(parser.value(urlOption));
        if (!url.isValid() || url.isEmpty())
            fail(QString::fromUtf8("это не адрес страницы: ") + parser.value(urlOption));
        options.calendarUrl = url;
    }
    options.noSettings = parser.isSet(QStringLiteral("no-settings"));
    options.verbose = parser.isSet(QStringLiteral("verbose"));
    readFeedOptions(parser, options);
    options.dueAt = readDueAt(parser);
    options.weeks = weeks;
    if (weeks && !options.exportFile)
        fail(QString::fromUtf8("--weeks задаётся вместе с --export ФАЙЛ"));
    return options;
}

namespace {

bool given(int argc, char** argv, std::initializer_list<const char*> options) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : options) {
            const size_t length = std::strlen(option);
            if (std::strncmp(argv[i], option, length) == 0 &&
                (argv[i][length] == '\0' || argv[i][length] == '='))
                return true;
        }
    return false;
}

} // namespace

bool runsWithoutWindow(int argc, char** argv) {
    return given(argc, argv, {"--export", "--due-at"});
}

bool asksToBeVerbose(int argc, char** argv) {
    return given(argc, argv, {"--verbose"});
}

std::optional<std::string> earlyOptionProblem(int argc, char** argv) {
    // An application object without a display, so that Qt's own words come in Russian too.
    QCoreApplication early(argc, argv);
    QTranslator qtTexts;
    installQtTranslations(qtTexts);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (i > 0 && argument.startsWith(u'-') && !argument.startsWith(QLatin1String("--")))
            return std::nullopt;
        arguments << argument;
    }
    try {
        parseStartOptions(arguments);
    } catch (const Error& problem) {
        return problem.what();
    }
    return std::nullopt;
}

std::optional<std::string> answerWithoutStarting(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") return help;
        if (argument == "--version") return std::string("newsbell ") + NEWSBELL_VERSION + "\n";
    }
    return std::nullopt;
}

} // namespace newsbell
