#include "widgets/EventTableModel.h"

#include "base/Cp1251.h"

#include <QGuiApplication>
#include <QPalette>

namespace newsbell {

EventTableModel::EventTableModel(EventTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    table_.setListener(this);
}

EventTableModel::~EventTableModel() {
    table_.setListener(nullptr);
}

bool EventTableModel::isFixed(const QModelIndex& index) const {
    return index.column() == 0 || index.row() < table_.fixedRowCount();
}

int EventTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int EventTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : newsbell::columnCount;
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return fromCp1251(table_.cell(index.column(), index.row()));
    case Qt::BackgroundRole:
        if (isFixed(index)) return QGuiApplication::palette().button();
        return {};
    case Qt::ForegroundRole:
        // Fixed cells are disabled items; their text keeps the normal colour all the same.
        if (isFixed(index)) return QGuiApplication::palette().buttonText();
        return {};
    default:
        return {};
    }
}

bool EventTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || isFixed(index)) return false;
    // The table tells us about the change through cellChanged().
    table_.setCell(index.column(), index.row(), toCp1251(value.toString()));
    return true;
}

Qt::ItemFlags EventTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    // Like a grid's fixed cells, these take neither focus nor selection nor edits.
    if (isFixed(index)) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void EventTableModel::rowsAboutToBeInserted(int first, int last) {
    beginInsertRows({}, first, last);
}

void EventTableModel::rowsInserted() {
    endInsertRows();
}

void EventTableModel::rowsAboutToBeRemoved(int first, int last) {
    beginRemoveRows({}, first, last);
}

void EventTableModel::rowsRemoved() {
    endRemoveRows();
}

void EventTableModel::cellChanged(int column, int row) {
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void EventTableModel::fixedRowsChanged() {
    // Only row 0 can change between fixed and not: its colour and flags change.
    emit dataChanged(index(0, 0), index(0, newsbell::columnCount - 1));
}

} // namespace newsbell
