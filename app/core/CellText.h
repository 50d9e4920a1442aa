#pragma once

#include <string>
#include <string_view>

namespace newsbell {

// Turns a cell's page markup text, in place, into plain text that cannot break a line of the table
// text file: character references become characters ("&amp;" "&", "&nbsp;" a blank, "&#N;" and
// "&#xH;" the cp1251 character or "?"), other "&name;" stay; then ";" becomes "," and CR, LF
// and tab become blanks.
void makeCellTextPlain(std::string& text);

} // namespace newsbell
