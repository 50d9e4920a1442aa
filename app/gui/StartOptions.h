#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace newsbell {

// What the command line asks for:
//   newsbell [CALENDAR]                  the window on that calendar, else the demo calendar
//   newsbell --export FILE [CALENDAR]    the week's table text file, without windows
// where CALENDAR is --calendar-url URL (another page) or --calendar-feed SOURCE [--time-zone
// ZONE] [--feed-time-zone ZONE] (the built-in calendar on a real feed).
struct StartOptions {
    std::optional<QString> exportFile;
    std::optional<QUrl> calendarUrl;
    std::optional<QString> calendarFeed; // an http or https address, or a file
    std::optional<QString> timeZone;     // of the table's times; the computer's when not given
    std::optional<QString> feedTimeZone; // of the weekly XML feed's times; New York when not given

    // Whether the run needs no window: problems go to standard error.
    bool headless() const { return exportFile.has_value(); }
};

// Reads the arguments left after Qt took its own (the program name first). Fails with a
// message that ends in the usage text.
StartOptions parseStartOptions(const QStringList& arguments);

// Whether the raw command line asks for an export; looked at before the application object
// exists, because a run without windows needs no display.
bool asksForExport(int argc, char** argv);

} // namespace newsbell
