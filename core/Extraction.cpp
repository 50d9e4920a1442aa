#include "core/Extraction.h"

#include "base/Convert.h"
#include "base/Cp1251.h"
#include "base/DateText.h"
#include "base/Error.h"
#include "core/CellText.h"
#include "core/MarkerIndex.h"
#include "core/TextSearch.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace newsbell {

namespace {

constexpr size_t npos = std::string_view::npos;

// The page date's markers; the event cells' markers are in MarkerIndex.h.
constexpr std::string_view dateValueMarker = "eco_date_full_date value=";
constexpr std::string_view yearMarker = "year=";
constexpr std::string_view nbsp = "&nbsp;";

// Whether text begins with "&nbsp;", and whether it is exactly that. The length is a constant,
// so this is a couple of loads rather than a library call.
bool startsWithNbsp(std::string_view text) {
    return text.size() >= nbsp.size() && std::memcmp(text.data(), nbsp.data(), nbsp.size()) == 0;
}

bool isNbsp(std::string_view text) {
    return text.size() == nbsp.size() && startsWithNbsp(text);
}

// Event dates carry no year; the page date decides it. Of the years around the page's, the
// one that puts the date nearest to the page date wins (the later one on a tie), as long as
// it lies within half a year of it. Returns that year with the date.
struct EventDate {
    QDate date;
    int year;
};

EventDate eventDate(int month, int day, QDate pageDate, int pageYear, std::string_view cellText) {
    constexpr qint64 halfYear = 183;
    EventDate best{};
    qint64 bestDistance = halfYear + 1;
    for (int year = pageYear - 1; year <= pageYear + 1; ++year) {
        QDate candidate(year, month, day);
        if (!candidate.isValid()) continue;
        qint64 distance = std::abs(pageDate.daysTo(candidate));
        if (distance <= bestDistance) {
            best = {candidate, year};
            bestDistance = distance;
        }
    }
    if (!best.date.isValid()) throw Error("'" + cp1251ToUtf8(cellText) + "' is not a valid date");
    return best;
}

// Three characters as one number, so that a month name is one comparison.
constexpr std::uint32_t threeChars(const char* p) {
    return std::uint32_t(static_cast<unsigned char>(p[0])) |
           std::uint32_t(static_cast<unsigned char>(p[1])) << 8 |
           std::uint32_t(static_cast<unsigned char>(p[2])) << 16;
}

// The index of the first month name, in calendar order, that text holds anywhere; 12 when it
// holds none. One pass over the short cell instead of a search for each name.
size_t firstMonthIn(std::string_view text) {
    static constexpr auto names = [] {
        std::array<std::uint32_t, pageMonthNames.size()> packed{};
        for (size_t m = 0; m < packed.size(); ++m) packed[m] = threeChars(pageMonthNames[m].data());
        return packed;
    }();
    size_t first = names.size();
    for (size_t i = 0; i + 3 <= text.size(); ++i) {
        const std::uint32_t here = threeChars(text.data() + i);
        for (size_t m = 0; m < first; ++m) {
            if (names[m] == here) {
                first = m;
                break;
            }
        }
    }
    return first;
}

// Turns a date cell such as "Jan 3" into the table's date and weekday; a cell without a month
// name stays as it is.
void resolveDateCell(Row& row, QDate pageDate, int pageYear) {
    std::string& text = row[1];
    const size_t m = firstMonthIn(text);
    if (m == pageMonthNames.size()) return;
    const int month = int(m + 1);
    const int day = strToInt(text.size() > 3 ? std::string_view(text).substr(3) : "");
    const EventDate date = eventDate(month, day, pageDate, pageYear, text);
    text = formatDate(date.year, month, day, tableDateFormat);
    row[2] = std::to_string(weekdayNumber(date.date));
}

void replaceFirstNbsp(std::string& text, std::string_view replacement) {
    size_t at = text.find(nbsp);
    if (at != npos) text.replace(at, nbsp.size(), replacement);
}

// The forecast is read right inside its cell.
CellScan forecastValue(std::string_view cell) {
    size_t gt = findChar(cell, '>');
    if (gt == npos || startsWithNbsp(cell.substr(gt + 1))) return {{}, true};
    return scanCell(cell.substr(gt + 1));
}

// The previous value sits inside the cell's first inner element.
CellScan previousValue(std::string_view cell) {
    size_t gt = findChar(cell, '>');
    if (gt == npos || startsWithNbsp(cell.substr(gt + 1))) return {{}, true};
    std::string_view inner = cell.substr(gt + 1);
    size_t innerGt = findChar(inner, '>');
    if (innerGt == npos) return {{}, true};
    return scanCell(inner.substr(innerGt + 1));
}

// Walks a page text once, front to back, one event row at a time. The markers are indexed in
// one pass first; the walk then moves over that index and cuts cells out of the text by
// offsets, never copying what remains of the page.
class PageWalker {
public:
    PageWalker(std::string_view page, EventTable& table, QDate pageDate,
               const std::function<void()>& processEvents)
        : page_(page), index_(indexMarkers(page)), hits_(index_.hits), table_(table),
          pageDate_(pageDate), pageYear_(pageDate.year()), processEvents_(processEvents) {}

