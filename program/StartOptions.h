#pragma once

#include "headless/DueAtRun.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <string>

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
    bool noSettings = false; // the window starts with its defaults and keeps nothing
    bool verbose = false;    // Qt's and the browser's own messages are shown

    // Whether the run needs no window (a week range also exports): problems go to standard
    // error.
    bool headless() const { return exportFile || dueAt; }
};

// Reads the arguments left after Qt took its own (the program name first). Fails with a
// message that ends in where to find help.
StartOptions parseStartOptions(const QStringList& arguments);

// Whether the raw command line asks for a run without windows (an export or a pass); looked at
// before the application object exists, because such a run needs no display.
bool runsWithoutWindow(int argc, char** argv);
// Whether the raw command line asks for Qt's and the browser's own messages.
bool asksToBeVerbose(int argc, char** argv);

// What is wrong with the raw command line, found before anything starts (so that a mistyped
// command is told as such also where no display exists); nothing when it holds Qt's own
// single-dash options, which only the application object takes away.
std::optional<std::string> earlyOptionProblem(int argc, char** argv);

// The text for --help or --version, which are answered before anything starts.
std::optional<std::string> answerWithoutStarting(int argc, char** argv);

} // namespace newsbell
