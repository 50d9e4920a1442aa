#pragma once

#include "calendar/FeedDocument.h"

namespace newsbell {

// Reads an iCalendar document (RFC 5545) with libical. Each VEVENT gives rows: its start
// (UTC, a time of a named zone, a floating time of the local zone, or whole days "All Day"),
// its SUMMARY, and currency and importance from CATEGORIES or the SUMMARY's prefix. Recurrences
// (RRULE, RDATE, EXDATE, changed or cancelled instances) are worked out for the weeks asked
// for; cancelled events are left out. Throws Error naming source and line for a document that
// does not parse or a time zone it cannot name; an event without a readable start is left out
// with a warning.
FeedDocument readICalendar(QByteArrayView bytes, const QString& source, const FeedZones& zones);

} // namespace newsbell
