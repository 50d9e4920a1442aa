#include "htmltext/HtmlMarkup.h"

#include "base/Cp1251.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>

namespace newsbell::html {

namespace {

struct Entity {
    std::string_view name;
    std::string replacement;
};

std::string cp1251Char(char16_t unicode) {
    return toCp1251(QString(QChar(unicode)));
}

// The characters the entities name, in the program's code page.
const std::array<Entity, 9>& namedEntities() {
    static const std::array<Entity, 9> entities{{
        {"&amp;", "&&"},
        {"&quot;", "\""},
        {"&sect;", cp1251Char(u'\u00A7')},
        {"&permil;", cp1251Char(u'\u2030')},
        {"&reg;", cp1251Char(u'\u00AE')},
        {"&copy;", cp1251Char(u'\u00A9')},
        {"&para;", cp1251Char(u'\u00B6')},
        {"&trade;", cp1251Char(u'\u2122')},
        {"&euro;", cp1251Char(u'\u20AC')},
    }};
    return entities;
}

std::string decodeNamedEntities(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const Entity* match = nullptr;
        if (text[i] == '&')
            for (const Entity& entity : namedEntities())
                if (startsWithNoCase(text.substr(i), entity.name)) {
                    match = &entity;
                    break;
                }
        if (match) {
            result += match->replacement;
            i += match->name.size();
        } else {
            result += text[i++];
        }
    }
    return result;
}

std::string unhideHashTag(std::string text) {
    const size_t open = text.find("<#");
    if (open == std::string::npos) return text;
    text.erase(open, 1);
    const size_t close = text.find('>', open);
    if (close != std::string::npos) text.erase(close, 1);
    return text;
}

std::string lineBreaksAsTags(std::string text) {
    const auto lineBreak = [](char c) { return c == '\r' || c == '\n'; };
    if (std::none_of(text.begin(), text.end(), lineBreak)) return text;
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == '\r')
            result += "<BR>";
        else if (c != '\n')
            result += c;
    }
    return result;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char u = upper(c);
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

// Two characters of "#RRGGBB" the way the markup always read them: any code from "A" on counts
// code - 55, anything else code - 48.
std::uint32_t colorPair(std::string_view value, size_t at) {
    if (at + 2 > value.size()) return 0;
    auto digit = [](unsigned char c) -> std::uint32_t { return c >= 'A' ? c - 55 : c - 48; };
    return digit(value[at]) * 16 + digit(value[at + 1]);
}

struct NamedColor {
    std::string_view name;
    TColor color;
};

constexpr std::array<NamedColor, 40> colorNames{{
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"clbackground", systemColor(1)},
    {"clactivecaption", systemColor(2)},
    {"clinactivecaption", systemColor(3)},
    {"clmenu", systemColor(4)},
    {"clwindow", systemColor(5)},
    {"clwindowframe", systemColor(6)},
    {"clmenutext", systemColor(7)},
    {"clwindowtext", systemColor(8)},
    {"clcaptiontext", systemColor(9)},
    {"clactiveborder", systemColor(10)},
    {"clinactiveborder", systemColor(11)},
    {"clappworkspace", systemColor(12)},
    {"clhighlight", systemColor(13)},
    {"clhighlighttext", systemColor(14)},
    {"clbtnface", systemColor(15)},
    {"clbtnshadow", systemColor(16)},
    {"clgraytext", systemColor(17)},
    {"clbtntext", systemColor(18)},
    {"clinactivecaptiontext", systemColor(19)},
    {"clbtnhighlight", systemColor(20)},
    {"cl3ddkshadow", systemColor(21)},
    {"cl3dlight", systemColor(22)},
    {"clinfotext", systemColor(23)},
    {"clinfobk", systemColor(24)},
}};

} // namespace

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = upper(c);
    return result;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (upper(text[i]) != upper(prefix[i])) return false;
    return true;
}

std::string prepareText(std::string_view text) {
    std::string prepared =
        text.find('&') == std::string_view::npos ? std::string(text) : decodeNamedEntities(text);
    return lineBreaksAsTags(unhideHashTag(std::move(prepared)));
}

std::string decodeRunEntities(std::string_view run) {
    static constexpr std::array<std::pair<std::string_view, char>, 3> entities{
        {{"&nbsp;", ' '}, {"&lt;", '<'}, {"&gt;", '>'}}};
    std::string result;
    result.reserve(run.size());
    size_t i = 0;
    // Every entity starts with "&": the text up to the next one is copied as it is.
    while (i < run.size()) {
        const size_t amp = std::min(run.find('&', i), run.size());
        result.append(run, i, amp - i);
        i = amp;
        if (i == run.size()) break;
        if (run.substr(i, 2) == "&&") {
            result += "&&";
            i += 2;
            continue;
        }
        bool replaced = false;
        for (const auto& [name, character] : entities)
            if (run.substr(i, name.size()) == name) {
                result += character;
                i += name.size();
                replaced = true;
                break;
            }
        if (!replaced) result += run[i++];
    }
    return result;
}

std::string_view tagAttributes(std::string_view text, size_t from) {
    const size_t close = text.find('>');
    const size_t end = close == std::string_view::npos ? text.size() : close;
    return from >= end ? std::string_view() : text.substr(from, end - from);
}

std::string firstQuoted(std::string_view text) {
    const size_t open = text.find('"');
    if (open == std::string_view::npos) return {};
    const size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(text.substr(open + 1, close - open - 1));
}

std::optional<std::string> attributeValue(std::string_view attributes, std::string_view name) {
    const size_t at = attributes.find(name);
    if (at == std::string_view::npos) return std::nullopt;
    return firstQuoted(attributes.substr(at + name.size()));
}

int readNumber(std::string_view text, bool* complete) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (text.substr(i, 2) == "0x" || text.substr(i, 2) == "0X") {
        base = 16;
        i += 2;
    }
    const size_t digitsStart = i;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0 || digit >= base) break;
        value = std::min<long long>(value * base + digit, maxNumber);
    }
    if (complete) *complete = i == text.size() && i > digitsStart;
    return int(negative ? -value : value);
}

TColor readColor(std::string_view value) {
    if (value.empty()) return clNone;
    if (value.front() == '#')
        return colorPair(value, 1) + 256 * colorPair(value, 3) + 65536 * colorPair(value, 5);
    std::string lower(value);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    for (const NamedColor& named : colorNames)
        if (named.name == lower) return named.color;
    return 0;
}

int fontSizeFromHtml(int size) {
    static constexpr std::array<int, 5> steps{8, 10, 12, 14, 16};
    return size >= 1 && size <= 5 ? steps[size - 1] : size;
}

} // namespace newsbell::html
