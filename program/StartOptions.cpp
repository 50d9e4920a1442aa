#include "program/StartOptions.h"

#include "base/Error.h"
#include "program/NewsbellApplication.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTranslator>
#include <algorithm>
#include <span>

namespace newsbell {

namespace {

std::string helpText();
std::string versionText() {
    return std::string("newsbell ") + NEWSBELL_VERSION + "\n";
}

// Where --help tells an option: the commands first, then the other options by what they set.
enum class Group { command, calendar, pass, gate, other };

struct Option {
    const char* name;                  // after "--"
    const char* value;                 // what --help calls its value; none for a switch
    Group group;                       // where --help tells it
    const char* about;                 // what --help says of it
    const char* usage = "";            // what follows a command's value in its usage line
    int values = 1;                    // how many arguments follow, when it takes any
    std::string (*answer)() = nullptr; // printed instead of starting, wherever it stands
    char letter = 0;                   // a one-letter form, which --help does not tell
    const char* gateAbout = nullptr;   // what it means with --gate-at, when that differs
};

// --help and --version.
constexpr Option answer(const char* name, char letter, const char* about, std::string (*text)()) {
    Option option{name, "", Group::other, about};
    option.answer = text;
    option.letter = letter;
    return option;
}

// An option of the pass that means something else with --gate-at.
constexpr Option alsoForGate(Option option, const char* gateAbout) {
    option.gateAbout = gateAbout;
    return option;
}

// Every option, in the order --help tells them.
constexpr Option declared[] = {
    {"export", "ФАЙЛ", Group::command, "таблица текущей недели в файл, без окна", "[КАЛЕНДАРЬ]"},
    {"due-at", "\"ГГГГ-ММ-ДД ЧЧ:ММ:СС\"", Group::command,
     "один проход оповещения в этот момент, без окна: строка состояния и сообщения на "
     "стандартный вывод",
     "[КАЛЕНДАРЬ] [ПРОХОД]"},
    {"gate-at", "\"ГГГГ-ММ-ДД ЧЧ:ММ:СС\"", Group::command,
     "новостной фильтр для советников в этот момент, без окна: строки файла newsbell_gate.txt на "
     "стандартный вывод",
     "[КАЛЕНДАРЬ] [ФИЛЬТР]"},
    {"weeks", "ПЕРВАЯ ПОСЛЕДНЯЯ", Group::command,
     "склейка недель с ПЕРВАЯ по ПОСЛЕДНЯЯ (ГГГГ-ММ-ДД) в один файл, без окна",
     "--export ФАЙЛ [КАЛЕНДАРЬ]", 2},
    {"calendar-url", "URL", Group::calendar, "недельная страница календаря по этому адресу"},
    {"calendar-feed", "ИСТОЧНИК", Group::calendar,
     "встроенный календарь на ленте XML, JSON или iCalendar (http, https или файл)"},
    {"time-zone", "ЗОНА", Group::calendar, "часовой пояс таблицы (по умолчанию пояс компьютера)"},
    {"feed-time-zone", "ЗОНА", Group::calendar, "часовой пояс ленты XML (по умолчанию UTC)"},
    {"before", "М", Group::gate, "минут запрета до события, от 0 до 1440 (30)"},
    {"lead", "Ч:ММ", Group::pass, "за сколько до события оповещать (0:30)"},
    alsoForGate({"after", "М", Group::pass, "сколько минут после события оповещать (10)"},
                "минут запрета после события, от 0 до 1440 (30)"),
    alsoForGate({"currencies", "СПИСОК", Group::pass,
                 "только эти валюты, через запятую (EUR,USD,CHF,JPY,GBP,AUD,CAD,NZD)"},
                "валюты, через запятую; строки идут в порядке окна (EUR,USD,CHF,JPY,GBP,AUD,CAD,"
                "NZD)"),
    alsoForGate(
        {"importance", "СПИСОК", Group::pass, "только эти уровни важности, через запятую (1,2,3)"},
        "учитываемые уровни важности, через запятую (3)"),
    {"no-settings", "", Group::other, "не читать и не сохранять настройки окон"},
    {"verbose", "", Group::other, "показывать и сообщения Qt и браузера"},
    answer("help", 'h', "эта справка", helpText),
    answer("version", 0, "версия программы", versionText),
};

// The parts of --help, each with the column at which its texts start.
constexpr struct {
    Group group; // where --help tells it
    const char* heading;
    qsizetype column;
} helpParts[] = {
    {Group::command, "Команды:", 44},
    {Group::calendar, "КАЛЕНДАРЬ (по умолчанию встроенный демонстрационный):", 31},
    {Group::pass, "ПРОХОД (как поля окна; по умолчанию как в окне):", 31},
    {Group::gate, "ФИЛЬТР (окна запрета вокруг событий, в минутах):", 31},
    {Group::other, "Прочее:", 31},
};

QString helpLine(const QString& usage, const char* about, qsizetype column) {
    const QString start = QStringLiteral("  ") + usage;
    // A usage too long for the column stands three blanks apart from its text.
    return (start.size() + 2 <= column ? start.leftJustified(column)
                                       : start + QStringLiteral("   ")) +
           QString::fromUtf8(about) + u'\n';
}

QString usageOf(const Option& option) {
    QString usage = QStringLiteral("--") + QLatin1String(option.name);
    if (*option.value) usage += u' ' + QString::fromUtf8(option.value);
    if (option.group == Group::command)
        usage = QStringLiteral("newsbell ") + usage + u' ' + QString::fromUtf8(option.usage);
    return usage;
}

std::string helpText() {
    QString text = QString::fromUtf8(
        "Newsbell: экономический календарь с оповещением и таблицами для торговых советников.\n");
    for (const auto& part : helpParts) {
        text += u'\n' + QString::fromUtf8(part.heading) + u'\n';
        // The window is the command without an option.
        if (part.group == Group::command)
            text +=
                helpLine(QString::fromUtf8("newsbell [КАЛЕНДАРЬ]"), "окно программы", part.column);
        for (const Option& option : declared) {
            if (option.group == part.group)
                text += helpLine(usageOf(option), option.about, part.column);
            else if (part.group == Group::gate && option.gateAbout)
                text += helpLine(usageOf(option), option.gateAbout, part.column);
        }
    }
    return text.toStdString();
}

// The answer to the first --help or --version, wherever it stands.
std::optional<std::string> answerTo(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i)
        for (const Option& option : declared)
            if (option.answer &&
                (arguments[i] == QStringLiteral("--") + QLatin1String(option.name) ||
                 (option.letter &&
                  arguments[i] == QStringLiteral("-") + QLatin1Char(option.letter))))
                return option.answer();
    return std::nullopt;
}

// Qt's own options (of Qt 6 on Linux), which the application object takes out of the command
// line: switches, options with the next argument as their value, and those that also take
// "=VALUE".
constexpr const char* qtSwitches[] = {"-reverse", "-testability", "-widgetcount", "-nograb",
                                      "-dograb",  "-qdevel",      "-qdebug"};
constexpr const char* qtOptionsWithValue[] = {"-platform",        "-platformpluginpath",
                                              "-platformtheme",   "-plugin",
                                              "-qwindowgeometry", "-qwindowtitle",
                                              "-qwindowicon",     "-geometry",
                                              "-title",           "-icon",
                                              "-display",         "-name",
                                              "-visual",          "-session",
                                              "-style",           "-stylesheet",
                                              "-qmljsdebugger"};
constexpr const char* qtOptionsAlsoJoined[] = {"-session", "-style", "-stylesheet",
                                               "-qmljsdebugger"};

bool among(const QString& argument, std::span<const char* const> names) {
    return std::ranges::any_of(names,
                               [&](const char* name) { return argument == QLatin1String(name); });
}

QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList left = arguments.mid(0, 1);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (among(argument, qtOptionsWithValue))
            ++i; // and its value
        else if (!among(argument, qtSwitches) &&
                 !among(argument.section(u'=', 0, 0), qtOptionsAlsoJoined))
            left << argument;
    }
    return left;
}

