#include "core/EventRow.h"

#include "base/Convert.h"
#include "base/DateText.h"

#include <algorithm>
#include <charconv>

namespace newsbell {

namespace {

template <size_t N>
std::optional<size_t> boxOf(std::string_view cell, const std::array<std::string_view, N>& values) {
    const auto found = std::find(values.begin(), values.end(), cell);
    if (found == values.end()) return std::nullopt;
    return size_t(found - values.begin());
}

bool readDigits(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() &&
           std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<QDate> eventDate(const Row& row) {
    const std::string_view text = row[1];
    int year = 0, month = 0, day = 0;
    if (text.size() != 10 || text[4] != '.' || text[7] != '.' ||
        !readDigits(text.substr(0, 4), year) || !readDigits(text.substr(5, 2), month) ||
        !readDigits(text.substr(8, 2), day))
        return std::nullopt;
    const QDate date(year, month, day);
    // Exactly the text the table's own date format gives, as the alert pass compares it.
    if (!date.isValid() || formatDate(date, tableDateFormat) != text) return std::nullopt;
    return date;
}

std::optional<int> eventSecondsOfDay(const Row& row) {
    const std::optional<QTime> time = readTime(row[3]);
    if (!time) return std::nullopt;
    return time->msecsSinceStartOfDay() / 1000;
}

std::optional<size_t> currencyBox(const Row& row) {
    return boxOf(row[4], alertCurrencies);
}

std::optional<size_t> importanceBox(const Row& row) {
    return boxOf(row[5], alertImportances);
}

} // namespace newsbell
