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

// Whether text begins with "&nbsp;", and whether it is exactly that: two loads and two
// compares, where a library call would cost more than the cell.
bool startsWithNbsp(std::string_view text) {
    if (text.size() < nbsp.size()) return false;
    std::uint32_t head = 0, wantedHead = 0;
    std::uint16_t tail = 0, wantedTail = 0;
    std::memcpy(&head, text.data(), 4);
    std::memcpy(&tail, text.data() + 4, 2);
    std::memcpy(&wantedHead, nbsp.data(), 4);
    std::memcpy(&wantedTail, nbsp.data() + 4, 2);
    return head == wantedHead && tail == wantedTail;
}

bool isNbsp(std::string_view text) {
    return text.size() == nbsp.size() && startsWithNbsp(text);
}

// Where the first "&nbsp;" of a short cell text is, or npos; inline, as the cells are short.
size_t findNbsp(std::string_view text) {
    for (size_t at = findChar(text, '&'); at != npos; at = findChar(text, '&', at + 1))
        if (startsWithNbsp(text.substr(at))) return at;
    return npos;
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

// A three-letter text's slot among the month names: the twelve names give twelve different
// slots, so each place in a cell costs one compare instead of twelve.
constexpr size_t monthSlot(std::uint32_t threeLetters) {
    return (threeLetters * 26596u) >> 28;
}

// The index of the first month name, in calendar order, that text holds anywhere; 12 when it
// holds none.
size_t firstMonthIn(std::string_view text) {
    struct Slot {
        std::uint32_t name = 0; // three NULs never read as a month: its month is 12
        size_t month = pageMonthNames.size();
    };
    static constexpr auto bySlot = [] {
        std::array<Slot, 16> table{};
        for (size_t m = 0; m < pageMonthNames.size(); ++m) {
            const std::uint32_t name = threeChars(pageMonthNames[m].data());
            Slot& slot = table[monthSlot(name)];
            if (slot.month != pageMonthNames.size()) throw "two month names share a slot";
            slot = {name, m};
        }
        return table;
    }();
    size_t first = pageMonthNames.size();
    for (size_t i = 0; i + 3 <= text.size(); ++i) {
        const std::uint32_t here = threeChars(text.data() + i);
        const Slot& slot = bySlot[monthSlot(here)];
        if (slot.name == here) first = std::min(first, slot.month);
    }
    return first;
}

// Turns the pending row's date cell, when it holds a month name ("Jan 3"), into the table's
// date and weekday; a cell without one stays as it is.
void resolveDateCell(EventTable& table, QDate pageDate, int pageYear) {
    const std::string_view text = table.pendingCell(1);
    const size_t m = firstMonthIn(text);
    if (m == pageMonthNames.size()) return;
    const int month = int(m + 1);
    const int day = strToInt(text.size() > 3 ? text.substr(3) : "");
    const EventDate date = eventDate(month, day, pageDate, pageYear, text);
    table.writePendingCell(1, formatDate(date.year, month, day, tableDateFormat));
    const char weekday = char('0' + weekdayNumber(date.date));
    table.writePendingCell(2, std::string_view(&weekday, 1));
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
        table_.reserve(table_.rowCount() + int(index_.dates), index_.dates * 64);
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

        table_.startPendingRow();
        std::string_view dateCell = readRowCells(head);
        pos_ = std::min(head.name + markerText(Marker::Name).size() + 1, page_.size());
        readName();
        skipHitsBefore(pos_);
        readValues();
        finishRow(dateCell);
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

    // The pending row's cells start empty, so an empty text needs no copy.
    void setCell(int column, CellScan scan, size_t length = std::string_view::npos) {
        if (scan.text.empty()) return;
        table_.writePendingCell(column, scan.text.substr(0, length), pageEnd());
        if (!scan.plain) makePlain(column);
    }

    // A cell that may hold references or line breaks, made plain where it stands.
    void makePlain(int column) {
        const size_t size = table_.pendingCell(column).size();
        table_.cutPendingCell(column, makeCellTextPlain(table_.pendingCellData(column), size));
    }

    // A value cell drops its first "&nbsp;" before it is made plain. A plain value holds no
    // "&", so no "&nbsp;" either.
    void setValueCell(int column, CellScan scan) {
        if (scan.text.empty()) return;
        const size_t at = scan.plain ? npos : findNbsp(scan.text);
        if (at == npos) return setCell(column, scan);
        table_.writePendingCell(column, scan.text.substr(0, at), pageEnd());
        table_.appendToPendingCell(column, scan.text.substr(at + nbsp.size()), pageEnd());
        makePlain(column);
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
    std::string_view readRowCells(const RowHead& head) {
        const size_t end = head.name + 1;
        std::string_view dateCell = cellText(head.cells, Marker::Date, end).text;
        if (head.cells != head.date && isNbsp(dateCell)) {
            std::string_view carried = carriedDate(head, end);
            if (!carried.empty()) dateCell = carried;
        }
        setCell(3, cellText(head.first[0], Marker::Time, end));
        setCell(4, cellText(head.first[1], Marker::Currency, end));
        setCell(5, cellText(head.first[2], Marker::Importance, end), 1);
        return dateCell;
    }

    // The link's text, with a blank for its first "&nbsp;" or else in front; the position is
    // left one character before the "<" that ends it.
    void readName() {
        size_t gt = findChar(page_, '>', pos_);
        if (gt != npos) pos_ = gt + 1;
        const CellScan scan = scanCell(page_.substr(pos_));
        if (scan.text.empty() && findChar(page_, '<', pos_) == npos) return;
        pos_ += scan.text.size() - 1;
        const size_t at = scan.plain ? npos : findNbsp(scan.text);
        if (at == npos) {
            table_.writePendingCell(6, " ");
            table_.appendToPendingCell(6, scan.text, pageEnd());
        } else {
            table_.writePendingCell(6, scan.text.substr(0, at), pageEnd());
            table_.appendToPendingCell(6, " ");
            table_.appendToPendingCell(6, scan.text.substr(at + nbsp.size()), pageEnd());
        }
        if (!scan.plain) makePlain(6);
    }

    void readValues() {
        const size_t actualHit = findHit(Marker::Actual, pos_);
        if (actualHit == hits_.size()) return;
        const size_t actual = hits_[actualHit].position;
        pos_ = actual + markerText(Marker::Actual).size();
        std::string_view rest = page_.substr(pos_);
        if (!startsWithNbsp(rest)) {
            size_t gt = findChar(rest, '>');
            if (gt != npos) setCell(7, scanCell(rest.substr(gt + 1)));
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
        setValueCell(8, forecastValue(slice(forecast == npos ? pos_ : forecast, end)));
        setValueCell(9, previousValue(slice(previous == npos ? pos_ : previous, end)));
    }

    void finishRow(std::string_view dateCell) {
        char digits[16];
        const char* digitsEnd =
            std::to_chars(digits, digits + sizeof digits, table_.rowCount()).ptr;
        table_.writePendingCell(0, {digits, size_t(digitsEnd - digits)}, digits + sizeof digits);
        if (isNbsp(dateCell)) {
            table_.copyCellFromRowAbove(1);
            table_.copyCellFromRowAbove(2);
        } else {
            table_.writePendingCell(1, dateCell, pageEnd());
            makePlain(1);
            resolveDateCell(table_, pageDate_, pageYear_);
        }
    }

    std::string_view page_;
    MarkerIndex index_;
    const std::vector<MarkerHit>& hits_;
    EventTable& table_;
    QDate pageDate_;
    int pageYear_; // pageDate_'s, worked out once
    const std::function<void()>& processEvents_;
    size_t pos_ = 0;
    size_t cursor_ = 0; // index of the first marker hit the walk may still need
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
