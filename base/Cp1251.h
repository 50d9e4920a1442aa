#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace newsbell {

// The program's text is 8-bit Windows Cyrillic (code page 1251). The core works on such
// byte strings; these two functions are the only doors to and from Unicode.

// Characters that code page 1251 lacks become "?".
std::string toCp1251(const QString& text);
QString fromCp1251(std::string_view text);

// For messages: a cp1251 text as UTF-8.
std::string cp1251ToUtf8(std::string_view text);

} // namespace newsbell
