#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace newsbell {

inline constexpr int columnCount = 10;

// One table row: ten cp1251 texts. Column 0 is the running number, 1 date, 2 weekday (0 = Sunday),
// 3 time, 4 currency, 5 importance, 6 event name, 7 actual, 8 forecast, 9 previous value.
using Row = std::array<std::string, columnCount>;

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

    const std::string& cell(int column, int row) const {
        return rows_[size_t(row)][size_t(column)];
    }
    void setCell(int column, int row, std::string text);
    const Row& row(int index) const { return rows_[size_t(index)]; }
    void setRow(int index, const Row& cells);

    void writeTitles() { setRow(0, columnTitles()); }

    // Grows with empty rows or drops rows from the end; one row left unfixes row 0.
    void setRowCount(int count);
    // Row 0 and nothing else, titles kept.
    void resetToTitleRow() { setRowCount(1); }
    // Adds cells as the new last row and returns its index.
    int appendRow(Row cells);
    // A new last row filled in place: pendingRow() gives its cleared cells (reusing the
    // storage of rows dropped earlier, so that refilling a table does not allocate), and the
    // row becomes part of the table only at commitPendingRow(). A row abandoned half-built
    // (an error while filling it) never shows.
    Row& pendingRow();
    int commitPendingRow();
    // Room for count rows in all, so that filling the table up to there moves no row; the
    // room grows at least twice over, so that tables grown a week at a time do not move their
    // rows every week.
    void reserve(int count);
    // Makes row 0 the fixed row when there is more than the title row.
    void fixTitleRow();

private:
    // Makes a new row with its strings constructed empty, without zeroing the row first as a
    // value-initialised array would be.
    template <typename T> struct RowAllocator : std::allocator<T> {
        template <typename U> struct rebind { using other = RowAllocator<U>; };
        template <typename U, typename... Args> void construct(U* at, Args&&... args) {
            if constexpr (sizeof...(Args) == 0)
                ::new (static_cast<void*>(at)) U;
            else
                ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
        }
    };

    void setFixedRows(int count);

    std::vector<Row, RowAllocator<Row>>
        rows_; // the first count_ are the table; the rest wait for reuse
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