[[noreturn]] void fail(const QString& problem) {
    throw Error(problem.toStdString() + "\nСправка: newsbell --help");
}

std::optional<QString> valueOf(const QCommandLineParser& parser, const char* name) {
    const QString option = QString::fromLatin1(name);
    if (!parser.isSet(option)) return std::nullopt;
    return parser.value(option);
}

// The options of a run at a moment fill the window's fields or the gate's settings of their
// name and mean nothing without its command.
void checkMomentOptions(const QCommandLineParser& parser) {
    const bool dueAt = parser.isSet(QStringLiteral("due-at"));
    const bool gateAt = parser.isSet(QStringLiteral("gate-at"));
    if (dueAt && gateAt) fail(QString::fromUtf8("--due-at и --gate-at не задаются вместе"));
    for (const Option& option : declared) {
        const bool forPass = option.group == Group::pass;
        const bool forGate = option.group == Group::gate || option.gateAbout;
        if ((!forPass && !forGate) || !parser.isSet(QString::fromLatin1(option.name))) continue;
        if ((forPass && dueAt) || (forGate && gateAt)) continue;
        const char* command = forPass && forGate ? "--due-at или --gate-at"
                              : forPass          ? "--due-at"
                                                 : "--gate-at";
        fail(QString::fromUtf8("--%1 задаётся только вместе с %2")
                 .arg(QLatin1String(option.name), QString::fromUtf8(command)));
    }
}

