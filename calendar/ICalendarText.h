#pragma once

#include <QByteArrayView>
#include <QString>
#include <string>
#include <string_view>

namespace newsbell {

// The name of the property (after each BEGIN:VEVENT) and of the parameter (on each date
// property) that carry the document's line numbers through libical.
inline constexpr std::string_view iCalendarLineMark = "X-NEWSBELL-LINE";

// An iCalendar document as libical is given it: lines unfolded on bytes, before any decoding
// (a fold may split a multi-byte character); LF line ends; each CATEGORIES value on a line of
// its own (libical splits a list wrongly around an escaped comma or an empty value); and the
// line numbers of the document marked with iCalendarLineMark. Throws Error naming source and
// line for a NUL byte, which would end the text early.
std::string preparedICalendar(QByteArrayView bytes, const QString& source);

} // namespace newsbell
