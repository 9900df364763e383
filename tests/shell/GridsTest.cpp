#include "OfficeFixture.h"
#include "automation/AutomationError.h"
#include "shell/ControlGrid.h"

namespace tessaline::shell {
namespace {

class Grids : public testing::OfficeFixture {
protected:
    Grids() { form->userClick(form->Excel); }

    void listBar(const std::string& name) { form->userClickCell(form->ListAllCommandbars, barRow(name), 1); }
    // The control-grid row whose caption cell is `caption`.
    int controlRow(const std::string& caption) {
        for (int r = 1; r < form->ListAllCommandControls.Rows(); ++r) {
            if (form->ListAllCommandControls.TextMatrix(r, 2) == caption) return r;
        }
        return -1;
    }
    void selectCell(int row, int col) { form->userClickCell(form->ListAllCommandControls, row, col); }

    FlexGrid& controls() { return form->ListAllCommandControls; }
};

TEST_F(Grids, ClickOnANameListsThatBarAtTopLevel) {
    form->StatusBar1.SetPanelText(5, "文件(&F)");
    form->CurrentPopup = form->CurrentBar->Controls()->Item(1)->AsPopup();
    listBar("Standard");
    EXPECT_EQ(form->CurrentBar->Name(), "Standard");
    EXPECT_EQ(form->StatusBar1.PanelText(2), "Standard");
    EXPECT_EQ(form->StatusBar1.PanelText(5), "");
    EXPECT_EQ(form->CurrentPopup, nullptr);
    const int count = bars("Excel")->Item("Standard")->Controls()->Count();
    EXPECT_EQ(controls().Rows(), count + 1);
    for (int r = 1; r <= count; ++r) EXPECT_EQ(controls().TextMatrix(r, 0), std::to_string(r));
}

TEST_F(Grids, RowsShowButtonsInFullAndOtherControlsWithoutButtonCells) {
    listBar("Standard");
    const int save = controlRow("保存(&S)");
    ASSERT_NE(save, -1);
    EXPECT_EQ(controls().TextMatrix(save, 1), "3");
    EXPECT_EQ(controls().TextMatrix(save, 3), "True");
    EXPECT_EQ(controls().TextMatrix(save, 5), "1");
    EXPECT_EQ(controls().TextMatrix(save, 8), "3");
    EXPECT_EQ(controls().TextMatrix(save, 10), "保存");
    EXPECT_EQ(controls().TextMatrix(save, 11), "0");
    EXPECT_EQ(controls().TextMatrix(controlRow("打印(&P)"), 7), "False");

    const int zoom = controlRow("显示比例(&Z):");
    ASSERT_NE(zoom, -1);
    EXPECT_EQ(controls().TextMatrix(zoom, 4), "True");
    EXPECT_EQ(controls().TextMatrix(zoom, 5), "4");
    for (int col : {8, 9, 11, 12}) EXPECT_EQ(controls().TextMatrix(zoom, col), "") << col;
}

TEST_F(Grids, ClicksOutsideTheNameColumnOnlyChangeTheTooltip) {
    listBar("Standard");
    const int rowsBefore = controls().Rows();
    form->userClickCell(form->ListAllCommandbars, barRow("Formatting"), 5);
    EXPECT_EQ(form->ListAllCommandbars.ToolTipText(), "工具栏类型:菜单栏=1,普通=0,快捷菜单=2");
    form->userClickCell(form->ListAllCommandbars, barRow("Formatting"), 8);
    EXPECT_EQ(form->ListAllCommandbars.ToolTipText(), "工具栏位置:左上右下=0123,浮动=4,快捷菜单=5");
    form->userClickCell(form->ListAllCommandbars, barRow("Formatting"), 3);
    EXPECT_EQ(form->ListAllCommandbars.ToolTipText(), "工具栏位置:左上右下=0123,浮动=4,快捷菜单=5");
    EXPECT_EQ(form->CurrentBar->Name(), "Standard");
    EXPECT_EQ(controls().Rows(), rowsBefore);
}

TEST_F(Grids, ABarDeletedSinceTheListingKeepsTheCurrentBar) {
    bars("Excel")->Add("Temp");
    form->userClick(form->Excel);
    listBar("Standard");
    const int tempRow = barRow("Temp");
    bars("Excel")->Item("Temp")->Delete();
    form->userClickCell(form->ListAllCommandbars, tempRow, 1);
    EXPECT_EQ(form->CurrentBar->Name(), "Standard");
    EXPECT_EQ(controls().Rows(), bars("Excel")->Item("Standard")->Controls()->Count() + 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Grids, RightClickOnTheBarGridNeedsACurrentBar) {
    form->userMouseDown(form->ListAllCommandbars, vbbutton::Right);
    ASSERT_EQ(ui.popups.size(), 1u);
    EXPECT_EQ(ui.popups[0].menu, "CommandbarOperation");
    form->userMouseDown(form->ListAllCommandbars, vbbutton::Left);
    form->userClick(form->Void);
    form->userMouseDown(form->ListAllCommandbars, vbbutton::Right);
    EXPECT_EQ(ui.popups.size(), 1u);
}

TEST_F(Grids, RightClickOnTheFrameWithAHostOpensTheSourceMenu) {
    form->userMouseDown(form->Frame1, vbbutton::Right);
    ASSERT_EQ(ui.popups.size(), 1u);
    EXPECT_EQ(ui.popups[0].menu, "MenuApp");
}

TEST_F(Grids, ControlClickShowsRowOfCountAndId) {
    listBar("Standard");
    selectCell(3, 5);
    EXPECT_EQ(form->StatusBar1.PanelText(3), "3/" + std::to_string(controls().Rows()));
    EXPECT_EQ(form->StatusBar1.PanelText(4), controls().TextMatrix(3, 1));
    EXPECT_EQ(controls().ToolTipText(), "控件类型:普通按钮=1,文本框=2,组合框=4,子菜单=10,分裂按钮=13");
    selectCell(3, 11);
    EXPECT_EQ(controls().ToolTipText(), "按钮样式:图标=1,标题=2,图标&标题=3,菜单栏0=图标&标题,工具栏0=图标");
}

TEST_F(Grids, DoubleClickTogglesFlagsInTheGridOnly) {
    listBar("Standard");
    const int print = controlRow("打印(&P)");
    selectCell(print, 7);
    form->userDblClick(controls());
    EXPECT_EQ(controls().Text(), "True");
    form->userDblClick(controls());
    EXPECT_EQ(controls().Text(), "False");
    EXPECT_FALSE(bars("Excel")->Item("Standard")->Controls()->Item(print)->Visible());
    controls().SetText("yes");
    form->userDblClick(controls());
    EXPECT_EQ(controls().Text(), "True");
    selectCell(print, 2);
    form->userDblClick(controls());
    EXPECT_EQ(controls().Text(), "打印(&P)");
}

TEST_F(Grids, IconDoubleClickBuildsTheViewerOnceAndThenRelabelsIt) {
    listBar("Standard");
    const int zoom = controlRow("显示比例(&Z):");
    selectCell(zoom, 8);
    form->userDblClick(controls());  // empty icon cell: nothing
    EXPECT_THROW(bars("Excel")->Item("FaceIDViewer"), automation::AutomationError);

    selectCell(1, 8);
    controls().SetText("2950");
    form->userDblClick(controls());
    auto viewer = bars("Excel")->Item("FaceIDViewer");
    ASSERT_EQ(viewer->Controls()->Count(), 1000);
    EXPECT_EQ(viewer->Position(), automation::mso::BarFloating);
    EXPECT_TRUE(viewer->Visible());
    auto first = viewer->Controls()->Item(1);
    EXPECT_EQ(first->Caption(), "2001");
    EXPECT_EQ(first->GetProperty("FaceId").toLong(), 2001);
    EXPECT_EQ(first->GetProperty("Style").toLong(), automation::mso::ButtonIcon);
    EXPECT_EQ(viewer->Controls()->Item(1000)->Caption(), "3000");
    EXPECT_EQ(viewer->Width(), 51 * viewer->Controls()->Item(1000)->Width());
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_EQ(form->ExcelApp, office->host("Excel"));

    const int barCount = bars("Excel")->Count();
    controls().SetText("113");
    form->userDblClick(controls());
    EXPECT_EQ(bars("Excel")->Count(), barCount);
    EXPECT_EQ(viewer->Controls()->Count(), 1000);
    EXPECT_EQ(viewer->Controls()->Item(1)->Caption(), "1");
    EXPECT_EQ(viewer->Controls()->Item(1000)->GetProperty("FaceId").toLong(), 1000);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Grids, ASecondIconDoubleClickWhileTheViewerIsBuiltIsIgnored) {
    listBar("Standard");
    selectCell(1, 8);
    controls().SetText("2950");
    ui.whileEventsRun = [&] {
        controls().SetText("113");
        form->userDblClick(controls());
    };
    form->userDblClick(controls());
    auto viewer = bars("Excel")->Item("FaceIDViewer");
    ASSERT_EQ(viewer->Controls()->Count(), 1000);
    for (int i : {1, 2, 500, 1000}) EXPECT_EQ(viewer->Controls()->Item(i)->Caption(), std::to_string(2000 + i)) << i;
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
}

TEST_F(Grids, IconCellsThatAreNoFaceIdAreReportedNotFatal) {
    listBar("Standard");
    selectCell(1, 8);
    controls().SetText("abc");
    form->userDblClick(controls());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Type mismatch");
    controls().SetText("32500");
    form->userDblClick(controls());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].prompt, "Overflow");
}

TEST_F(Grids, ViewerWithoutExcelOnlyWritesTheStatus) {
    form->userClick(form->Word);
    office->stopHost("Excel");
    ShowFaceIdViewer(*form, 2);
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Grids, RightClickChoosesTheItemsForTheRowKind) {
    // Top level of the menu bar: row 1 is a popup.
    selectCell(1, 2);
    form->userMouseDown(controls(), vbbutton::Right);
    EXPECT_EQ(controls().Col(), 1);
    EXPECT_TRUE(form->menu("OpenSubItem").Visible());
    EXPECT_TRUE(form->menu("CreateSubItem").Visible());
    EXPECT_FALSE(form->menu("AddItemforCombobox").Visible());
    ASSERT_EQ(ui.popups.size(), 1u);
    EXPECT_EQ(ui.popups[0].menu, "CommandbarControlOperation");

    // A built-in combo box keeps the item commands hidden.
    listBar("Standard");
    selectCell(controlRow("显示比例(&Z):"), 2);
    form->userMouseDown(controls(), vbbutton::Right);
    EXPECT_FALSE(form->menu("OpenSubItem").Visible());
    EXPECT_FALSE(form->menu("ClearItems").Visible());

    // A custom one shows all four.
    auto combo = bars("Excel")->Item("Standard")->Controls()->Add(automation::mso::ControlComboBox);
    combo->SetCaption("Mine");
    listBar("Standard");
    selectCell(controlRow("Mine"), 2);
    form->userMouseDown(controls(), vbbutton::Right);
    for (const char* item : {"AddItemforCombobox", "AddMacroNames", "DeleteItemforCombobox", "ClearItems"}) {
        EXPECT_TRUE(form->menu(item).Visible()) << item;
    }
    EXPECT_EQ(ui.popups.back().visibleItems.front(), "AddItemforCombobox");
    EXPECT_EQ(ui.popups.size(), 3u);
}

TEST_F(Grids, RightClickOnAnEmptyRowOrInDesignMode) {
    controls().AddItem("");
    selectCell(controls().Rows() - 1, 2);
    form->userMouseDown(controls(), vbbutton::Right);
    EXPECT_TRUE(ui.popups.empty());

    form->DesignMode.SetValue(vbcheck::Checked);
    form->userMouseDown(controls(), vbbutton::Right);
    ASSERT_EQ(ui.popups.size(), 1u);
    EXPECT_EQ(ui.popups[0].menu, "DesignModeMenu");
}

TEST_F(Grids, KeysEditOnlyTheEditableColumns) {
    listBar("Standard");
    selectCell(1, 2);
    form->userKeyPress(controls(), 'X');
    form->userKeyPress(controls(), 0x4E2D);  // 中
    EXPECT_EQ(controls().Text(), "新建(&N)X中");
    form->userKeyPress(controls(), 8);
    EXPECT_EQ(controls().Text(), "新建(&N)X");
    form->userKeyDown(controls(), 46);
    EXPECT_EQ(controls().Text(), "");
    form->userKeyPress(controls(), 8);  // nothing left to remove
    EXPECT_EQ(controls().Text(), "");

    for (int col : {1, 3}) {
        selectCell(1, col);
        const std::string before = controls().Text();
        form->userKeyPress(controls(), '9');
        form->userKeyDown(controls(), 46);
        EXPECT_EQ(controls().Text(), before) << col;
    }
    // Column 0 is fixed; even code that makes it current cannot type into it.
    controls().SetCol(0);
    form->userKeyPress(controls(), '9');
    EXPECT_EQ(controls().TextMatrix(1, 0), "1");
    selectCell(1, 10);
    form->userKeyPress(controls(), 'a');
    EXPECT_EQ(controls().Text(), "a");
}

TEST_F(Grids, IdStringDoubleClickCopiesItsText) {
    ui.clipboard = "old";
    form->IDString.SetText("3,4,19");
    form->userDblClick(form->IDString);
    EXPECT_EQ(ui.clipboard, "3,4,19");
}

TEST_F(Grids, DuplicateBarNamesResolveToTheFirst) {
    form->userClickCell(form->ListAllCommandbars, barRow("Cell") + 1, 1);
    EXPECT_EQ(form->CurrentBar->Index(), bars("Excel")->Item("Cell")->Index());
}

}  // namespace
}  // namespace tessaline::shell

namespace tessaline::shell {
namespace {

class LongBars : public testing::OfficeFixture {};

TEST_F(LongBars, ListingEndsWhereTheRowCounterCannotGoOnSoEveryRowShowsItsOwnControl) {
    form->userClick(form->Excel);
    auto bar = bars("Excel")->Add(std::string("长工具栏"), 1);
    auto added = bar->Controls();
    for (int i = 0; i < 32770; ++i) added->Add(1);
    form->ListAllCommandbars.SetTextMatrix(1, 1, "长工具栏");
    form->userClickCell(form->ListAllCommandbars, 1, 1);

    FlexGrid& grid = form->ListAllCommandControls;
    EXPECT_EQ(grid.Rows(), 32768);
    for (int r = 1; r < grid.Rows(); r += 997) EXPECT_EQ(grid.TextMatrix(r, 0), std::to_string(r)) << r;
    EXPECT_EQ(grid.TextMatrix(32767, 0), "32767");
}

}  // namespace
}  // namespace tessaline::shell
