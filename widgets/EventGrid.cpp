#include "widgets/EventGrid.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
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
    // By pixels, so that a column scrolled half under the fixed one is not shown cut in half.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    frozenRow_ = makeFrozenView();
    frozenColumn_ = makeFrozenView();
    frozenCorner_ = makeFrozenView();
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, frozenRow_->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozenColumn_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                for (QTableView* view : {frozenRow_, frozenColumn_, frozenCorner_})
                    view->setColumnWidth(column, width);
                placeFrozenViews();
            });
    // Row 0 becomes fixed or stops being fixed with a change of its cells' flags.
    connect(&model_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from) {
        if (from.row() == 0) placeFrozenViews();
    });
    placeFrozenViews();
}

QTableView* EventGrid::makeFrozenView() {
    auto* view = new QTableView(this);
    view->setModel(&model_);
    view->setSelectionModel(selectionModel());
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->verticalHeader()->setMinimumSectionSize(defaultRowHeight);
    view->verticalHeader()->setDefaultSectionSize(defaultRowHeight);
    for (int column = 0; column < columnCount; ++column)
        view->setColumnWidth(column, columnWidth(column));
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setFrameShape(QFrame::NoFrame);
    view->setWordWrap(false);
    view->setFocusPolicy(Qt::NoFocus);
    // They scroll with the grid only, never on their own towards the current cell.
    view->setAutoScroll(false);
    // Clicks, drags and hints go to the grid below, which knows what lies under the point.
    view->setAttribute(Qt::WA_TransparentForMouseEvents);
    return view;
}

int EventGrid::frozenHeight() const {
    return table_.fixedRowCount() > 0 ? rowHeight(0) : 0;
}

int EventGrid::frozenWidth() const {
    return columnWidth(0);
}

void EventGrid::placeFrozenViews() {
    if (!frozenCorner_) return; // the base class lays out before they exist
    const QRect area = viewport()->geometry();
    const bool rowFixed = table_.fixedRowCount() > 0;
    frozenRow_->setGeometry(area.x(), area.y(), area.width(), rowHeight(0));
    frozenColumn_->setGeometry(area.x(), area.y(), frozenWidth(), area.height());
    frozenCorner_->setGeometry(area.x(), area.y(), frozenWidth(), rowHeight(0));
    frozenRow_->setVisible(rowFixed);
    frozenCorner_->setVisible(rowFixed);
    frozenColumn_->raise();
    frozenRow_->raise();
    frozenCorner_->raise();
    frozenRow_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    frozenColumn_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void EventGrid::updateGeometries() {
    QTableView::updateGeometries();
    placeFrozenViews();
}

bool EventGrid::onFrozenCells(QPoint position) const {
    return position.y() < frozenHeight() || position.x() < frozenWidth();
}

void EventGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
    // The plain scrolling may leave the cell under the fixed row or column.
    if (!index.isValid() || model_.isFixed(index)) return;
    const QRect cell = visualRect(index);
    if (cell.top() < frozenHeight())
        verticalScrollBar()->setValue(verticalScrollBar()->value() - (frozenHeight() - cell.top()));
    if (cell.left() < frozenWidth())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() -
                                        (frozenWidth() - cell.left()));
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
    if (position.y() >= frozenHeight()) return -1;
    for (int column = 0; column < columnCount; ++column) {
        const int right =
            column == 0 ? frozenWidth() : columnViewportPosition(column) + columnWidth(column);
        if (column > 0 && right <= frozenWidth()) continue; // scrolled under the fixed column
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
    // Fixed cells take neither focus nor selection; the cells scrolled under them are out of
    // sight and out of reach.
    if (onFrozenCells(event->position().toPoint())) return;
    QTableView::mousePressEvent(event);
}

void EventGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (onFrozenCells(event->position().toPoint())) return;
    QTableView::mouseDoubleClickEvent(event);
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