    void run() {
        // One row at most per date marker: the table grows once, not row by row.
        table_.reserve(table_.rowCount() + int(index_.dates));
        while (nextRow()) {
        }
    }

private:
    // Reads one event; false when the page holds no further one.
    bool nextRow() {
        const size_t dateHit = findHit(Marker::Date, pos_);
        if (processEvents_) processEvents_();
        if (dateHit == hits_.size()) return false;
        cursor_ = dateHit; // no later search looks before the row's date marker
        const size_t date = hits_[dateHit].position;
        pos_ = date == 0 ? 0 : date - 1;
        const RowHead head = readRowHead(date);
        if (head.name == npos) return false;

        Row& row = table_.pendingRow();
        undecoded_ = 0;
        std::string_view dateCell = readRowCells(head, row);
        pos_ = std::min(head.name + markerText(Marker::Name).size() + 1, page_.size());
        readName(row);
        skipHitsBefore(pos_);
        readValues(row);
        finishRow(row, dateCell);
        table_.commitPendingRow();
        return true;
    }

    // Index of the first marker of that kind at or after from; hits_.size() when none.
    size_t findHit(Marker marker, size_t from) const {
        size_t i = cursor_;
        while (i < hits_.size() && (hits_[i].marker != marker || hits_[i].position < from)) ++i;
        return i;
    }

    // No later search looks before position, so the index walk may start there.
    void skipHitsBefore(size_t position) {
        while (cursor_ < hits_.size() && hits_[cursor_].position < position) ++cursor_;
    }

    const char* pageEnd() const { return page_.data() + page_.size(); }

    std::string_view slice(size_t begin, size_t end) const {
        return page_.substr(begin, end - begin);
    }

    // The text after the marker at position at, up to the next "<" before end.
    CellScan cellText(size_t at, Marker marker, size_t end) const {
        if (at == npos) return {{}, true};
        size_t start = at + markerText(marker).size();
        return scanCell(slice(start, end));
    }

    // Cells that may hold references or line breaks are remembered, to be made plain when
    // the row is complete. The pending row's cells start empty, so an empty text needs no copy.
    void setCell(Row& row, int column, CellScan scan, size_t length = std::string_view::npos) {
        if (!scan.text.empty())
            copyCellText(row[size_t(column)], scan.text.substr(0, length), pageEnd());
        if (!scan.plain) undecoded_ |= 1u << column;
    }

    // Where a row's cells are: its name link, the date marker its cells follow, and the first
    // time, currency and importance markers after that one.
    struct RowHead {
        size_t name = npos;
        size_t date = npos;  // the row's first date marker
        size_t cells = npos; // the last date marker before the name link
        size_t first[3] = {npos, npos, npos};
    };

    // One sweep of the index from the row's date marker to its name link. A row without a name
    // link (a holiday note) is skipped: the cells come from the last date marker before the
    // link.
    RowHead readRowHead(size_t date) const {
        RowHead head;
        head.date = head.cells = date;
        for (size_t i = cursor_; i < hits_.size(); ++i) {
            const MarkerHit& hit = hits_[i];
            if (hit.marker == Marker::Name) {
                head.name = hit.position;
                break;
            }
            if (hit.marker == Marker::Date && hit.position > head.cells) {
                head.cells = hit.position;
                head.first[0] = head.first[1] = head.first[2] = npos;
            } else if (hit.marker >= Marker::Time && hit.marker <= Marker::Importance) {
                size_t& slot = head.first[size_t(hit.marker) - size_t(Marker::Time)];
                if (slot == npos) slot = hit.position;
            }
        }
        return head;
    }

    // The date cell of the latest skipped row that has one, for a row whose own is empty.
    std::string_view carriedDate(const RowHead& head, size_t end) const {
        std::string_view carried;
        for (size_t i = cursor_; i < hits_.size() && hits_[i].position < head.cells; ++i) {
            if (hits_[i].marker != Marker::Date) continue;
            std::string_view skipped = cellText(hits_[i].position, Marker::Date, end).text;
            if (!isNbsp(skipped)) carried = skipped;
        }
        return carried;
    }

    // Reads date, time, currency and importance; returns the date cell as the page has it.
    std::string_view readRowCells(const RowHead& head, Row& row) {
        const size_t end = head.name + 1;
        std::string_view dateCell = cellText(head.cells, Marker::Date, end).text;
        if (head.cells != head.date && isNbsp(dateCell)) {
            std::string_view carried = carriedDate(head, end);
            if (!carried.empty()) dateCell = carried;
        }
        setCell(row, 3, cellText(head.first[0], Marker::Time, end));
        setCell(row, 4, cellText(head.first[1], Marker::Currency, end));
        setCell(row, 5, cellText(head.first[2], Marker::Importance, end), 1);
        return dateCell;
    }

