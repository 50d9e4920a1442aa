// newsbell-extract PAGE... -o FILE [--grid FILE]
// Reads saved calendar page texts (cp1251) into one event table, the first page fresh and the
// others appended as a week run does, and writes the table text file.
#include "base/Clock.h"
#include "base/Error.h"
#include "core/Extraction.h"
#include "core/TableTextFile.h"

#include <QFile>
#include <QString>
#include <cstdio>
#include <vector>

using namespace newsbell;

namespace {

struct Arguments {
    std::vector<QString> pages;
    QString output;
    QString grid;
};

const char* const usage = "usage: newsbell-extract PAGE... -o FILE [--grid FILE]\n";

Arguments parseArguments(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool takesValue = arg == "-o" || arg == "--grid";
        if (takesValue && i + 1 >= argc) throw Error(std::string(arg) + " needs a file name");
        if (arg == "-o")
            args.output = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--grid")
            args.grid = QString::fromLocal8Bit(argv[++i]);
        else if (arg.starts_with('-') && arg.size() > 1)
            throw Error("unknown option " + std::string(arg));
        else
            args.pages.push_back(QString::fromLocal8Bit(argv[i]));
    }
    if (args.pages.empty() || args.output.isEmpty()) throw Error("no page or no -o FILE given");
    return args;
}

std::string readPage(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Не удалось прочитать файл «%1»: %2")
                        .arg(fileName, file.errorString())
                        .toStdString());
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

void run(const Arguments& args) {
    EventTable table;
    table.writeTitles();
    // The command line's own clock is the wall clock.
    ExtractionOptions options(SystemClock().now().date().year());
    for (const QString& page : args.pages) {
        extractEvents(readPage(page), table, options);
        options.mode = ExtractionMode::AppendWeek;
    }
    // Both texts are ready before anything is written, so a failure writes nothing.
    const std::string events = tableText(table);
    const std::string grid = args.grid.isEmpty() ? std::string() : gridText(table);
    writeFileAtomically(args.output, events);
    if (!args.grid.isEmpty()) writeFileAtomically(args.grid, grid);
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    try {
        args = parseArguments(argc, argv);
    } catch (const Error& error) {
        std::fprintf(stderr, "newsbell-extract: %s\n%s", error.what(), usage);
        return 1;
    }
    try {
        run(args);
        return 0;
    } catch (const Error& error) {
        std::fprintf(stderr, "newsbell-extract: %s\n", error.what());
        return 1;
    }
}
