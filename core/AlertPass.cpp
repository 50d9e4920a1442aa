#include "core/AlertPass.h"

#include "base/Convert.h"
#include "base/Cp1251.h"
#include "base/DateText.h"

#include <QString>
#include <initializer_list>
#include <optional>

namespace newsbell {

namespace {

constexpr int secondsPerHour = 3600;

// The fixed pieces of a message that are not plain ASCII, in cp1251.
struct MessageTexts {
    std::array<std::string, 3> importance;
    std::string startsIn; // then the span and " </b>"
    std::string endedAgo; // then the span and endedAgoEnd
    std::string endedAgoEnd;
};

const MessageTexts& messageTexts() {
    static const MessageTexts texts = [] {
        const auto cp1251 = [](const char* utf8) { return toCp1251(QString::fromUtf8(utf8)); };
        return MessageTexts{{cp1251(" <i> <b>Низкая важность </i></b>"),
                             cp1251(" <i> <b>Средняя важность </i></b>"),
                             cp1251(" <i> <b>Высокая важность </i></b>")},
                            cp1251(" <br> Начнется через <b>"),
                            cp1251(" <br> Закончилось  <b>"),
                            cp1251(" назад</b>")};
    }();
    return texts;
}

int secondsOfDay(QTime time) {
    return time.msecsSinceStartOfDay() / 1000;
}

int windowSeconds(const std::string& text) {
    return secondsOfDay(strToTime(text));
}

// Cell texts are plain; in markup their "&" and "<" would start entities and tags.
void appendEscaped(std::string& out, std::string_view cell) {
    size_t plain = 0;
    for (size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '&' && cell[i] != '<') continue;
        out.append(cell.substr(plain, i - plain));
        out += cell[i] == '&' ? "&amp;" : "&lt;";
        plain = i + 1;
    }
    out.append(cell.substr(plain));
}

// The cells of columns, escaped, with a blank between each two.
void appendJoined(std::string& out, const Row& row, std::initializer_list<int> columns) {
    for (int column : columns) {
        if (column != *columns.begin()) out += ' ';
        appendEscaped(out, row[size_t(column)]);
    }
}

void appendTwoDigits(std::string& out, int value) {
    out += char('0' + value / 10);
    out += char('0' + value % 10);
}

// A span of whole seconds as H:mm:ss, the hours without a leading zero ("0:25:00").
void appendSpan(std::string& out, int seconds) {
    out += std::to_string(seconds / secondsPerHour);
    out += ':';
    appendTwoDigits(out, seconds / 60 % 60);
    out += ':';
    appendTwoDigits(out, seconds % 60);
}

// A cleared box excludes the rows whose column holds exactly its value.
template <size_t N> bool excludedBy(std::optional<size_t> box, const std::array<bool, N>& ticked) {
    return box && !ticked[*box];
}

std::string statusLine(const Row& row) {
    std::string line;
    line.reserve(64 + row[6].size());
    for (int column : {1, 3, 4, 5, 6, 7, 8, 9}) {
        line += row[size_t(column)];
        line += ' ';
    }
    return line;
}

std::string message(const Row& row, int eventSeconds, int nowSeconds) {
    const MessageTexts& texts = messageTexts();
    std::string out;
    out.reserve(192 + row[6].size());
    out += "<b>";
    appendEscaped(out, row[1]);
    out += "</b> ";
    appendJoined(out, row, {3, 4});
    out += ' ';
    if (const std::optional<size_t> box = importanceBox(row)) out += texts.importance[*box];
    out += " <br><b><q>";
    appendEscaped(out, row[6]);
    out += "</q></b><br>";
    appendJoined(out, row, {7, 8, 9});
    if (nowSeconds < eventSeconds) {
        out += texts.startsIn;
        appendSpan(out, eventSeconds - nowSeconds);
        out += " </b>";
    } else if (nowSeconds > eventSeconds) {
        out += texts.endedAgo;
        appendSpan(out, nowSeconds - eventSeconds);
        out += texts.endedAgoEnd;
    }
    return out;
}

} // namespace

