#include "DesignerFixture.h"

namespace tessaline::designer {
namespace {

class SubItems : public testing::DesignerFixture {
protected:
    SubItems() { selectBar("Worksheet Menu Bar"); }
    automation::PopupPtr menu(int index) { return hostBar("Worksheet Menu Bar").Controls()->Item(index)->AsPopup(); }
};

TEST_F(SubItems, TheControlMenuOffersThemOnPopupRowsOnly) {
    selectRow(1);
    ui.queuePopupChoice("");
    form->userMouseDown(grid(), shell::vbbutton::Right);
    selectBar("Standard");
    selectRow(1);
    ui.queuePopupChoice("");
    form->userMouseDown(grid(), shell::vbbutton::Right);
    ASSERT_EQ(ui.popups.size(), 2u);
    auto has = [](const std::vector<std::string>& items, const std::string& name) {
        return std::find(items.begin(), items.end(), name) != items.end();
    };
    EXPECT_TRUE(has(ui.popups[0].visibleItems, "OpenSubItem"));
    EXPECT_TRUE(has(ui.popups[0].visibleItems, "CreateSubItem"));
    EXPECT_FALSE(has(ui.popups[1].visibleItems, "OpenSubItem"));
}

TEST_F(SubItems, OpenSubItemListsThePopupsItems) {
    selectRow(1);
    chooseControlCommand("OpenSubItem");
    EXPECT_EQ(form->CurrentPopup, menu(1));
    EXPECT_EQ(form->StatusBar1.PanelText(3), "文件(&F)");
    const int count = menu(1)->Controls()->Count();
    ASSERT_EQ(grid().Rows(), count + 1);
    EXPECT_EQ(grid().TextMatrix(0, 1), "ID");
    EXPECT_EQ(grid().TextMatrix(1, 2), menu(1)->Controls()->Item(1)->Caption());
    EXPECT_EQ(grid().TextMatrix(count, 0), std::to_string(count));
    EXPECT_EQ(form->CurrentControl, nullptr);
    EXPECT_EQ(form->CurrentBar->Name(), "Worksheet Menu Bar");
}

TEST_F(SubItems, OpenSubItemOnAControlThatIsNoPopupListsNothingAfterABarListing) {
    selectBar("Standard");
    // The command is offered by the type cell, which the user can edit: a button row typed as a popup.
    typeIntoCell(3, 5, "10");
    selectRow(3);
    chooseControlCommand("OpenSubItem");
    ASSERT_EQ(ui.popups.back().chosen, "OpenSubItem");
    EXPECT_EQ(form->CurrentPopup, nullptr);
    EXPECT_EQ(grid().Rows(), 1);
    EXPECT_EQ(grid().TextMatrix(0, 2), "标题");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SubItems, OpenSubItemAlwaysTakesTheTopLevelControlAtTheRow) {
    selectRow(1);
    chooseControlCommand("OpenSubItem");
    // Row 2 of the File menu's listing; the command still opens the bar's second menu.
    typeIntoCell(2, 5, "10");
    selectRow(2);
    chooseControlCommand("OpenSubItem");
    ASSERT_EQ(ui.popups.back().chosen, "OpenSubItem");
    EXPECT_EQ(form->CurrentPopup, menu(2));
    EXPECT_EQ(form->StatusBar1.PanelText(3), "编辑(&E)");
    EXPECT_EQ(grid().Rows(), menu(2)->Controls()->Count() + 1);
}

TEST_F(SubItems, CreateSubItemTargetsThePopupAndStartsADesign) {
    selectRow(2);
    chooseControlCommand("CreateSubItem");
    EXPECT_EQ(form->CurrentPopup, menu(2));
    EXPECT_EQ(form->StatusBar1.PanelText(5), "编辑(&E)");
    EXPECT_EQ(form->DesignMode.Value(), shell::vbcheck::Checked);
    EXPECT_EQ(grid().Rows(), 2);
    EXPECT_FALSE(form->ListAllCommandbars.Enabled());

    // A double-click on panel 5 sends later designs to the bar again.
    form->userPanelDblClick(5);
    EXPECT_EQ(form->CurrentPopup, nullptr);
}

TEST_F(SubItems, CreateSubItemOnAControlThatIsNoPopupIsReportedAndChangesNothing) {
    selectBar("Standard");
    selectRow(1);
    ui.queuePopupChoice("CreateSubItem");
    form->userMouseDown(grid(), shell::vbbutton::Right);
    // Not offered on a button; choosing it anyway (through the menu by name) is refused with a report.
    EXPECT_EQ(form->CurrentPopup, nullptr);
    form->clickMenu("CreateSubItem");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(form->CurrentPopup, nullptr);
    EXPECT_EQ(form->DesignMode.Value(), shell::vbcheck::Unchecked);
    EXPECT_EQ(grid().Rows(), 6);
    EXPECT_FALSE(form->isUnloaded());
}

TEST_F(SubItems, CreateSubItemInDesignModeKeepsTheDesignRows) {
    selectRow(1);
    enterDesignMode();
    chooseDesignCommand("AddLine");
    grid().SetTextMatrix(1, 2, "kept");
    form->clickMenu("CreateSubItem");
    EXPECT_EQ(form->CurrentPopup, menu(1));
    EXPECT_EQ(grid().Rows(), 3);
    EXPECT_EQ(grid().TextMatrix(1, 2), "kept");
}

class ExportIds : public testing::DesignerFixture {};

TEST_F(ExportIds, WritesTheHostsIdsCommaSeparated) {
    selectBar("Standard");
    // The grid's cells are not read: the IDs come from the host.
    grid().SetTextMatrix(1, 1, "999");
    chooseControlCommand("ExportID");
    EXPECT_EQ(form->IDString.Text(), "2520,23,3,4,1733");
    EXPECT_EQ(form->CurrentControl, nullptr);
}

TEST_F(ExportIds, WithAPopupOpenWritesItsItems) {
    selectBar("Worksheet Menu Bar");
    selectRow(2);
    chooseControlCommand("OpenSubItem");
    form->clickMenu("ExportID");
    std::string expected;
    for (const auto& item : form->CurrentPopup->Controls()->Enumerate()) {
        expected += (expected.empty() ? "" : ",") + std::to_string(item->Id());
    }
    EXPECT_EQ(form->IDString.Text(), expected);
}

TEST_F(ExportIds, AnEmptyBarLeavesTheTextAsItWas) {
    hostBars().Add("Empty");
    form->userClick(form->Excel);
    selectBar("Empty");
    form->IDString.SetText("earlier");
    form->clickMenu("ExportID");
    EXPECT_EQ(form->IDString.Text(), "earlier");
    form->userClick(form->Void);
    form->clickMenu("ExportID");
    EXPECT_EQ(form->IDString.Text(), "earlier");
    EXPECT_TRUE(ui.messages.empty());
}

class ExportToExcel : public testing::DesignerFixture {
protected:
    std::string cell(automation::Worksheet& sheet, int row, int col) { return sheet.Cells(row, col)->Text(); }
    // Excel turns the words True and False into Booleans, which it shows in capitals.
    static std::string asExcelShowsIt(const std::string& text) {
        if (text == "True") return "TRUE";
        if (text == "False") return "FALSE";
        return text;
    }
};

TEST_F(ExportToExcel, CopiesTheWholeGridToTheActiveSheetAndClearsWhatWasBelow) {
    automation::WorkbookPtr book = openDesignerWorkbook();
    automation::WorksheetPtr sheet = book->ActiveSheet();
    // A longer earlier export, and a stray cell right of the grid's columns.
    for (int row = 1; row <= 20; ++row) sheet->Cells(row, 1)->SetValue("old");
    sheet->Cells(3, 20)->SetValue("stray");

    selectBar("Standard");
    chooseControlCommand("ExportToExcel");

    EXPECT_EQ(cell(*sheet, 1, 1), "序号");
    EXPECT_EQ(cell(*sheet, 1, 13), "快捷键");
    for (int row = 1; row <= 6; ++row) {
        for (int col = 1; col <= 13; ++col) {
            EXPECT_EQ(cell(*sheet, row, col), asExcelShowsIt(grid().TextMatrix(row - 1, col - 1))) << row << "," << col;
        }
    }
    // Excel takes the texts as typed entries.
    EXPECT_TRUE(sheet->Cells(2, 2)->Value().isNumber());
    EXPECT_TRUE(sheet->Cells(2, 4)->Value().isBool());
    EXPECT_EQ(cell(*sheet, 7, 1), "");
    EXPECT_EQ(cell(*sheet, 20, 1), "");
    EXPECT_EQ(cell(*sheet, 3, 20), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportToExcel, ExportsADesignAsTyped) {
    openDesignerWorkbook();
    selectBar("Standard");
    enterDesignMode();
    design({{.type = "1",
             .caption = "你好",
             .onAction = "我来了",
             .faceId = "2950",
             .tooltip = "打个招呼",
             .style = "3"}});
    chooseDesignCommand("AddLine");
    form->clickMenu("ExportToExcel");
    automation::WorksheetPtr sheet = excel()->Workbooks()->Item("tessaline.xls")->ActiveSheet();
    EXPECT_EQ(cell(*sheet, 2, 3), "你好");
    EXPECT_EQ(cell(*sheet, 2, 9), "2950");
    EXPECT_EQ(cell(*sheet, 2, 10), "我来了");
    EXPECT_EQ(cell(*sheet, 3, 3), "");
    EXPECT_EQ(form->RowCounter, 2);
}

TEST_F(ExportToExcel, WithoutTheOpenWorkbookNothingIsWrittenOrReported) {
    automation::WorkbookPtr other = excel()->Workbooks()->Add();
    selectBar("Standard");
    form->clickMenu("ExportToExcel");
    EXPECT_EQ(other->ActiveSheet()->Cells(1, 1)->Text(), "");
    EXPECT_TRUE(ui.messages.empty());

    office->stopHost("Excel");
    form->clickMenu("ExportToExcel");
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace tessaline::designer
