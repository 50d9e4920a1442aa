#pragma once

#include "core/EventTable.h"

#include <QAbstractTableModel>

namespace newsbell {

// Shows an EventTable to Qt's views. The table stays the one store: edits go into it as cp1251,
// and every change of the table reaches the views through its Listener. Fixed cells (row 0
// while it is fixed, and column 0) are drawn in the button colour and can be neither focused,
// selected nor edited.
class EventTableModel final : public QAbstractTableModel, private EventTable::Listener {
    Q_OBJECT
public:
    explicit EventTableModel(EventTable& table, QObject* parent = nullptr);
    ~EventTableModel() override;

    bool isFixed(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void rowsAboutToBeInserted(int first, int last) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void rowsRemoved() override;
    void cellChanged(int column, int row) override;
    void fixedRowsChanged() override;

    EventTable& table_;
};

} // namespace newsbell