bool breaksRule(std::string_view text, const FieldRule& rule) {
    return strToInt(text) > rule.highest;
}

std::string afterWindowText(const AlertSettings& settings) {
    return "00:" + settings.afterMinutes;
}

std::string leadWindowText(const AlertSettings& settings) {
    return settings.leadHours + ":" + settings.leadMinutes;
}

namespace {

// Where a row of the table stands at a moment, read as the pass reads it.
enum class RowTiming { Ignored, Ended, Due, Later };

class RowTimer {
public:
    RowTimer(const AlertSettings& settings, QDate today, QTime now)
        : settings_(settings), today_(formatDate(today, tableDateFormat)),
          nowSeconds_(secondsOfDay(now)) {}

    int nowSeconds() const { return nowSeconds_; }

    // Only rows of today with a time of day that no cleared box excludes are ever due. The
    // windows are read when the first such row needs them, so that fields which do not form a
    // time fail only where a row depends on them.
    RowTiming timing(const EventTable& table, int r, int& eventSeconds) {
        // Most rows of a week are of another day: their other cells are never read.
        if (table.cell(1, r) != today_) return RowTiming::Ignored;
        const Row row = table.row(r);
        if (excludedBy(currencyBox(row), settings_.currencies) ||
            excludedBy(importanceBox(row), settings_.importances))
            return RowTiming::Ignored;
        const std::optional<int> seconds = eventSecondsOfDay(row);
        if (!seconds) return RowTiming::Ignored;
        eventSeconds = *seconds;
        if (!after_) after_ = windowSeconds(afterWindowText(settings_));
        if (nowSeconds_ - *after_ >= eventSeconds) return RowTiming::Ended;
        if (!lead_) lead_ = windowSeconds(leadWindowText(settings_));
        if (nowSeconds_ + *lead_ <= eventSeconds) return RowTiming::Later;
        return RowTiming::Due;
    }

private:
    const AlertSettings& settings_;
    std::string today_;
    int nowSeconds_;
    std::optional<int> after_, lead_;
};

} // namespace

void runAlertPass(const EventTable& table, const AlertSettings& settings, QDate today, QTime now,
                  const std::function<void(const DueAlert&)>& onDue) {
    RowTimer timer(settings, today, now);
    for (int r = 1; r < table.rowCount(); ++r) {
        int eventSeconds = 0;
        if (timer.timing(table, r, eventSeconds) != RowTiming::Due) continue;
        const Row row = table.row(r);
        onDue(DueAlert{r, statusLine(row), message(row, eventSeconds, timer.nowSeconds())});
    }
}

namespace {

// The earliest row (the first in table order on a tie) whose timing is wanted and whose time of
// day passes counts.
std::optional<int>
earliestRow(const EventTable& table, const AlertSettings& settings, QDate today, QTime now,
            RowTiming wanted, const std::function<bool(int eventSeconds, int nowSeconds)>& counts) {
    RowTimer timer(settings, today, now);
    std::optional<int> earliest;
    int earliestSeconds = 0;
    for (int r = 1; r < table.rowCount(); ++r) {
        int eventSeconds = 0;
        if (timer.timing(table, r, eventSeconds) != wanted) continue;
        if (!counts(eventSeconds, timer.nowSeconds())) continue;
        if (earliest && eventSeconds >= earliestSeconds) continue;
        earliest = r;
        earliestSeconds = eventSeconds;
    }
    return earliest;
}

} // namespace

std::optional<int> nextEventRow(const EventTable& table, const AlertSettings& settings, QDate today,
                                QTime now) {
    return earliestRow(table, settings, today, now, RowTiming::Later,
                       [](int, int) { return true; });
}

std::optional<int> soonEventRow(const EventTable& table, const AlertSettings& settings, QDate today,
                                QTime now) {
    return earliestRow(table, settings, today, now, RowTiming::Due,
                       [](int eventSeconds, int nowSeconds) { return eventSeconds > nowSeconds; });
}

} // namespace newsbell
