#include "DesignerFixture.h"

namespace tessaline::designer {
namespace {

class DesignGrid : public testing::DesignerFixture {
protected:
    DesignGrid() { selectBar("Standard"); }

    // Marks every design row with its row number in the caption column, so moves can be seen.
    void labelRows() {
        for (int r = 1; r < grid().Rows(); ++r) grid().SetTextMatrix(r, 2, "row" + std::to_string(r));
    }
    void selectEmptyBar() {
        hostBars().Add("Empty");
        form->userClick(form->Void);
        form->userClick(form->Excel);
        selectBar("Empty");
    }
    std::vector<std::string> captionColumn() {
        std::vector<std::string> out;
        for (int r = 1; r < grid().Rows(); ++r) out.push_back(grid().TextMatrix(r, 2));
        return out;
    }
};

TEST_F(DesignGrid, EnteringDesignModeLeavesTheHeadingsAndOneEmptyRowAndLocksTheBarGrid) {
    ASSERT_EQ(grid().Rows(), 6);
    enterDesignMode();
    ASSERT_EQ(grid().Rows(), 2);
    EXPECT_EQ(grid().TextMatrix(0, 2), "标题");
    EXPECT_EQ(grid().TextMatrix(0, 12), "快捷键");
    EXPECT_EQ(gridRow(1), std::vector<std::string>(13, ""));
    EXPECT_EQ(grid().Cols(), 13);
    EXPECT_FALSE(form->ListAllCommandbars.Enabled());

    // A click on another bar cannot change where the design goes.
    selectBar("Formatting");
    EXPECT_EQ(form->CurrentBar->Name(), "Standard");
    EXPECT_EQ(grid().Rows(), 2);
}

TEST_F(DesignGrid, LeavingDesignModeKeepsTheDesignRowsAndUnlocksTheBarGrid) {
    enterDesignMode();
    chooseDesignCommand("AddLine");
    grid().SetTextMatrix(2, 2, "kept");
    leaveDesignMode();
    EXPECT_TRUE(form->ListAllCommandbars.Enabled());
    ASSERT_EQ(grid().Rows(), 3);
    EXPECT_EQ(grid().TextMatrix(2, 2), "kept");

    // Checking the box again throws the design away.
    enterDesignMode();
    EXPECT_EQ(grid().Rows(), 2);
    EXPECT_EQ(grid().TextMatrix(1, 2), "");
}

TEST_F(DesignGrid, DesignModeNeverChangesTheTarget) {
    auto bar = form->CurrentBar;
    auto popup = hostBar("Worksheet Menu Bar").Controls()->Item(1)->AsPopup();
    form->CurrentPopup = popup;
    enterDesignMode();
    leaveDesignMode();
    EXPECT_EQ(form->CurrentBar, bar);
    EXPECT_EQ(form->CurrentPopup, popup);
}

TEST_F(DesignGrid, TheRightButtonOffersTheDesignMenuOnlyInDesignMode) {
    ui.queuePopupChoice("");
    form->userMouseDown(grid(), shell::vbbutton::Right);
    ASSERT_EQ(ui.popups.size(), 1u);
    EXPECT_EQ(ui.popups[0].menu, "CommandbarControlOperation");

    enterDesignMode();
    ui.queuePopupChoice("");
    form->userMouseDown(grid(), shell::vbbutton::Right);
    ASSERT_EQ(ui.popups.size(), 2u);
    EXPECT_EQ(ui.popups[1].menu, "DesignModeMenu");
    EXPECT_EQ(ui.popups[1].visibleItems,
              (std::vector<std::string>{"DeleteLine", "InsertLine", "AddLine", "Sep5", "AddtoFirst", "AddToLast",
                                        "ReplaceOriginal", "Sep6", "MenuExcelDesign", "BatchAddfromExcel"}));
}

TEST_F(DesignGrid, AddLineAppendsEmptyRows) {
    enterDesignMode();
    for (int i = 0; i < 3; ++i) chooseDesignCommand("AddLine");
    ASSERT_EQ(grid().Rows(), 5);
    for (int r = 1; r < 5; ++r) EXPECT_EQ(gridRow(r), std::vector<std::string>(13, "")) << r;
}

TEST_F(DesignGrid, InsertLinePutsTheNewRowAboveTheCurrentOne) {
    enterDesignMode();
    chooseDesignCommand("AddLine");
    chooseDesignCommand("AddLine");
    labelRows();
    selectRow(1, 2);
    chooseDesignCommand("InsertLine");
    EXPECT_EQ(captionColumn(), (std::vector<std::string>{"", "row1", "row2", "row3"}));

    selectRow(4, 2);
    chooseDesignCommand("InsertLine");
    EXPECT_EQ(captionColumn(), (std::vector<std::string>{"", "row1", "row2", "", "row3"}));
    EXPECT_EQ(grid().TextMatrix(0, 2), "标题");
}

TEST_F(DesignGrid, InsertLineWithTheHeadingCurrentGoesAboveTheFirstDesignRow) {
    // Listing a bar without controls leaves the grid at its heading row, so design mode starts with no
    // design row chosen.
    selectEmptyBar();
    enterDesignMode();
    ASSERT_EQ(grid().Row(), 0);
    grid().SetTextMatrix(1, 2, "first");
    chooseDesignCommand("InsertLine");
    EXPECT_EQ(captionColumn(), (std::vector<std::string>{"", "first"}));
    EXPECT_EQ(grid().TextMatrix(0, 2), "标题");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DesignGrid, DeleteLineRemovesTheCurrentRow) {
    enterDesignMode();
    chooseDesignCommand("AddLine");
    chooseDesignCommand("AddLine");
    labelRows();
    selectRow(2, 2);
    chooseDesignCommand("DeleteLine");
    EXPECT_EQ(captionColumn(), (std::vector<std::string>{"row1", "row3"}));
}

TEST_F(DesignGrid, DeleteLineOnTheOnlyDesignRowEmptiesItInsteadOfRemovingIt) {
    enterDesignMode();
    grid().SetTextMatrix(1, 2, "caption");
    grid().SetTextMatrix(1, 5, "1");
    selectRow(1, 2);
    chooseDesignCommand("DeleteLine");
    ASSERT_EQ(grid().Rows(), 2);
    EXPECT_EQ(gridRow(1), std::vector<std::string>(13, ""));
    EXPECT_EQ(grid().TextMatrix(0, 2), "标题");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DesignGrid, DeleteLineNeverRemovesTheHeadingRow) {
    selectEmptyBar();
    enterDesignMode();
    chooseDesignCommand("AddLine");
    ASSERT_EQ(grid().Row(), 0);
    form->clickMenu("DeleteLine");
    EXPECT_EQ(grid().Rows(), 3);
    EXPECT_EQ(grid().TextMatrix(0, 1), "ID");
}

TEST_F(DesignGrid, KeysEditTheDesignCellsAsInTheListing) {
    enterDesignMode();
    typeIntoCell(1, 2, "新按钮");
    typeIntoCell(1, 1, "7");
    selectRow(1, 7);
    form->userDblClick(grid());
    EXPECT_EQ(grid().TextMatrix(1, 2), "新按钮");
    EXPECT_EQ(grid().TextMatrix(1, 1), "");
    EXPECT_EQ(grid().TextMatrix(1, 7), "True");
}

}  // namespace
}  // namespace tessaline::designer
