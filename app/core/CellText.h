#pragma once

#include <string>
#include <string_view>

namespace newsbell {

// Turns a cell's page markup text into plain text that cannot break a line of the table text
// file: character references become characters ("&amp;" "&", "&nbsp;" a blank, "&#N;" and
// "&#xH;" the cp1251 character or "?"), other "&name;" stay; then ";" becomes "," and CR, LF
// and tab become blanks.
std::string plainCellText(std::string_view markup);

} // namespace newsbell
