#pragma once

#include <string>
#include <string_view>

namespace newsbell {

// Turns a cell's page markup text, in place, into plain text that cannot break a line of the table
// text file: character references become characters ("&amp;" "&", "&nbsp;" a blank, "&#N;" and
// "&#xH;" the cp1251 character or "?"), other "&name;" stay; then ";" becomes "," and CR, LF
// and tab become blanks.
void makeCellTextPlain(std::string& text);

// A cell's text as the page gives it: the text before the next "<" (empty when none follows),
// and whether it holds anything makeCellTextPlain would change. One pass does both, so that
// the common plain cell is never looked at twice.
struct CellScan {
    std::string_view text;
    bool plain;
};
CellScan scanCell(std::string_view text);

} // namespace newsbell
