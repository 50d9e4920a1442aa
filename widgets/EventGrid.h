#pragma once

#include "core/EventTable.h"
#include "widgets/EventTableModel.h"

#include <QTableView>
#include <array>

namespace newsbell {

using ColumnWidths = std::array<int, columnCount>;

// Column widths of the main window's table; the week window's name column is wider.
inline constexpr ColumnWidths mainColumnWidths{35, 85, 95, 55, 55, 90, 350, 90, 90, 90};

// A visible event table: the table itself, its model and a view that behaves like a string grid.
// Row 0 (while fixed) and column 0 look like a grid's fixed cells and stay in view while the
// rest scrolls; a rectangle of cells is selected by dragging or with Shift and the arrow keys;
// cells are edited in place; columns are resized by dragging their borders in the fixed title
// row.
class EventGrid final : public QTableView {
    Q_OBJECT
public:
    explicit EventGrid(const ColumnWidths& widths, QWidget* parent = nullptr);

    EventTable& table() { return table_; }
    const EventTable& table() const { return table_; }

    // The row of the focused cell; 0 when there is none.
    int currentRow() const;
    // Top and bottom row of the selected rectangle; the focused row when nothing is selected.
    int selectionTop() const;
    int selectionBottom() const;

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void updateGeometries() override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QTableView* makeFrozenView();
    void placeFrozenViews();
    int frozenHeight() const;
    int frozenWidth() const;
    bool onFrozenCells(QPoint position) const;
    int columnBorderAt(QPoint position) const;

    EventTable table_;
    EventTableModel model_;
    // Views of the same cells laid over the scrolling ones: the fixed row (following the
    // horizontal scrolling), the fixed column (following the vertical) and their corner.
    QTableView* frozenRow_ = nullptr;
    QTableView* frozenColumn_ = nullptr;
    QTableView* frozenCorner_ = nullptr;
    int resizedColumn_ = -1;
    int resizeOrigin_ = 0;
};

} // namespace newsbell
