#include "app/gui/EventGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

class EventGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 1; i <= 8; ++i) {
            Row row;
            row[0] = std::to_string(i);
            grid.table().appendRow(row);
        }
        grid.table().fixTitleRow();
        grid.resize(1100, 400);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    void clickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        const QRect cell = grid.visualRect(grid.model()->index(row, column));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    EventGrid grid{mainColumnWidths};
};

TEST_F(EventGridTest, starts_with_titles_widths_row_height_and_hint) {
    EventGrid fresh(mainColumnWidths);
    EXPECT_EQ(fresh.table().rowCount(), 1);
    EXPECT_EQ(fresh.table().fixedRowCount(), 0);
    EXPECT_EQ(fresh.table().row(0), columnTitles());
    for (int column = 0; column < columnCount; ++column)
        EXPECT_EQ(fresh.columnWidth(column), mainColumnWidths[size_t(column)]) << column;
    EXPECT_EQ(grid.rowHeight(3), 30);
    EXPECT_EQ(fresh.toolTip(), QString::fromUtf8("Вы можете изменять содержимое ячеек вручную"));
}

TEST_F(EventGridTest, shift_and_arrow_keys_extend_the_selection_over_rows) {
    clickCell(3, 2);
    QTest::keyClick(grid.viewport(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid.viewport(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.currentRow(), 5);
    EXPECT_EQ(grid.selectionTop(), 3);
    EXPECT_EQ(grid.selectionBottom(), 5);

    // Upwards from the anchor: top and bottom swap sides.
    clickCell(6, 4);
    QTest::keyClick(grid.viewport(), Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(grid.viewport(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid.currentRow(), 4);
    EXPECT_EQ(grid.selectionTop(), 4);
    EXPECT_EQ(grid.selectionBottom(), 6);

    // The fixed title row is out of the keyboard's reach.
    clickCell(1, 4);
    QTest::keyClick(grid.viewport(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.selectionTop(), 1);
}

TEST_F(EventGridTest, dragging_selects_a_rectangle_and_fixed_cells_take_no_focus) {
    const QPoint from = grid.visualRect(grid.model()->index(2, 3)).center();
    const QPoint to = grid.visualRect(grid.model()->index(7, 5)).center();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, grid.viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(grid.selectionTop(), 2);
    EXPECT_EQ(grid.selectionBottom(), 7);

    // Fixed cells take no focus: clicks on the title row or the number column change nothing.
    clickCell(4, 2);
    clickCell(0, 3);
    clickCell(6, 0);
    EXPECT_EQ(grid.currentRow(), 4);
    EXPECT_EQ(grid.selectionTop(), 4);
    EXPECT_EQ(grid.selectionBottom(), 4);
}

TEST_F(EventGridTest, typing_into_a_cell_edits_the_table) {
    clickCell(2, 7);
    QTest::keyClick(grid.viewport(), Qt::Key_F2);
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "1.5%");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
    EXPECT_EQ(grid.table().cell(7, 2), "1.5%");
}

TEST_F(EventGridTest, column_borders_in_the_fixed_row_can_be_dragged) {
    const int border = grid.columnViewportPosition(6) + grid.columnWidth(6);
    const int y = grid.rowViewportPosition(0) + 10;
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(border, y));
    QMouseEvent move(QEvent::MouseMove, QPoint(border + 40, y),
                     grid.viewport()->mapToGlobal(QPoint(border + 40, y)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, QPoint(border + 40, y));
    EXPECT_EQ(grid.columnWidth(6), 390);

    // The same border in an event row selects cells instead.
    const int rowY = grid.rowViewportPosition(3) + 10;
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(border - 1, rowY));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, QPoint(border - 1, rowY));
    EXPECT_EQ(grid.columnWidth(6), 390);
    EXPECT_EQ(grid.currentRow(), 3);
}

} // namespace
} // namespace newsbell
