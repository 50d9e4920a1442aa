#pragma once

#include "app/gui/DueAtRun.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace newsbell {

// What the command line asks for:
//   newsbell [--calendar-url URL]                  the window on that page, else the demo calendar
//   newsbell --export FILE [--calendar-url URL]    the week's table text file, without windows
//   newsbell --due-at MOMENT [--calendar-url URL] [--lead H:MM] [--after M] [--currencies LIST]
//            [--importance LIST]                   one alert pass, its messages on standard output
//   newsbell --weeks FIRST LAST --export FILE [--calendar-url URL]
//                                                  the weeks FIRST to LAST joined, without windows
struct StartOptions {
    struct WeekRange {
        QDate first;
        QDate last;
    };
    std::optional<QString> exportFile;
    std::optional<QUrl> calendarUrl;
    std::optional<DueAtRequest> dueAt;
    std::optional<WeekRange> weeks;
};

// Reads the arguments left after Qt took its own (the program name first). Fails with a
// message that ends in the usage text.
StartOptions parseStartOptions(const QStringList& arguments);

// Whether the raw command line asks for a run without windows (an export or a pass); looked at
// before the application object exists, because such a run needs no display.
bool runsWithoutWindow(int argc, char** argv);

} // namespace newsbell
