#pragma once

#include "calendar/FeedDocument.h"

#include <optional>

namespace newsbell {

// Reads the weekly JSON feed: an array of objects with title, country, date, impact, forecast,
// previous and sometimes actual (other members are ignored; text values are trimmed). A date
// with a time of day carries its offset, and the two give the moment, shown in the local zone
// (the feed's zone does not apply); a date alone gives an "All Day" row on that date. Throws
// Error naming source and line for JSON that does not parse or is not an array; an object
// without a readable date or title is left out with a warning.
FeedDocument readJsonFeed(QByteArrayView bytes, const QString& source, const FeedZones& zones);

// A date of the feed: "YYYY-MM-DD", or that with "T", a time of day "hh:mm", "hh:mm:ss" or
// "hh:mm:ss.fff", and an offset "Z", "+hh:mm", "+hhmm" or "+hh" ("t", "z" and a blank for
// "T" also do). Nothing for anything else, a time without an offset included.
struct FeedDate {
    QDate date;
    bool timed = false;
    qint64 moment = 0; // timed: seconds since 1970 UTC
};
std::optional<FeedDate> jsonFeedDate(QStringView text);

} // namespace newsbell
