#include "base/Convert.h"

#include "base/Cp1251.h"
#include "base/Error.h"

#include <charconv>

namespace newsbell {

namespace {

[[noreturn]] void fail(std::string_view text, const char* what) {
    throw Error("'" + cp1251ToUtf8(text) + "' is not a valid " + what);
}

bool isBlank(char c) {
    return c == ' ';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Reads an unsigned decimal number from the front of s; false when there is none or it is
// too large for int.
bool readNumber(std::string_view& s, int& value) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end == s.data() || s.front() == '-' || s.front() == '+') return false;
    s.remove_prefix(size_t(end - s.data()));
    return true;
}

} // namespace

int strToInt(std::string_view text) {
    std::string_view s = trimLeft(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.starts_with('$')) {
        base = 16;
        s.remove_prefix(1);
    } else if (s.starts_with("0x") || s.starts_with("0X")) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty() || s.front() == '-' || s.front() == '+') fail(text, "integer value");
    long long value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (ec != std::errc() || end != s.data() + s.size()) fail(text, "integer value");
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) fail(text, "integer value");
    return int(value);
}

std::optional<QTime> readTime(std::string_view text) {
    std::string_view s = trimRight(trimLeft(text));
    int parts[3] = {0, 0, 0};
    int count = 0;
    int ms = 0;
    while (count < 3) {
        if (!readNumber(s, parts[count])) return std::nullopt;
        ++count;
        if (s.empty() || s.front() != ':') break;
        s.remove_prefix(1);
    }
    if (count == 3 && s.starts_with('.')) {
        s.remove_prefix(1);
        if (!readNumber(s, ms) || ms > 999) return std::nullopt;
    }
    if (count < 2 || !s.empty()) return std::nullopt;
    QTime time(parts[0], parts[1], parts[2], ms);
    if (!time.isValid()) return std::nullopt;
    return time;
}

QTime strToTime(std::string_view text) {
    const std::optional<QTime> time = readTime(text);
    if (!time) fail(text, "time");
    return *time;
}

} // namespace newsbell
