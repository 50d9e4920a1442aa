#include "app/core/Extraction.h"

#include "app/core/CellText.h"
#include "app/core/TextSearch.h"
#include "base/Convert.h"
#include "base/Cp1251.h"
#include "base/DateText.h"
#include "base/Error.h"

#include <array>

namespace newsbell {

namespace {

constexpr size_t npos = std::string_view::npos;

// The page's markers, exactly as the calendar's markup reads once serialised.
constexpr std::string_view dateValueMarker = "eco_date_full_date value=";
constexpr std::string_view yearMarker = "year=";
constexpr std::string_view dateMarker = "ec_td_date noWrap>";
constexpr std::string_view nameMarker = "ec_b_11 href=\"javascript:slide";
constexpr std::string_view timeMarker = "ec_td_time>";
constexpr std::string_view currencyMarker = "ec_td_currency>";
constexpr std::string_view importanceMarker = "ec_importance";
constexpr std::string_view actualMarker = "ec_td_actual noWrap>";
constexpr std::string_view forecastMarker = "ec_td_forecast";
constexpr std::string_view previousMarker = "ec_td_previous";
constexpr std::string_view afterPreviousMarker = "ec_td_after_previous";
constexpr std::string_view nbsp = "&nbsp;";

constexpr std::array<std::string_view, 12> monthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Event dates carry no year; the page date decides it. Of the years around the page's, the
// one that puts the date nearest to the page date wins (the later one on a tie), as long as
// it lies within half a year of it.
QDate eventDate(int month, int day, QDate pageDate, std::string_view cellText) {
    constexpr qint64 halfYear = 183;
    QDate best;
    qint64 bestDistance = halfYear + 1;
    for (int year = pageDate.year() - 1; year <= pageDate.year() + 1; ++year) {
        QDate candidate(year, month, day);
        if (!candidate.isValid()) continue;
        qint64 distance = std::abs(pageDate.daysTo(candidate));
        if (distance <= bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    if (!best.isValid()) throw Error("'" + cp1251ToUtf8(cellText) + "' is not a valid date");
    return best;
}

// Turns a date cell such as "Jan 3" into the table's date and weekday; a cell without a month
// name stays as it is.
void resolveDateCell(Row& row, QDate pageDate) {
    std::string& text = row[1];
    for (size_t m = 0; m < monthNames.size(); ++m) {
        if (text.find(monthNames[m]) == npos) continue;
        int day = strToInt(text.size() > 3 ? std::string_view(text).substr(3) : "");
        QDate date = eventDate(int(m + 1), day, pageDate, text);
        text = formatDate(date, tableDateFormat);
        row[2] = std::to_string(weekdayNumber(date));
        return;
    }
}

void replaceFirstNbsp(std::string& text, std::string_view replacement) {
    size_t at = text.find(nbsp);
    if (at != npos) text.replace(at, nbsp.size(), replacement);
}

// The forecast is read right inside its cell.
std::string forecastValue(std::string_view valueSlice) {
    size_t at = valueSlice.find(forecastMarker);
    std::string_view cell = at == npos ? valueSlice : valueSlice.substr(at);
    size_t gt = cell.find('>');
    if (gt == npos || cell.substr(gt + 1, nbsp.size()) == nbsp) return {};
    std::string value(textBeforeTag(cell.substr(gt + 1)));
    replaceFirstNbsp(value, "");
    return value;
}

// The previous value sits inside the cell's first inner element.
std::string previousValue(std::string_view valueSlice) {
    size_t at = valueSlice.find(previousMarker);
    std::string_view cell = at == npos ? valueSlice : valueSlice.substr(at);
    size_t gt = cell.find('>');
    if (gt == npos || cell.substr(gt + 1, nbsp.size()) == nbsp) return {};
    std::string_view inner = cell.substr(gt + 1);
    size_t innerGt = inner.find('>');
    if (innerGt == npos) return {};
    std::string value(textBeforeTag(inner.substr(innerGt + 1)));
    replaceFirstNbsp(value, "");
    return value;
}

// Walks a page text once, front to back, one event row at a time.
class PageWalker {
public:
    PageWalker(std::string_view page, EventTable& table, QDate pageDate,
               const std::function<void()>& processEvents)
        : page_(page), table_(table), pageDate_(pageDate), processEvents_(processEvents) {}

    void run() {
        while (nextRow()) {
        }
    }

private:
    // Reads one event; false when the page holds no further one.
    bool nextRow() {
        size_t date = nextDateMarker();
        if (processEvents_) processEvents_();
        if (date == npos) return false;
        pos_ = date == 0 ? 0 : date - 1;
        size_t name = findText(page_, nameMarker, pos_);
        if (name == npos) return false;

        Row row;
        std::string_view dateCell = readRowCells(date, name, row);
        pos_ = std::min(name + nameMarker.size() + 1, page_.size());
        row[6] = readName();
        readValues(row);
        finishRow(row, dateCell);
        table_.appendRow(std::move(row));
        return true;
    }

    // The next date marker from the current position. The search made while checking the
    // previous row for link-less rows usually found it already.
    size_t nextDateMarker() {
        if (lookahead_ != npos && lookahead_ >= pos_) return lookahead_;
        return findText(page_, dateMarker, pos_);
    }

    // Reads date, time, currency and importance from the row's own cells. A row without a
    // name link (a holiday note) is skipped: the cells come from the last date marker before
    // the name link; an empty date there takes the latest real date of the skipped rows.
    std::string_view readRowCells(size_t date, size_t name, Row& row) {
        size_t sliceEnd = name + 1;
        std::string_view carriedDate;
        size_t cells = date;
        for (;;) {
            lookahead_ = findText(page_, dateMarker, cells + dateMarker.size());
            if (lookahead_ == npos || lookahead_ + dateMarker.size() > sliceEnd) break;
            std::string_view skipped =
                TextAfterMarker(page_.substr(cells, sliceEnd - cells), dateMarker);
            if (skipped != nbsp) carriedDate = skipped;
            cells = lookahead_;
        }
        std::string_view slice = page_.substr(cells, sliceEnd - cells);
        std::string_view dateCell = TextAfterMarker(slice, dateMarker);
        if (dateCell == nbsp && !carriedDate.empty()) dateCell = carriedDate;
        row[3] = TextAfterMarker(slice, timeMarker);
        row[4] = TextAfterMarker(slice, currencyMarker);
        row[5] = TextAfterMarker(slice, importanceMarker).substr(0, 1);
        return dateCell;
    }

    // The link's text; the position is left one character before the "<" that ends it.
    std::string readName() {
        size_t gt = page_.find('>', pos_);
        if (gt != npos) pos_ = gt + 1;
        size_t lt = page_.find('<', pos_);
        if (lt == npos) return {};
        std::string name(page_.substr(pos_, lt - pos_));
        pos_ = lt - 1;
        if (name.find(nbsp) != npos)
            replaceFirstNbsp(name, " ");
        else
            name.insert(0, 1, ' ');
        return name;
    }

    void readValues(Row& row) {
        size_t actual = findText(page_, actualMarker, pos_);
        if (actual == npos) return;
        pos_ = actual + actualMarker.size();
        std::string_view rest = page_.substr(pos_);
        if (!rest.starts_with(nbsp)) {
            size_t gt = rest.find('>');
            if (gt != npos) row[7] = textBeforeTag(rest.substr(gt + 1));
        }
        size_t end = findText(page_, afterPreviousMarker, pos_);
        std::string_view valueSlice =
            end == npos ? std::string_view() : page_.substr(pos_, end + 1 - pos_);
        row[8] = forecastValue(valueSlice);
        row[9] = previousValue(valueSlice);
    }

    void finishRow(Row& row, std::string_view dateCell) {
        const int index = table_.rowCount();
        row[0] = std::to_string(index);
        if (dateCell == nbsp) {
            const Row& above = table_.row(index - 1);
            row[1] = above[1];
            row[2] = above[2];
        } else {
            row[1] = plainCellText(dateCell);
            resolveDateCell(row, pageDate_);
        }
        for (int c = 3; c < columnCount; ++c) row[size_t(c)] = plainCellText(row[size_t(c)]);
    }

    std::string_view page_;
    EventTable& table_;
    QDate pageDate_;
    const std::function<void()>& processEvents_;
    size_t pos_ = 0;
    size_t lookahead_ = npos;
};

} // namespace

std::string_view TextAfterMarker(std::string_view text, std::string_view marker) {
    size_t at = findText(text, marker);
    if (at == npos) return {};
    return textBeforeTag(text.substr(at + marker.size()));
}

QDate readPageDate(std::string_view pageText, int currentYear) {
    const Error missing("На странице календаря нет даты недели (значение eco_date_full_date "
                        "из восьми цифр ддммгггг)");
    size_t at = findText(pageText, dateValueMarker);
    if (at == npos) throw missing;
    std::string_view candidates = pageText.substr(at + dateValueMarker.size(), 10);
    size_t blank = candidates.find(' ');
    if (blank == npos || blank < 8) throw missing;
    std::string value(candidates.substr(0, 8));

    // The year link knows the year better than the date value.
    size_t year = findText(pageText, yearMarker);
    if (year != npos && year + 8 < pageText.size() && pageText[year + 5] == '2') {
        value[6] = pageText[year + 7];
        value[7] = pageText[year + 8];
    }
    const std::string dateText = {value[6], value[7], '.',      value[2],
                                  value[3], '.',      value[0], value[1]};
    return parseDate(dateText, tableDateFormat, currentYear);
}

QDate extractEvents(std::string_view pageText, EventTable& table,
                    const ExtractionOptions& options) {
    if (options.mode == ExtractionMode::FreshTable) table.resetToTitleRow();
    QDate pageDate = readPageDate(pageText, options.currentYear);
    PageWalker(pageText, table, pageDate, options.processEvents).run();
    table.fixTitleRow();
    return pageDate;
}

} // namespace newsbell
