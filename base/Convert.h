#pragma once

#include <QTime>
#include <optional>
#include <string_view>

namespace newsbell {

// Conversions of typed or page texts (cp1251) that fail as the user is used to:
// with the offending text quoted in the message.

// Leading blanks, an optional sign, then decimal digits, or hexadecimal digits after "$" or
// "0x". Anything else, or a value outside int, fails with
// "'<text>' is not a valid integer value".
int strToInt(std::string_view text);

// "h:m", "h:m:s" or "h:m:s.zzz" with blanks around it; fails with "'<text>' is not a valid time".
QTime strToTime(std::string_view text);
// The same reading without the failure: nothing when the text is not a time.
std::optional<QTime> readTime(std::string_view text);

} // namespace newsbell
