#include "app/gui/EventGrid.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>

namespace newsbell {

namespace {

constexpr int defaultRowHeight = 30;
constexpr int borderGrip = 3; // pixels either side of a column border that start a resize
constexpr int narrowestColumn = 4;

} // namespace

EventGrid::EventGrid(const ColumnWidths& widths, QWidget* parent)
    : QTableView(parent), model_(table_) {
    table_.writeTitles();
    setModel(&model_);
    // The title row and the number column are cells of the grid, not headers.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(defaultRowHeight);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight);
    for (int column = 0; column < columnCount; ++column)
        setColumnWidth(column, widths[size_t(column)]);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setMouseTracking(true);
    setToolTip(QString::fromUtf8("Вы можете изменять содержимое ячеек вручную"));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window)); // the menu-bar colour
    setPalette(colours);
}

int EventGrid::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : 0;
}

int EventGrid::selectionTop() const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) return currentRow();
    int top = selection.first().top();
    for (const QItemSelectionRange& range : selection) top = std::min(top, range.top());
    return top;
}

int EventGrid::selectionBottom() const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) return currentRow();
    int bottom = selection.first().bottom();
    for (const QItemSelectionRange& range : selection) bottom = std::max(bottom, range.bottom());
    return bottom;
}

bool EventGrid::viewportEvent(QEvent* event) {
    // The hint belongs to the whole grid, not to single cells.
    if (event->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), toolTip(), viewport());
        return true;
    }
    return QTableView::viewportEvent(event);
}

int EventGrid::columnBorderAt(QPoint position) const {
    if (table_.fixedRowCount() == 0 || rowAt(position.y()) != 0) return -1;
    for (int column = 0; column < columnCount; ++column) {
        const int right = columnViewportPosition(column) + columnWidth(column);
        if (std::abs(position.x() - right) <= borderGrip) return column;
    }
    return -1;
}

void EventGrid::mousePressEvent(QMouseEvent* event) {
    const int column = columnBorderAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && column >= 0) {
        resizedColumn_ = column;
        resizeOrigin_ = event->position().toPoint().x() - columnWidth(column);
        return;
    }
    QTableView::mousePressEvent(event);
}

void EventGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (resizedColumn_ >= 0) {
        setColumnWidth(resizedColumn_, std::max(narrowestColumn, position.x() - resizeOrigin_));
        return;
    }
    if (columnBorderAt(position) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTableView::mouseMoveEvent(event);
}

void EventGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (resizedColumn_ >= 0) {
        resizedColumn_ = -1;
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

} // namespace newsbell
