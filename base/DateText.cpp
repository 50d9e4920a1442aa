#include "base/DateText.h"

#include "base/Cp1251.h"
#include "base/Error.h"

#include <array>
#include <charconv>

namespace newsbell {

namespace {

void appendNumber(std::string& out, int value, size_t width) {
    char digits[16];
    const std::string_view text(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    if (text.size() < width) out.append(width - text.size(), '0');
    out += text;
}

// The order of the y, m and d runs in the pattern, as their first letters.
std::array<char, 3> fieldOrder(std::string_view pattern) {
    std::array<char, 3> order{};
    size_t n = 0;
    char previous = 0;
    for (char c : pattern) {
        if ((c == 'y' || c == 'm' || c == 'd') && c != previous && n < order.size()) order[n++] = c;
        previous = c;
    }
    return order;
}

} // namespace

std::string formatDate(QDate date, DateFormat format) {
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day); // one calendar conversion instead of three
    return formatDate(year, month, day, format);
}

std::string formatDate(int year, int month, int day, DateFormat format) {
    std::string out;
    std::string_view p = format.pattern;
    while (!p.empty()) {
        char c = p.front();
        size_t run = p.find_first_not_of(c);
        if (run == std::string_view::npos) run = p.size();
        if (c == 'y') {
            if (run >= 3)
                appendNumber(out, year, 4);
            else
                appendNumber(out, year % 100, 2);
        } else if (c == 'm') {
            appendNumber(out, month, run);
        } else if (c == 'd') {
            appendNumber(out, day, run);
        } else {
            out.append(run, c == '/' ? format.separator : c);
        }
        p.remove_prefix(run);
    }
    return out;
}

int expandTwoDigitYear(int twoDigits, int currentYear) {
    int first = currentYear - 50;
    int year = first - first % 100 + twoDigits;
    return year < first ? year + 100 : year;
}

QDate parseDate(std::string_view text, DateFormat format, int currentYear) {
    auto fail = [&] { throw Error("'" + cp1251ToUtf8(text) + "' is not a valid date"); };
    std::string_view s = text;
    auto skipBlanks = [&] {
        while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    };
    int numbers[3] = {};
    size_t digitCount[3] = {};
    size_t count = 0;
    skipBlanks();
    while (count < 3) {
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), numbers[count]);
        if (ec != std::errc() || end == s.data() ||
            !std::isdigit(static_cast<unsigned char>(s.front())))
            fail();
        digitCount[count] = size_t(end - s.data());
        s.remove_prefix(digitCount[count]);
        ++count;
        if (s.empty() || s.front() != format.separator) break;
        s.remove_prefix(1);
    }
    skipBlanks();
    if (count < 2 || !s.empty()) fail();

    int year = currentYear, month = 0, day = 0;
    size_t yearDigits = 4;
    std::array<char, 3> order = fieldOrder(format.pattern);
    size_t next = 0;
    for (char field : order) {
        if (field == 'y' && count == 2) continue; // the year is left out
        if (field == 'y') {
            year = numbers[next];
            yearDigits = digitCount[next];
        } else if (field == 'm') {
            month = numbers[next];
        } else {
            day = numbers[next];
        }
        ++next;
    }
    if (yearDigits <= 2) year = expandTwoDigitYear(year, currentYear);
    QDate date(year, month, day);
    if (year < 1 || !date.isValid()) fail();
    return date;
}

} // namespace newsbell
