// The front end of every feed, before any reader: any bytes are told XML, JSON or iCalendar, or
// refused with an Error, and never taken past the bound (here one byte short of an input that
// ends in 0xFF); iCalendar goes on as UTF-8 that starts as iCalendar, and is made ready for
// libical.
#include "base/Error.h"
#include "calendar/FeedDocument.h"
#include "calendar/ICalendarText.h"

#include <cstdlib>

using namespace newsbell;

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool startsAsICalendar(QByteArrayView text) {
    if (text.startsWith("\xEF\xBB\xBF")) text = text.sliced(3);
    while (!text.empty() && QByteArrayView(" \t\r\n").contains(text.front())) text = text.sliced(1);
    return text.startsWith("BEGIN:VCALENDAR");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const bool overBound = size > 0 && data[size - 1] == 0xFF;
    const qsizetype largest = overBound ? qsizetype(size) - 1 : largestFeedDocument;
    try {
        const FeedText text = feedText(bytes, QStringLiteral("fuzz"), largest);
        check(!overBound);
        if (text.format == FeedFormat::ICalendar) {
            check(startsAsICalendar(text.text));
            const PreparedICalendar prepared = prepareICalendar(text.text, QStringLiteral("fuzz"));
            check(prepared.text.find('\0') == std::string::npos);
        }
    } catch (const Error&) {
    }
    return 0;
}
