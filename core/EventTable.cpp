#include "core/EventTable.h"

#include "base/Cp1251.h"

#include <QString>
#include <algorithm>
#include <utility>

namespace newsbell {

const Row& columnTitles() {
    static const Row titles = [] {
        const char* utf8[columnCount] = {
            "№",      "Дата",        "День недели 0-вс", "Время",     "Валюта", "Важность 3-выс",
            "Индекс", "Фактический", "Прогноз",          "Предыдущий"};
        Row row;
        for (int c = 0; c < columnCount; ++c) row[size_t(c)] = toCp1251(QString::fromUtf8(utf8[c]));
        return row;
    }();
    return titles;
}

EventTable::EventTable() : rows_(1) {}

void EventTable::setCell(int column, int row, std::string text) {
    rows_[size_t(row)][size_t(column)] = std::move(text);
    if (listener_) listener_->cellChanged(column, row);
}

void EventTable::setRow(int index, const Row& cells) {
    rows_[size_t(index)] = cells;
    if (listener_)
        for (int c = 0; c < columnCount; ++c) listener_->cellChanged(c, index);
}

void EventTable::setRowCount(int count) {
    if (count < 1) count = 1;
    const int old = count_;
    if (count <= 1) setFixedRows(0); // a grid keeps fewer fixed rows than rows
    if (count > old) {
        if (listener_) listener_->rowsAboutToBeInserted(old, count - 1);
        if (rows_.size() < size_t(count)) rows_.resize(size_t(count));
        for (int r = old; r < count; ++r)
            for (std::string& cell : rows_[size_t(r)]) cell.clear();
        count_ = count;
        if (listener_) listener_->rowsInserted();
    } else if (count < old) {
        if (listener_) listener_->rowsAboutToBeRemoved(count, old - 1);
        count_ = count;
        if (listener_) listener_->rowsRemoved();
    }
}

Row& EventTable::pendingRow() {
    if (rows_.size() == size_t(count_)) return rows_.emplace_back(); // empty already
    Row& row = rows_[size_t(count_)];
    for (std::string& cell : row) cell.clear();
    return row;
}

int EventTable::commitPendingRow() {
    const int index = count_;
    if (listener_) listener_->rowsAboutToBeInserted(index, index);
    ++count_;
    if (listener_) listener_->rowsInserted();
    return index;
}

int EventTable::appendRow(Row cells) {
    pendingRow() = std::move(cells);
    return commitPendingRow();
}

void EventTable::reserve(int count) {
    if (size_t(count) <= rows_.capacity()) return;
    rows_.reserve(std::max(size_t(count), 2 * rows_.capacity()));
}

void EventTable::fixTitleRow() {
    if (rowCount() > 1) setFixedRows(1);
}

void EventTable::setFixedRows(int count) {
    if (fixedRows_ == count) return;
    fixedRows_ = count;
    if (listener_) listener_->fixedRowsChanged();
}

void deleteSelectedRows(EventTable& table, EventTable& scratch, int currentRow, int top,
                        int bottom) {
    if (currentRow <= 0) return;
    scratch.setRowCount(1);
    scratch.setRow(0, table.row(0));
    for (int i = 1; i < table.rowCount(); ++i) {
        if (i < top || i > bottom) scratch.appendRow(table.row(i));
    }
    table.setRowCount(1);
    for (int k = 1; k < scratch.rowCount(); ++k) table.appendRow(scratch.row(k));
    table.setRow(0, scratch.row(0));
    table.fixTitleRow();
}

} // namespace newsbell
