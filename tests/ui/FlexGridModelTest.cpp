#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QColor>

#include "shell/FlexGrid.h"
#include "ui/FlexGridModel.h"

namespace tessaline::ui {
namespace {

using Tester = QAbstractItemModelTester;

TEST(FlexGridModel, StaysConsistentThroughEveryKindOfGridChange) {
    shell::FlexGrid grid("g", 0, 0, 1000, 1000, 4);
    FlexGridModel model(grid);
    Tester tester(&model, Tester::FailureReportingMode::Fatal);

    grid.SetTextMatrix(0, 1, "名称");
    grid.AddItem("1\tStandard\t常用\tTrue");
    grid.AddItem("2\tFormatting\t格式");
    grid.AddItem("0\tfirst", 1);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "first");
    EXPECT_EQ(model.data(model.index(2, 2)).toString(), QString::fromUtf8("常用"));

    grid.RemoveItem(1);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "Standard");

    grid.SetCols(13);
    EXPECT_EQ(model.columnCount(), 13);
    grid.SetCols(2);
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_FALSE(model.data(model.index(0, 3)).isValid());

    grid.Clear();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), "");
    grid.SetRows(1);
    EXPECT_EQ(model.rowCount(), 1);
    grid.SetRows(5);
    EXPECT_EQ(model.rowCount(), 5);
}

TEST(FlexGridModel, MarksFixedCellsAndTheCurrentCell) {
    shell::FlexGrid grid("g", 0, 0, 1000, 1000, 3);
    grid.AddItem("1\ta\tb");
    grid.AddItem("2\tc\td");
    FlexGridModel model(grid);

    EXPECT_TRUE(model.data(model.index(0, 2), FlexGridModel::FixedCellRole).toBool());
    EXPECT_TRUE(model.data(model.index(2, 0), FlexGridModel::FixedCellRole).toBool());
    EXPECT_FALSE(model.data(model.index(2, 2), FlexGridModel::FixedCellRole).toBool());
    EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QColor>(), FlexGridModel::fixedCellColor());

    grid.SetRow(2);
    grid.SetCol(1);
    EXPECT_TRUE(model.data(model.index(2, 1), FlexGridModel::CurrentCellRole).toBool());
    EXPECT_FALSE(model.data(model.index(1, 1), FlexGridModel::CurrentCellRole).toBool());
    EXPECT_EQ(model.data(model.index(2, 1), Qt::BackgroundRole).value<QColor>(), FlexGridModel::currentCellColor());
    // Cells are shown, never edited or selected through Qt: the keys belong to the grid's handlers.
    EXPECT_EQ(model.flags(model.index(2, 1)), Qt::ItemIsEnabled);
}

TEST(FlexGridModel, TellsTheViewWhenACellChanges) {
    shell::FlexGrid grid("g", 0, 0, 1000, 1000, 3);
    grid.AddItem("1\ta\tb");
    FlexGridModel model(grid);
    int changes = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&](const QModelIndex& from, const QModelIndex& to) {
        if (from.row() <= 1 && to.row() >= 1 && from.column() <= 2 && to.column() >= 2) ++changes;
    });
    grid.SetTextMatrix(1, 2, "x");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), "x");
}

}  // namespace
}  // namespace tessaline::ui
