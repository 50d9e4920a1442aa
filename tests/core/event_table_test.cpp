#include "core/EventTable.h"

#include <gtest/gtest.h>

using namespace newsbell;

namespace {

// A table of events numbered 1..count, their names "e1".."eN".
EventTable numberedTable(int count) {
    EventTable table;
    table.writeTitles();
    for (int i = 1; i <= count; ++i) {
        Row row;
        row[0] = std::to_string(i);
        row[6] = "e" + std::to_string(i);
        table.appendRow(row);
    }
    table.fixTitleRow();
    return table;
}

std::vector<std::string> numbers(const EventTable& table) {
    std::vector<std::string> result;
    for (int r = 1; r < table.rowCount(); ++r) result.push_back(table.cell(0, r));
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
