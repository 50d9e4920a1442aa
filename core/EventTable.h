#pragma once

#include "core/TableText.h"

#include <array>
#include <string_view>
#include <vector>

namespace newsbell {

inline constexpr int columnCount = 10;

// One table row: ten cp1251 texts. Column 0 is the running number, 1 date, 2 weekday (0 = Sunday),
// 3 time, 4 currency, 5 importance, 6 event name, 7 actual, 8 forecast, 9 previous value. A row
// read from a table views its text, and stays valid until the table next changes.
using Row = std::array<std::string_view, columnCount>;

// The ten column titles of row 0, in cp1251.
const Row& columnTitles();

// The event table: a grid of ten text columns whose row 0 holds the titles. Row 0 becomes the
// fixed row when fixTitleRow() finds more than one row, and stops being fixed when the table
// shrinks back to one row. No widgets here; a view listens through Listener.
class EventTable {
public:
    // What a view needs to follow the table; the calls come in about-to/done pairs as Qt's
    // item models expect.
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void rowsAboutToBeInserted(int first, int last) = 0;
        virtual void rowsInserted() = 0;
        virtual void rowsAboutToBeRemoved(int first, int last) = 0;
        virtual void rowsRemoved() = 0;
        virtual void cellChanged(int column, int row) = 0;
        virtual void fixedRowsChanged() = 0;
    };

    // One row with empty cells; the visible tables then call writeTitles().
    EventTable();

    void setListener(Listener* listener) { listener_ = listener; }

    int rowCount() const { return count_; }
    int fixedRowCount() const { return fixedRows_; }

    std::string_view cell(int column, int row) const {
        return text_.view(rows_[size_t(row)][size_t(column)]);
    }
    void setCell(int column, int row, std::string_view text);
    Row row(int index) const;
    void setRow(int index, const Row& cells);

    void writeTitles() { setRow(0, columnTitles()); }

    // Grows with empty rows or drops rows from the end; one row left unfixes row 0.
    void setRowCount(int count);
    // Row 0 and nothing else, titles kept.
    void resetToTitleRow() { setRowCount(1); }
    // Adds cells as the new last row and returns its index.
    int appendRow(const Row& cells);

    // A new last row written cell by cell straight into the table's text, so that an
    // extraction copies each cell once. The row becomes part of the table only at
    // commitPendingRow(); a row abandoned half-built (an error while filling it) never shows,
    // and the next one takes back its text.
    void startPendingRow();
    // Writes the pending row's cell anew. A text cut out of a page says where the page ends
    // (pageEnd), so that a short one goes as one block move.
    void writePendingCell(int column, std::string_view text, const char* pageEnd = nullptr) {
        TableText::Span& span = pending()[size_t(column)];
        if (span.size != 0 && span.begin + span.size == text_.size()) text_.cut(span.begin);
        span.size = 0;
        appendToPendingCell(column, text, pageEnd);
    }
    // Adds to the cell written last.
    void appendToPendingCell(int column, std::string_view text, const char* pageEnd = nullptr) {
        TableText::Span& span = pending()[size_t(column)];
        if (span.size == 0) span.begin = text_.size();
        if (pageEnd)
            text_.appendFromPage(text, pageEnd);
        else
            text_.append(text);
        span.size += std::uint32_t(text.size());
    }
    std::string_view pendingCell(int column) const {
        return text_.view(pendingSpans()[size_t(column)]);
    }
    // The characters of the cell written last, to be changed in place, and its new size, which
    // is never larger.
    char* pendingCellData(int column) { return text_.at(pending()[size_t(column)].begin); }
    void cutPendingCell(int column, size_t size) {
        TableText::Span& span = pending()[size_t(column)];
        span.size = std::uint32_t(size);
        text_.cut(span.begin + span.size);
    }
    // The pending row's cell shows the same text as the cell above it.
    void copyCellFromRowAbove(int column) {
        pending()[size_t(column)] = rows_[size_t(count_ - 1)][size_t(column)];
    }
    int commitPendingRow();

    // Room for rows in all and textBytes more of cell text, so that filling the table up to
    // there moves nothing; the rows' room grows at least twice over, so that tables grown a
    // week at a time do not move their rows every week.
    void reserve(int rows, size_t textBytes);
    // Makes row 0 the fixed row when there is more than the title row.
    void fixTitleRow();

private:
    using Spans = std::array<TableText::Span, columnCount>;

    Spans& pending() { return rows_[size_t(count_)]; }
    const Spans& pendingSpans() const { return rows_[size_t(count_)]; }
    // The span shows text, appended; what it showed before is left behind.
    void rewrite(TableText::Span& span, std::string_view text);
    // Cells whose text lies in this table's own buffer are copied out first, as writing may
    // move the buffer.
    void replaceCells(int index, const Row& cells);
    void dropRows(int from);
    void compactIfWasteful();
    void setFixedRows(int count);

    std::vector<Spans> rows_; // the first count_ are the table, the next the pending row
    TableText text_;
    size_t unused_ = 0;              // at least this much of text_ no cell shows any more
    std::uint32_t pendingStart_ = 0; // where the pending row's text begins
    bool pendingOpen_ = false;
    int count_ = 1;
    int fixedRows_ = 0;
    Listener* listener_ = nullptr;
};

// Deletes rows top..bottom of table through the scratch table, the way the delete command does:
// nothing happens when currentRow (the focused row) is 0 or less; the title row always stays;
// the remaining rows keep their numbers and order.
void deleteSelectedRows(EventTable& table, EventTable& scratch, int currentRow, int top,
                        int bottom);

} // namespace newsbell
