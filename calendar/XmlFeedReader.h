#pragma once

#include "calendar/FeedDocument.h"

namespace newsbell {

// Reads the weekly XML feed: a "weeklyevents" root of "event" elements holding title, country,
// date (MM-DD-YYYY), time ("8:30am", "All Day", "Tentative", ...), impact, forecast, previous
// and actual. Times of day are wall times of the feed's zone and become local; other times stay
// text on the feed's date. Throws Error naming source and line for XML that does not parse; an
// event without a readable date is left out with a warning.
FeedDocument readXmlFeed(QByteArrayView bytes, const QString& source, const FeedZones& zones);

} // namespace newsbell
