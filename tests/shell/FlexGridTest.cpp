#include <gtest/gtest.h>

#include "automation/AutomationError.h"
#include "shell/FlexGrid.h"

namespace tessaline::shell {
namespace {

int errorNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const automation::AutomationError& e) {
        return e.number();
    }
    return 0;
}

FlexGrid headerOnlyGrid(int cols = 3) { return FlexGrid("Grid", 0, 0, 100, 100, cols); }

TEST(FlexGrid, StartsWithHeaderRowOnly) {
    FlexGrid grid = headerOnlyGrid();
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
}

TEST(FlexGrid, AddItemSplitsTabsFromColumnZeroAndDropsExtraPieces) {
    FlexGrid grid = headerOnlyGrid();
    grid.AddItem("1\tName\tLocal\tExtra");
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), "1");
    EXPECT_EQ(grid.TextMatrix(1, 1), "Name");
    EXPECT_EQ(grid.TextMatrix(1, 2), "Local");
    grid.AddItem("2");
    EXPECT_EQ(grid.TextMatrix(2, 0), "2");
    EXPECT_EQ(grid.TextMatrix(2, 1), "");
    // Empty pieces are kept in place.
    grid.AddItem("\t\tlast");
    EXPECT_EQ(grid.TextMatrix(3, 2), "last");
}

TEST(FlexGrid, AddItemAtIndexInsertsAndBeyondRowsRaises381) {
    FlexGrid grid = headerOnlyGrid();
    grid.AddItem("a", 1);
    grid.AddItem("c", 2);
    grid.AddItem("b", 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), "a");
    EXPECT_EQ(grid.TextMatrix(2, 0), "b");
    EXPECT_EQ(grid.TextMatrix(3, 0), "c");
    grid.AddItem("d", grid.Rows());  // the row just past the end appends
    EXPECT_EQ(grid.TextMatrix(4, 0), "d");
    EXPECT_EQ(errorNumber([&] { grid.AddItem("x", grid.Rows() + 1); }), 381);
    EXPECT_EQ(grid.Rows(), 5);
}

TEST(FlexGrid, TextMatrixOutsideTheGridRaises381) {
    FlexGrid grid = headerOnlyGrid();
    EXPECT_EQ(errorNumber([&] { (void)grid.TextMatrix(1, 0); }), 381);
    EXPECT_EQ(errorNumber([&] { grid.SetTextMatrix(0, 3, "x"); }), 381);
    EXPECT_EQ(errorNumber([&] { (void)grid.TextMatrix(-1, 0); }), 381);
}

TEST(FlexGrid, ClearEmptiesEveryCellIncludingHeadersAndKeepsCounts) {
    FlexGrid grid = headerOnlyGrid();
    grid.SetTextMatrix(0, 1, "名称");
    grid.AddItem("1\tA\tB");
    grid.AddItem("2\tC\tD");
    grid.Clear();
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Cols(), 3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) EXPECT_EQ(grid.TextMatrix(r, c), "") << r << "," << c;
    }
}

TEST(FlexGrid, SettingRowsResizesAndOneKeepsTheHeaderOnly) {
    FlexGrid grid = headerOnlyGrid();
    grid.SetTextMatrix(0, 0, "head");
    grid.AddItem("1");
    grid.AddItem("2");
    grid.SetRow(2);
    grid.SetRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 0), "head");
    EXPECT_LT(grid.Row(), grid.Rows());
    grid.SetRows(3);
    EXPECT_EQ(grid.TextMatrix(2, 0), "");
    EXPECT_EQ(errorNumber([&] { grid.SetRows(0); }), 380);
}

TEST(FlexGrid, RemoveItemRefusesFixedRowsAndTheLastDataRow) {
    FlexGrid grid = headerOnlyGrid();
    grid.AddItem("1");
    grid.AddItem("2");
    EXPECT_EQ(errorNumber([&] { grid.RemoveItem(0); }), 381);
    EXPECT_EQ(errorNumber([&] { grid.RemoveItem(5); }), 381);
    grid.RemoveItem(1);
    EXPECT_EQ(grid.TextMatrix(1, 0), "2");
    EXPECT_EQ(errorNumber([&] { grid.RemoveItem(1); }), 30015);
    EXPECT_EQ(grid.Rows(), 2);
}

TEST(FlexGrid, TextIsTheCurrentCell) {
    FlexGrid grid = headerOnlyGrid();
    grid.AddItem("1\tA\tB");
    grid.SetRow(1);
    grid.SetCol(2);
    EXPECT_EQ(grid.Text(), "B");
    grid.SetText("Z");
    EXPECT_EQ(grid.TextMatrix(1, 2), "Z");
    EXPECT_EQ(errorNumber([&] { grid.SetRow(2); }), 30009);
    EXPECT_EQ(errorNumber([&] { grid.SetCol(3); }), 30010);
}

TEST(FlexGrid, FirstDataRowBecomesCurrentWhenTheGridWasEmpty) {
    FlexGrid grid = headerOnlyGrid();
    EXPECT_EQ(grid.Row(), 0);
    grid.AddItem("1\tA");
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
}

TEST(FlexGrid, MouseClickNeverMakesAFixedCellCurrent) {
    FlexGrid grid = headerOnlyGrid();
    grid.AddItem("1\tA\tB");
    grid.AddItem("2\tC\tD");
    EXPECT_TRUE(grid.clickCell(2, 0));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_TRUE(grid.clickCell(0, 2));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_FALSE(grid.clickCell(9, 1));
    EXPECT_EQ(grid.Row(), 1);
}

TEST(FlexGrid, ListenersHearChanges) {
    FlexGrid grid = headerOnlyGrid();
    int heard = 0;
    const int cookie = grid.subscribe([&] { ++heard; });
    grid.AddItem("1");
    grid.SetTextMatrix(1, 1, "x");
    EXPECT_EQ(heard, 2);
    grid.unsubscribe(cookie);
    grid.Clear();
    EXPECT_EQ(heard, 2);
}

}  // namespace
}  // namespace tessaline::shell
