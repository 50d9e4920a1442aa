#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace newsbell {

// What the command line asks for:
//   newsbell [--calendar-url URL]                  the window on that page, else the demo calendar
//   newsbell --export FILE [--calendar-url URL]    the week's table text file, without windows
//   newsbell --weeks FIRST LAST --export FILE [--calendar-url URL]
//                                                  the weeks FIRST to LAST joined, without windows
struct StartOptions {
    struct WeekRange {
        QDate first;
        QDate last;
    };
    std::optional<QString> exportFile;
    std::optional<QUrl> calendarUrl;
    std::optional<WeekRange> weeks;
};

// Reads the arguments left after Qt took its own (the program name first). Fails with a
// message that ends in the usage text.
StartOptions parseStartOptions(const QStringList& arguments);

// Whether the raw command line asks for an export; looked at before the application object
// exists, because a run without windows needs no display.
bool asksForExport(int argc, char** argv);

} // namespace newsbell
