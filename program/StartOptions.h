#pragma once

#include "headless/DueAtRun.h"
#include "headless/GateAtRun.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <string>

namespace newsbell {

// What the command line asks for: a window, an export, a pass, the news gate or a week join, on
// which calendar
// (`newsbell --help` tells every option, from their declarations in StartOptions.cpp).
struct StartOptions {
    struct WeekRange {
        QDate first;
        QDate last;
    };
    std::optional<QString> exportFile;
    std::optional<QUrl> calendarUrl;
    std::optional<QString> calendarFeed; // an http or https address, or a file
    std::optional<QString> timeZone;     // of the table's times; the computer's when not given
    std::optional<QString> feedTimeZone; // of the weekly XML feed's times; UTC when not given
    std::optional<DueAtRequest> dueAt;
    std::optional<GateAtRequest> gateAt;
    std::optional<WeekRange> weeks;
    bool noSettings = false; // the window starts with its defaults and keeps nothing
    bool verbose = false;    // Qt's and the browser's own messages are shown
    // The text of --help or --version, printed instead of starting anything.
    std::optional<std::string> answer;

    // Whether the run needs no window (a week range also exports): problems go to standard
    // error.
    bool headless() const { return exportFile || dueAt || gateAt; }
};

// Reads the command line as main() gets it, the program name first. Qt's own single-dash options
// (-platform, -style, ...) are passed over: the application object takes them later. --help and
// --version are answered wherever they stand, even beside mistakes. Fails with a message that
// ends in where to find help.
StartOptions parseStartOptions(const QStringList& arguments);

// parseStartOptions() on main()'s arguments, before the application object exists, so that a
// run without windows needs no display and a mistyped option is told as such everywhere; Qt's
// own words in the message come in Russian too.
StartOptions readCommandLine(int argc, char** argv);

} // namespace newsbell
