#pragma once

#include "core/EventTable.h"

#include <QDate>
#include <functional>
#include <string_view>

namespace newsbell {

// How an extraction treats the table it fills.
enum class ExtractionMode {
    FreshTable, // reset to the title row first, numbering from 1 (the main window's command)
    AppendWeek, // add after the rows already there, numbering on (one week of a week run)
};

struct ExtractionOptions {
    ExtractionMode mode = ExtractionMode::FreshTable;
    // The year two-digit years are placed around (the page date is read with one); 0 for the
    // year of today, looked up only then (reading the system's date costs more than a short
    // page's events).
    int currentYear = 0;
    // Called once per event, after each search for the next row, so that a window stays
    // responsive; the table may be read there.
    std::function<void()> processEvents;
};

// The text after the first marker in text, up to the next "<"; empty when the marker is
// missing, when nothing follows it or when no "<" follows.
std::string_view TextAfterMarker(std::string_view text, std::string_view marker);

// The page date of a calendar page text (cp1251): its "eco_date_full_date" value, corrected by
// the page's "year=" link. Fails with a clear message when the page has none, and with
// "'<text>' is not a valid date" when it does not read as one.
QDate readPageDate(std::string_view pageText, int currentYear);

// Reads the events of a calendar page text into table, one row per event, and returns the
// page date. On an error the rows completed so far stay; no half-built row is left behind.
QDate extractEvents(std::string_view pageText, EventTable& table, const ExtractionOptions& options);

} // namespace newsbell
