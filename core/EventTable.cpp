#include "core/EventTable.h"

#include "base/Cp1251.h"

#include <QString>
#include <algorithm>
#include <string>

namespace newsbell {

const Row& columnTitles() {
    static const std::array<std::string, columnCount> texts = [] {
        const char* utf8[columnCount] = {
            "№",      "Дата",        "День недели 0-вс", "Время",     "Валюта", "Важность 3-выс",
            "Индекс", "Фактический", "Прогноз",          "Предыдущий"};
        std::array<std::string, columnCount> cp1251;
        for (int c = 0; c < columnCount; ++c)
            cp1251[size_t(c)] = toCp1251(QString::fromUtf8(utf8[c]));
        return cp1251;
    }();
    static const Row titles = [] {
        Row row;
        for (int c = 0; c < columnCount; ++c) row[size_t(c)] = texts[size_t(c)];
        return row;
    }();
    return titles;
}

// Room for a week of a few dozen events from the start, so that filling one moves nothing.
EventTable::EventTable() : rows_(2) {
    rows_.reserve(64);
}

Row EventTable::row(int index) const {
    Row cells;
    for (int c = 0; c < columnCount; ++c) cells[size_t(c)] = cell(c, index);
    return cells;
}

void EventTable::rewrite(TableText::Span& span, std::string_view text) {
    unused_ += span.size;
    span = {text_.size(), std::uint32_t(text.size())};
    text_.append(text);
}

void EventTable::setCell(int column, int row, std::string_view text) {
    if (text_.holds(text)) return setCell(column, row, std::string(text));
    rewrite(rows_[size_t(row)][size_t(column)], text);
    if (listener_) listener_->cellChanged(column, row);
    compactIfWasteful();
}

void EventTable::replaceCells(int index, const Row& cells) {
    if (std::ranges::any_of(cells, [this](std::string_view text) { return text_.holds(text); })) {
        std::array<std::string, columnCount> copies;
        Row views;
        for (size_t c = 0; c < copies.size(); ++c) views[c] = copies[c] = cells[c];
        return replaceCells(index, views);
    }
    for (size_t c = 0; c < cells.size(); ++c) rewrite(rows_[size_t(index)][c], cells[c]);
}

void EventTable::setRow(int index, const Row& cells) {
    replaceCells(index, cells);
    if (listener_)
        for (int c = 0; c < columnCount; ++c) listener_->cellChanged(c, index);
    compactIfWasteful();
}

void EventTable::setRowCount(int count) {
    if (count < 1) count = 1;
    const int old = count_;
    if (count <= 1) setFixedRows(0); // a grid keeps fewer fixed rows than rows
    pendingOpen_ = false;
    if (count > old) {
        if (listener_) listener_->rowsAboutToBeInserted(old, count - 1);
        rows_.resize(std::max(rows_.size(), size_t(count) + 1));
        std::fill(rows_.begin() + old, rows_.begin() + count, Spans{});
        count_ = count;
        if (listener_) listener_->rowsInserted();
    } else if (count < old) {
        if (listener_) listener_->rowsAboutToBeRemoved(count, old - 1);
        dropRows(count);
        if (listener_) listener_->rowsRemoved();
    }
}

void EventTable::dropRows(int from) {
    for (int r = from; r < count_; ++r)
        for (const TableText::Span& span : rows_[size_t(r)]) unused_ += span.size;
    count_ = from;
    if (from == 1) {
        // Only the title row is left: the text past its last cell is no one's.
        std::uint32_t end = 0, shown = 0;
        for (const TableText::Span& span : rows_[0]) {
            end = std::max(end, span.begin + span.size);
            shown += span.size;
        }
        text_.cut(end);
        unused_ = end > shown ? end - shown : 0;
    }
    compactIfWasteful();
}

// Edits leave their old text behind; once that is most of the buffer, the live text moves to a
// buffer of its own.
void EventTable::compactIfWasteful() {
    if (unused_ < 4096 || unused_ < text_.size() / 2) return;
    TableText kept;
    kept.reserve(text_.capacity());
    for (int r = 0; r < count_; ++r) {
        for (TableText::Span& span : rows_[size_t(r)]) {
            const TableText::Span moved{kept.size(), span.size};
            kept.append(text_.view(span));
            span = moved;
        }
    }
    text_ = std::move(kept);
    unused_ = 0;
    pendingOpen_ = false; // an abandoned row's text stayed behind
}

void EventTable::startPendingRow() {
    if (pendingOpen_) text_.cut(pendingStart_);
    pending() = Spans{};
    pendingStart_ = text_.size();
    pendingOpen_ = true;
}

int EventTable::commitPendingRow() {
    const int index = count_;
    if (listener_) listener_->rowsAboutToBeInserted(index, index);
    ++count_;
    pendingOpen_ = false;
    if (rows_.size() == size_t(count_)) rows_.emplace_back();
    if (listener_) listener_->rowsInserted();
    return index;
}

int EventTable::appendRow(const Row& cells) {
    startPendingRow();
    replaceCells(count_, cells);
    return commitPendingRow();
}

void EventTable::reserve(int rows, size_t textBytes) {
    text_.reserve(textBytes);
    const size_t wanted = size_t(rows) + 1; // and the pending row
    if (wanted <= rows_.capacity()) return;
    rows_.reserve(std::max(wanted, 2 * rows_.capacity()));
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
