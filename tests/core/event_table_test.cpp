#include "core/EventTable.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

using namespace newsbell;

namespace {

// A table of events numbered 1..count, their names "e1".."eN".
EventTable numberedTable(int count) {
    EventTable table;
    table.writeTitles();
    for (int i = 1; i <= count; ++i) {
        const std::string number = std::to_string(i), name = "e" + number;
        Row row;
        row[0] = number;
        row[6] = name;
        table.appendRow(row);
    }
    table.fixTitleRow();
    return table;
}

std::vector<std::string> numbers(const EventTable& table) {
    std::vector<std::string> result;
    for (int r = 1; r < table.rowCount(); ++r) result.emplace_back(table.cell(0, r));
    return result;
}

// Counts rows the way a view would, to check the notifications add up.
struct CountingListener : EventTable::Listener {
    int rows = 1;
    int pendingFirst = 0, pendingLast = -1;
    void rowsAboutToBeInserted(int first, int last) override {
        pendingFirst = first, pendingLast = last;
    }
    void rowsInserted() override { rows += pendingLast - pendingFirst + 1; }
    void rowsAboutToBeRemoved(int first, int last) override {
        pendingFirst = first, pendingLast = last;
    }
    void rowsRemoved() override { rows -= pendingLast - pendingFirst + 1; }
    void cellChanged(int, int) override {}
    void fixedRowsChanged() override {}
};

TEST(EventTable, row_zero_is_fixed_only_while_there_are_event_rows) {
    EventTable table;
    table.writeTitles();
    EXPECT_EQ(table.fixedRowCount(), 0);
    table.fixTitleRow();
    EXPECT_EQ(table.fixedRowCount(), 0);
    table.appendRow({});
    table.fixTitleRow();
    EXPECT_EQ(table.fixedRowCount(), 1);
    table.resetToTitleRow();
    EXPECT_EQ(table.fixedRowCount(), 0);
    EXPECT_EQ(table.row(0), columnTitles());
}

TEST(RowDeletion, removes_the_selected_range_and_keeps_the_numbers_of_the_rest) {
    EventTable table = numberedTable(8);
    EventTable scratch;
    deleteSelectedRows(table, scratch, 5, 3, 5);
    EXPECT_EQ(numbers(table), (std::vector<std::string>{"1", "2", "6", "7", "8"}));
    EXPECT_EQ(table.cell(6, 3), "e6");
    EXPECT_EQ(table.fixedRowCount(), 1);
    EXPECT_EQ(table.row(0), columnTitles());
}

TEST(RowDeletion, deleting_every_event_leaves_the_title_row_unfixed) {
    EventTable table = numberedTable(4);
    EventTable scratch;
    deleteSelectedRows(table, scratch, 1, 1, 4);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.fixedRowCount(), 0);
    EXPECT_EQ(table.row(0), columnTitles());
}

TEST(RowDeletion, a_selection_from_the_title_row_keeps_the_titles) {
    EventTable table = numberedTable(4);
    EventTable scratch;
    deleteSelectedRows(table, scratch, 2, 0, 2);
    EXPECT_EQ(numbers(table), (std::vector<std::string>{"3", "4"}));
    EXPECT_EQ(table.row(0), columnTitles());
}

TEST(RowDeletion, does_nothing_when_the_focus_is_on_the_title_row_or_the_table_is_empty) {
    EventTable table = numberedTable(3);
    EventTable scratch;
    deleteSelectedRows(table, scratch, 0, 1, 3);
    EXPECT_EQ(table.rowCount(), 4);
    EventTable empty;
    empty.writeTitles();
    deleteSelectedRows(empty, scratch, 0, 0, 0);
    EXPECT_EQ(empty.rowCount(), 1);
}

TEST(RowDeletion, a_listening_view_sees_every_row_come_and_go) {
    EventTable table = numberedTable(6);
    CountingListener view;
    view.rows = table.rowCount();
    table.setListener(&view);
    EventTable scratch;
    deleteSelectedRows(table, scratch, 4, 2, 4);
    EXPECT_EQ(view.rows, table.rowCount());
    EXPECT_EQ(table.rowCount(), 4);
}

} // namespace

// The page sits in a buffer of exactly its size, so that the sanitizer build sees any read past
// its end; the cells start at every distance from that end.
TEST(PendingRow, takes_a_cell_whole_wherever_it_sits_in_the_page) {
    const std::string text = "0123456789abcdefghij";
    const auto page = std::make_unique<char[]>(text.size());
    std::memcpy(page.get(), text.data(), text.size());
    const char* pageEnd = page.get() + text.size();
    EventTable table;
    for (size_t start = 0; start < text.size(); ++start) {
        for (size_t length = 0; start + length <= text.size(); ++length) {
            table.startPendingRow();
            table.writePendingCell(6, "a cell that held a long text before");
            table.writePendingCell(6, std::string_view(page.get() + start, length), pageEnd);
            table.writePendingCell(7, std::string_view(page.get() + start, length), pageEnd);
            ASSERT_EQ(table.pendingCell(6), text.substr(start, length)) << start << " " << length;
            ASSERT_EQ(table.pendingCell(7), text.substr(start, length)) << start << " " << length;
        }
    }
    table.commitPendingRow();
    EXPECT_EQ(table.rowCount(), 2);
}

// Edits leave old text behind and rows may be copied from the table into itself; the cells must
// read back as a plain copy of every change says, through many compactions.
TEST(EventTable, keeps_every_cell_through_edits_and_copies_within_itself) {
    EventTable table;
    table.writeTitles();
    std::vector<std::array<std::string, columnCount>> model(1);
    for (int c = 0; c < columnCount; ++c) model[0][size_t(c)] = columnTitles()[size_t(c)];
    for (int step = 0; step < 20000; ++step) {
        const int row = 1 + step % 5;
        while (table.rowCount() <= row) {
            table.appendRow({});
            model.emplace_back();
        }
        if (step % 7 == 0) {
            const int from = step % table.rowCount();
            table.setRow(row, table.row(from));
            model[size_t(row)] = model[size_t(from)];
        } else if (step % 997 == 0) {
            table.setRowCount(2);
            model.resize(2);
        } else {
            const std::string text(size_t(step % 40), char('a' + step % 26));
            table.setCell(step % columnCount, row, text);
            model[size_t(row)][size_t(step % columnCount)] = text;
        }
        ASSERT_EQ(table.rowCount(), int(model.size()));
        for (int r = 0; r < table.rowCount(); ++r)
            for (int c = 0; c < columnCount; ++c)
                ASSERT_EQ(table.cell(c, r), model[size_t(r)][size_t(c)]) << step;
    }
}
