#pragma once

#include "app/gui/DueAtRun.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace newsbell {

// What the command line asks for:
//   newsbell [CALENDAR]                  the window on that calendar, else the demo calendar
//   newsbell --export FILE [CALENDAR]    the week's table text file, without windows
//   newsbell --due-at MOMENT [CALENDAR] [--lead H:MM] [--after M] [--currencies LIST]
//            [--importance LIST]         one alert pass, its messages on standard output
//   newsbell --weeks FIRST LAST --export FILE [CALENDAR]
//                                        the weeks FIRST to LAST joined, without windows
// where CALENDAR is --calendar-url URL (another page) or --calendar-feed SOURCE [--time-zone
// ZONE] [--feed-time-zone ZONE] (the built-in calendar on a real feed).
struct StartOptions {
    struct WeekRange {
        QDate first;
        QDate last;
    };
    std::optional<QString> exportFile;
    std::optional<QUrl> calendarUrl;
    std::optional<QString> calendarFeed; // an http or https address, or a file
    std::optional<QString> timeZone;     // of the table's times; the computer's when not given
    std::optional<QString> feedTimeZone; // of the weekly XML feed's times; New York when not given
    std::optional<DueAtRequest> dueAt;
    std::optional<WeekRange> weeks;

    // Whether the run needs no window (a week range also exports): problems go to standard
    // error.
    bool headless() const { return exportFile || dueAt; }
};

// Reads the arguments left after Qt took its own (the program name first). Fails with a
// message that ends in the usage text.
StartOptions parseStartOptions(const QStringList& arguments);

// Whether the raw command line asks for a run without windows (an export or a pass); looked at
// before the application object exists, because such a run needs no display.
bool runsWithoutWindow(int argc, char** argv);

} // namespace newsbell