    // The link's text, with a blank for its first "&nbsp;" or else in front; the position is
    // left one character before the "<" that ends it.
    void readName(Row& row) {
        size_t gt = findChar(page_, '>', pos_);
        if (gt != npos) pos_ = gt + 1;
        const CellScan scan = scanCell(page_.substr(pos_));
        if (scan.text.empty() && findChar(page_, '<', pos_) == npos) return;
        pos_ += scan.text.size() - 1;
        std::string& name = row[6];
        const size_t at = scan.plain ? npos : scan.text.find(nbsp);
        if (at == npos) {
            name += ' ';
            name += scan.text;
        } else {
            name.append(scan.text.substr(0, at))
                .append(1, ' ')
                .append(scan.text.substr(at + nbsp.size()));
        }
        if (!scan.plain) undecoded_ |= 1u << 6;
    }

    void readValues(Row& row) {
        const size_t actualHit = findHit(Marker::Actual, pos_);
        if (actualHit == hits_.size()) return;
        const size_t actual = hits_[actualHit].position;
        pos_ = actual + markerText(Marker::Actual).size();
        std::string_view rest = page_.substr(pos_);
        if (!startsWithNbsp(rest)) {
            size_t gt = findChar(rest, '>');
            if (gt != npos) setCell(row, 7, scanCell(rest.substr(gt + 1)));
        }
        skipHitsBefore(pos_);
        // The value cells end at the after-previous marker; the first forecast and previous
        // markers before it open theirs.
        size_t after = npos, forecast = npos, previous = npos;
        for (size_t i = cursor_; i < hits_.size() && after == npos; ++i) {
            const MarkerHit& hit = hits_[i];
            if (hit.marker == Marker::AfterPrevious)
                after = hit.position;
            else if (hit.marker == Marker::Forecast && forecast == npos)
                forecast = hit.position;
            else if (hit.marker == Marker::Previous && previous == npos)
                previous = hit.position;
        }
        if (after == npos) return; // no value cells to read
        const size_t end = after + 1;
        setCell(row, 8, forecastValue(slice(forecast == npos ? pos_ : forecast, end)));
        setCell(row, 9, previousValue(slice(previous == npos ? pos_ : previous, end)));
        // A plain value holds no "&", so no "&nbsp;" either.
        if (undecoded_ & 1u << 8) replaceFirstNbsp(row[8], "");
        if (undecoded_ & 1u << 9) replaceFirstNbsp(row[9], "");
    }

    void finishRow(Row& row, std::string_view dateCell) {
        const int index = table_.rowCount();
        char digits[16];
        row[0].assign(digits, std::to_chars(digits, digits + sizeof digits, index).ptr);
        if (isNbsp(dateCell)) {
            const Row& above = table_.row(index - 1);
            row[1] = above[1];
            row[2] = above[2];
        } else {
            copyCellText(row[1], dateCell, pageEnd());
            makeCellTextPlain(row[1]);
            resolveDateCell(row, pageDate_, pageYear_);
        }
        for (int c = 3; c < columnCount; ++c)
            if (undecoded_ & 1u << c) makeCellTextPlain(row[size_t(c)]);
    }

    std::string_view page_;
    MarkerIndex index_;
    const std::vector<MarkerHit>& hits_;
    EventTable& table_;
    QDate pageDate_;
    int pageYear_; // pageDate_'s, worked out once
    const std::function<void()>& processEvents_;
    size_t pos_ = 0;
    size_t cursor_ = 0;      // index of the first marker hit the walk may still need
    unsigned undecoded_ = 0; // columns of the row being read that may need makeCellTextPlain
};

} // namespace

std::string_view TextAfterMarker(std::string_view text, std::string_view marker) {
    size_t at = findText(text, marker);
    if (at == npos) return {};
    return scanCell(text.substr(at + marker.size())).text;
}

QDate readPageDate(std::string_view pageText, int currentYear) {
    const auto missing = [] {
        return Error("На странице календаря нет даты недели (значение eco_date_full_date "
                     "из восьми цифр ддммгггг)");
    };
    size_t at = findText(pageText, dateValueMarker);
    if (at == npos) throw missing();
    std::string_view candidates = pageText.substr(at + dateValueMarker.size(), 10);
    size_t blank = candidates.find(' ');
    if (blank == npos || blank < 8) throw missing();
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
    const int year = options.currentYear != 0 ? options.currentYear : QDate::currentDate().year();
    QDate pageDate = readPageDate(pageText, year);
    PageWalker(pageText, table, pageDate, options.processEvents).run();
    table.fixTitleRow();
    return pageDate;
}

} // namespace newsbell
