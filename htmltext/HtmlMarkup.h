#pragma once

#include "base/Color.h"

#include <optional>
#include <string>
#include <string_view>

// Text-level pieces of the mini-HTML markup: preparing a text, entities inside a run, tag
// attributes, numbers and colours. Pure functions on cp1251 strings.
namespace newsbell::html {

// Named entities become their characters in one left-to-right scan ("&amp;" becomes "&&",
// which the text output shows as one "&"); the first "<#" loses its "<" and the first ">"
// after it; line feeds vanish and carriage returns become "<BR>".
std::string prepareText(std::string_view text);

// "&nbsp;", "&lt;" and "&gt;" inside one run. An escaped "&&" stays as it is, so "&amp;lt;"
// shows "&lt;" rather than a "<".
std::string decodeRunEntities(std::string_view run);

char upper(char c);
std::string upperCase(std::string_view text);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

// The text of the tag at the start of `text` from index `from` up to (not including) its
// first ">", or to the end when it has none.
std::string_view tagAttributes(std::string_view text, size_t from);

// The value of attribute `name`: the text between the first two double quotes after the
// first occurrence of `name`; nullopt when `name` does not occur at all.
std::optional<std::string> attributeValue(std::string_view attributes, std::string_view name);

// The text between the first two double quotes (empty without two of them).
std::string firstQuoted(std::string_view text);

// A number the way the markup writes it: blanks, a sign, decimal digits or hexadecimal ones
// after "$", "x", "X" or "0x". Reading stops at the first other character. `complete` tells
// whether the whole text was a number. Magnitudes stop at maxNumber, far beyond any size in
// pixels or points, so that sizes from markup can be added without overflowing.
inline constexpr int maxNumber = 1 << 20;
int readNumber(std::string_view text, bool* complete = nullptr);

// "#RRGGBB" or a colour name; an empty value is clNone, an unknown name black.
TColor readColor(std::string_view value);

// FONT SIZE 1-5 are the classic steps, any other number is points.
int fontSizeFromHtml(int size);

} // namespace newsbell::html
