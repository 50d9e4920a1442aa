#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace newsbell {

// The program's text is 8-bit Windows Cyrillic (code page 1251). The core works on such
// byte strings; these two functions are the only doors to and from Unicode.

// A character that code page 1251 lacks is written as its base letters where it has them: its
// canonical decomposition without the combining marks (ü as u, é as e, ñ as n), and ß as ss,
// ł as l, ø as o, đ as d, æ as ae, œ as oe, ı as i, their capitals likewise. One that has none
// (日, 😀, α, ≠) becomes one "?". Characters the code page has are never folded (й, ё, €).
std::string toCp1251(const QString& text);
QString fromCp1251(std::string_view text);

// For messages: a cp1251 text as UTF-8.
std::string cp1251ToUtf8(std::string_view text);

} // namespace newsbell
