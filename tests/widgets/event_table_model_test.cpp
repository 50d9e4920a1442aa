#include "base/Cp1251.h"
#include "widgets/EventTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

Row eventRow(const std::string& number) {
    Row row;
    row[0] = number;
    row[1] = "2010.05.24";
    row[6] = " GDP";
    return row;
}

// The tester checks every answer of the model after every change the table reports.
TEST(EventTableModel, stays_consistent_through_appends_deletions_and_resets) {
    EventTable table;
    table.writeTitles();
    EventTableModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int i = 1; i <= 8; ++i) table.appendRow(eventRow(std::to_string(i)));
    table.fixTitleRow();
    EXPECT_EQ(model.rowCount(), 9);

    EventTable scratch;
    deleteSelectedRows(table, scratch, 4, 3, 5);
    EXPECT_EQ(model.rowCount(), 6);
    EXPECT_EQ(model.index(3, 0).data().toString(), QStringLiteral("6"));

    table.resetToTitleRow();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0, 1).data().toString(), QString::fromUtf8("Дата"));
}

TEST(EventTableModel, fixed_cells_are_row_zero_while_fixed_and_column_zero) {
    EventTable table;
    table.writeTitles();
    EventTableModel model(table);
    EXPECT_TRUE(model.flags(model.index(0, 3)) & Qt::ItemIsEditable) << "title row not fixed yet";
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable);

    table.appendRow(eventRow("1"));
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    table.fixTitleRow();
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toModelIndex().row(), 0);

    EXPECT_EQ(model.flags(model.index(0, 3)), Qt::NoItemFlags);
    EXPECT_EQ(model.flags(model.index(1, 0)), Qt::NoItemFlags);
    EXPECT_TRUE(model.flags(model.index(1, 3)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.index(0, 3).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.index(1, 3).data(Qt::BackgroundRole).isValid());

    table.resetToTitleRow();
    EXPECT_TRUE(model.flags(model.index(0, 3)) & Qt::ItemIsEditable);
}

TEST(EventTableModel, edits_reach_the_table_as_cp1251_and_fixed_cells_refuse_them) {
    EventTable table;
    table.writeTitles();
    table.appendRow(eventRow("1"));
    table.fixTitleRow();
    EventTableModel model(table);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    const QString typed = QString::fromUtf8("Индекс; цен\u20ac");
    EXPECT_TRUE(model.setData(model.index(1, 6), typed, Qt::EditRole));
    EXPECT_EQ(table.cell(6, 1), toCp1251(typed));
    EXPECT_EQ(model.index(1, 6).data().toString(), typed);
    EXPECT_EQ(changes.count(), 1);

    EXPECT_FALSE(model.setData(model.index(0, 6), QStringLiteral("x"), Qt::EditRole));
    EXPECT_FALSE(model.setData(model.index(1, 0), QStringLiteral("x"), Qt::EditRole));
    EXPECT_EQ(table.cell(0, 1), "1");
}

TEST(EventTableModel, lets_go_of_the_table_when_destroyed) {
    EventTable table;
    { EventTableModel model(table); }
    table.appendRow(eventRow("1")); // would reach a dead listener otherwise
    EXPECT_EQ(table.rowCount(), 2);
}

} // namespace
} // namespace newsbell
