#include "widgets/EventGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

class EventGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 1; i <= 8; ++i) {
            const std::string number = std::to_string(i);
            Row row;
            row[0] = number;
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
    QTest::keyClicks(editor, QStringLiteral("1.5%"));
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

// Ctrl+End scrolls one way at a time here: down in a wide grid, right in a tall one. The fixed
// row (or column) is drawn the same before and after, and the cells scrolled under it are out
// of reach of the mouse.
TEST_F(EventGridTest, fixed_row_and_column_stay_in_view_while_the_rest_scrolls) {
    for (int i = 9; i <= 40; ++i) {
        const std::string number = std::to_string(i), name = "event " + number;
        Row row;
        row[0] = number;
        row[6] = name;
        grid.table().appendRow(row);
    }
    struct Case {
        QSize size;
        bool fixedRow; // which strip must stay: the title row, or else the number column
    } cases[] = {{{1100, 200}, true}, {{400, 1400}, false}};
    for (const Case& c : cases) {
        grid.resize(c.size);
        clickCell(1, 1);
        QCoreApplication::processEvents();
        const QRect view = grid.viewport()->geometry();
        const QRect strip = c.fixedRow
                                ? QRect(view.topLeft(), QSize(view.width(), grid.rowHeight(0)))
                                : QRect(view.topLeft(), QSize(grid.columnWidth(0), view.height()));
        const QImage before = grid.grab(strip).toImage();

        QTest::keyClick(grid.viewport(), Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::processEvents();
        EXPECT_EQ(grid.currentRow(), 40);
        EXPECT_GT((c.fixedRow ? grid.verticalScrollBar() : grid.horizontalScrollBar())->value(), 0);
        EXPECT_TRUE(grid.grab(strip).toImage() == before) << "fixed row: " << c.fixedRow;

        // Clicks on the strip reach no cell scrolled under it.
        const QRect last = grid.visualRect(grid.currentIndex());
        const QPoint onStrip =
            c.fixedRow ? QPoint(last.center().x(), 5) : QPoint(5, last.center().y());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, onStrip);
        EXPECT_EQ(grid.currentRow(), 40);

        // Back home, the first cell comes out from under the fixed row and column.
        QTest::keyClick(grid.viewport(), Qt::Key_Home, Qt::ControlModifier);
        const QRect first = grid.visualRect(grid.currentIndex());
        EXPECT_EQ(grid.currentIndex(), grid.model()->index(1, 1));
        EXPECT_GE(first.top(), grid.rowHeight(0));
        EXPECT_GE(first.left(), grid.columnWidth(0));
    }
}

} // namespace
} // namespace newsbell
