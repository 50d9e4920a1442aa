#include "base/DateText.h"

#include "base/Cp1251.h"
#include "base/Error.h"

#include <array>
#include <charconv>

namespace newsbell {

namespace {

// Gathers a date's text on the stack and makes the string once: a table writes a date for every
// day of a page, and a library call for each piece costs more than the piece.
class DateWriter {
public:
    void put(char c) {
        if (used_ == sizeof buffer_) spill();
        buffer_[used_++] = c;
    }
    void putRun(char c, size_t count) {
        for (; count > 0; --count) put(c);
    }
    // Value with at least width digits, zeros in front. A date's parts are small numbers, written
    // digit by digit; any other goes through the library.
    void putNumber(int value, size_t width) {
        if (value >= 0 && value < 10000 && width <= 4) {
            size_t length = value < 10 ? 1 : value < 100 ? 2 : value < 1000 ? 3 : 4;
            if (length < width) length = width;
            char digits[4];
            for (size_t k = length; k > 0; --k, value /= 10) digits[k - 1] = char('0' + value % 10);
            for (size_t k = 0; k < length; ++k) put(digits[k]);
            return;
        }
        char digits[16];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        const size_t length = size_t(end - digits);
        if (length < width) putRun('0', width - length);
        for (const char* digit = digits; digit != end; ++digit) put(*digit);
    }
    std::string text() {
        if (spilled_.empty()) return std::string(buffer_, used_);
        spill();
        return std::move(spilled_);
    }

private:
    // Only a pattern longer than any the program uses fills the buffer.
    void spill() {
        spilled_.append(buffer_, used_);
        used_ = 0;
    }

    char buffer_[32];
    size_t used_ = 0;
    std::string spilled_;
};

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
    DateWriter out;
    const std::string_view p = format.pattern;
    for (size_t i = 0; i < p.size();) {
        const char c = p[i];
        size_t run = 1;
        while (i + run < p.size() && p[i + run] == c) ++run;
        i += run;
        switch (c) {
        case 'y':
            out.putNumber(run >= 3 ? year : year % 100, run >= 3 ? 4 : 2);
            break;
        case 'm':
            out.putNumber(month, run);
            break;
        case 'd':
            out.putNumber(day, run);
            break;
        default:
            out.putRun(c == '/' ? format.separator : c, run);
        }
    }
    return out.text();
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