std::optional<DueAtRequest> readDueAt(const QCommandLineParser& parser) {
    if (!parser.isSet(QStringLiteral("due-at"))) return std::nullopt;
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

std::optional<GateAtRequest> readGateAt(const QCommandLineParser& parser) {
    if (!parser.isSet(QStringLiteral("gate-at"))) return std::nullopt;
    if (parser.isSet(QStringLiteral("export")))
        fail(QString::fromUtf8("--export и --gate-at не задаются вместе"));
    try {
        return readGateAtRequest(parser.value(QStringLiteral("gate-at")), valueOf(parser, "before"),
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
    StartOptions options;
    options.answer = answerTo(givenArguments);
    if (options.answer) return options;
    QStringList arguments = withoutQtOptions(givenArguments);
    options.weeks = takeWeekRange(arguments);
    QCommandLineParser parser;
    // The parser knows the options of one value or none; the answers and the two-valued
    // options are taken care of above.
    for (const Option& option : declared)
        if (!option.answer && option.values == 1)
            parser.addOption(QCommandLineOption(QString::fromLatin1(option.name), {},
                                                QString::fromUtf8(option.value)));
    if (!parser.parse(arguments)) fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        fail(QString::fromUtf8("лишний аргумент: ") + parser.positionalArguments().first());

    options.exportFile = valueOf(parser, "export");
    if (options.exportFile && options.exportFile->isEmpty())
        fail(QString::fromUtf8("--export требует имени файла"));
    if (const std::optional<QString> address = valueOf(parser, "calendar-url")) {
        const QUrl url = QUrl::fromUserInput(*address);
        if (!url.isValid() || url.isEmpty())
            fail(QString::fromUtf8("это не адрес страницы: ") + *address);
        options.calendarUrl = url;
    }
    options.noSettings = parser.isSet(QStringLiteral("no-settings"));
    options.verbose = parser.isSet(QStringLiteral("verbose"));
    readFeedOptions(parser, options);
    checkMomentOptions(parser);
    options.dueAt = readDueAt(parser);
    options.gateAt = readGateAt(parser);
    if (options.weeks && !options.exportFile)
        fail(QString::fromUtf8("--weeks задаётся вместе с --export ФАЙЛ"));
    return options;
}

StartOptions readCommandLine(int argc, char** argv) {
    // An application object without a display, only so that Qt's own words come in Russian too;
    // it sees the program name alone, the real one later takes Qt's options.
    int programNameOnly = 1;
    QCoreApplication early(programNameOnly, argv);
    QTranslator qtTexts;
    installQtTranslations(qtTexts);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return parseStartOptions(arguments);
}

} // namespace newsbell
