#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DesignerFixture.h"
#include "automation/AutomationError.h"
#include "designer/CodePane.h"

namespace tessaline::designer {
namespace {

using automation::Variant;

// The window with a program folder of its own holding a copy of the shipped designer workbook, so that no
// test touches the build's file or another test's.
class ExcelDesignFixture : public testing::DesignerFixture {
protected:
    ExcelDesignFixture() {
        namespace fs = std::filesystem;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        programFolder = fs::temp_directory_path() / ("tessaline-exceldesign-" + std::string(test->test_suite_name()) +
                                                     "-" + test->name() + "-" + std::to_string(::getpid()));
        fs::create_directories(programFolder);
        fs::copy_file(TESSALINE_WORKBOOK_DIR "/Tessaline.xls", programFolder / "Tessaline.xls",
                      fs::copy_options::overwrite_existing);
        form->App.Path = programFolder.string();
    }
    ~ExcelDesignFixture() override {
        std::error_code ignored;
        std::filesystem::remove_all(programFolder, ignored);
    }

    automation::WorkbookPtr designerBook() {
        for (const automation::WorkbookPtr& book : excel()->Workbooks()->Enumerate()) {
            if (book->Name() == "Tessaline.xls") return book;
        }
        return nullptr;
    }
    automation::Worksheet& designerSheet() {
        automation::WorkbookPtr book = designerBook();
        if (!book) throw std::runtime_error("the designer workbook is not open");
        return *book->ActiveSheet();
    }

    // One row of the designer sheet as the user types it in Excel; what is left out stays empty.
    struct SheetRow {
        Variant type{};
        Variant caption{};
        Variant onAction{};
        Variant faceId{};
        Variant beginGroup{};
        Variant enabled{};
        Variant visible{};
        Variant tooltip{};
        Variant style{};
        Variant shortcut{};
    };
    // Empties the sheet below its headings, then writes the rows from `firstRow` on.
    void writeDesign(const std::vector<SheetRow>& rows, int firstRow = 2) {
        automation::Worksheet& sheet = designerSheet();
        sheet.Range("A2:M200")->ClearContents();
        int r = firstRow;
        for (const SheetRow& row : rows) {
            const std::pair<int, Variant> cells[] = {
                {3, row.caption}, {5, row.beginGroup}, {6, row.type},     {7, row.enabled}, {8, row.visible},
                {9, row.faceId},  {10, row.onAction},  {11, row.tooltip}, {12, row.style},  {13, row.shortcut}};
            sheet.Cells(r, 1)->SetValue(r - 1);
            for (const auto& [column, value] : cells) {
                if (!value.isEmpty()) sheet.Cells(r, column)->SetValue(value);
            }
            ++r;
        }
    }

    // Lists the bar, checks 设计模式 and opens the designer workbook from the design menu.
    void startExcelDesign(const std::string& bar) {
        selectBar(bar);
        enterDesignMode();
        chooseDesignCommand("MenuExcelDesign");
    }
    void batchAdd() { chooseDesignCommand("BatchAddfromExcel"); }

    automation::CommandBarControl& control(const std::string& bar, int index) {
        return *hostBar(bar).Controls()->Item(index);
    }

    std::filesystem::path programFolder;
    const std::vector<std::string> standard{"新建(&N)", "打开(&O)...", "保存(&S)", "打印(&P)", "显示比例(&Z):"};
};

// ----- Opening the designer workbook -----

class OpenDesigner : public ExcelDesignFixture {};

TEST_F(OpenDesigner, OpensTheWorkbookOfTheProgramFolderAndRaisesExcel) {
    enterDesignMode();
    chooseDesignCommand("MenuExcelDesign");
    ASSERT_NE(designerBook(), nullptr);
    EXPECT_EQ(std::filesystem::path(designerBook()->FullName()), programFolder / "Tessaline.xls");
    EXPECT_EQ(designerSheet().Cells(1, 3)->Text(), "标题");
    EXPECT_EQ(form->ExcelApp, excel());
    const automation::WindowHandle window = office->hostWindow("Excel");
    EXPECT_EQ(office->windowShowState(window), automation::sw::Maximized);
    EXPECT_EQ(office->foregroundWindow(), window);
    EXPECT_EQ(form->HostWindow, window);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OpenDesigner, TheFileMenuDoesTheSameAndOpeningTwiceKeepsOneWorkbook) {
    const int before = excel()->Workbooks()->Count();
    form->clickMenu("menuDesignerxls");
    ASSERT_NE(designerBook(), nullptr);
    // What the user typed in the open workbook survives a second open.
    designerSheet().Cells(2, 3)->SetValue("改过");
    form->clickMenu("MenuExcelDesign");
    EXPECT_EQ(excel()->Workbooks()->Count(), before + 1);
    EXPECT_EQ(designerSheet().Cells(2, 3)->Text(), "改过");
    EXPECT_EQ(office->foregroundWindow(), office->hostWindow("Excel"));
}

TEST_F(OpenDesigner, NeedsNoAttachedHost) {
    form->userClick(form->Void);
    form->clickMenu("menuDesignerxls");
    EXPECT_NE(designerBook(), nullptr);
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OpenDesigner, AMissingFileOrExcelIsPassedOverSilently) {
    std::filesystem::remove(programFolder / "Tessaline.xls");
    form->clickMenu("menuDesignerxls");
    EXPECT_EQ(designerBook(), nullptr);
    // Excel is still brought to the front.
    EXPECT_EQ(office->foregroundWindow(), office->hostWindow("Excel"));

    const auto earlier = form->ExcelApp;
    office->stopHost("Excel");
    form->clickMenu("menuDesignerxls");
    EXPECT_EQ(form->ExcelApp, earlier);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(form->isUnloaded());
}

// ----- Batch add -----

class BatchAdd : public ExcelDesignFixture {};

TEST_F(BatchAdd, TheShippedSampleAddsItsControlsAtTheEnd) {
    startExcelDesign("Standard");
    batchAdd();

    std::vector<std::string> expected = standard;
    expected.insert(expected.end(), {"你好", "保存副本", "我的工具"});
    ASSERT_EQ(captions("Standard"), expected);
    automation::CommandBarControl& hello = control("Standard", 6);
    EXPECT_EQ(hello.GetProperty("FaceId").toLong(), 2950);
    EXPECT_EQ(hello.OnAction(), "我来了");
    EXPECT_EQ(hello.GetProperty("Style").toLong(), 3);
    EXPECT_FALSE(hello.BeginGroup());
    EXPECT_TRUE(hello.Enabled());
    automation::CommandBarControl& saveCopy = control("Standard", 7);
    EXPECT_TRUE(saveCopy.BeginGroup());
    EXPECT_EQ(saveCopy.GetProperty("ShortcutText").toString(), "Ctrl+Shift+S");
    EXPECT_EQ(control("Standard", 8).Type(), automation::mso::ControlPopup);

    // The sub menu has no macro and still gets its stub.
    EXPECT_EQ(form->RichTextBox1.Text(), MacroStub("我来了") + MacroStub("SaveCopy") + MacroStub(""));
    EXPECT_EQ(form->ShowMacroList.Value(), shell::vbcheck::Unchecked);
    // Listed again, design mode kept: the listing's loop variable ran to its end and holds nothing.
    EXPECT_EQ(form->CurrentControl, nullptr);
    EXPECT_EQ(grid().Rows(), 9);
    EXPECT_EQ(grid().TextMatrix(6, 2), "你好");
    EXPECT_EQ(form->DesignMode.Value(), shell::vbcheck::Checked);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BatchAdd, StopsAtTheFirstEmptyRow) {
    startExcelDesign("Standard");
    writeDesign({{.type = 1, .caption = "R2"}, {.type = 1, .caption = "R3"}, {.type = 1, .caption = "R4"}});
    // Rows 6 and 7 lie below the empty row 5: not part of the design.
    designerSheet().Cells(6, 3)->SetValue("R6");
    designerSheet().Cells(6, 6)->SetValue(1);
    designerSheet().Cells(7, 3)->SetValue("R7");
    designerSheet().Cells(7, 6)->SetValue(1);
    batchAdd();

    std::vector<std::string> expected = standard;
    expected.insert(expected.end(), {"R2", "R3", "R4"});
    EXPECT_EQ(captions("Standard"), expected);
}

TEST_F(BatchAdd, HeadingsOnlyAddNothingAndEmptyThePane) {
    startExcelDesign("Standard");
    writeDesign({});
    form->RichTextBox1.SetText("earlier code");
    batchAdd();
    EXPECT_EQ(captions("Standard"), standard);
    EXPECT_EQ(form->RichTextBox1.Text(), "");
    EXPECT_EQ(grid().Rows(), 6);
}

TEST_F(BatchAdd, EmptySwitchesMakeAHiddenDisabledButtonWithoutGroupLine) {
    startExcelDesign("Standard");
    writeDesign({{.type = 1, .caption = "Go", .onAction = "RunGo"}});
    batchAdd();

    ASSERT_EQ(hostBar("Standard").Controls()->Count(), 6);
    automation::CommandBarControl& go = control("Standard", 6);
    EXPECT_EQ(go.Caption(), "Go");
    EXPECT_EQ(go.Type(), automation::mso::ControlButton);
    EXPECT_FALSE(go.BeginGroup());
    EXPECT_FALSE(go.Enabled());
    EXPECT_FALSE(go.Visible());
    EXPECT_EQ(go.OnAction(), "RunGo");
    EXPECT_EQ(form->RichTextBox1.Text(), MacroStub("RunGo"));
}

TEST_F(BatchAdd, TakesTheCellsValuesAsTheHostNeedsThem) {
    startExcelDesign("Standard");
    writeDesign({{.type = 1,
                  .caption = 2024,
                  .onAction = "M1",
                  .faceId = 59,
                  .beginGroup = 2,
                  .enabled = 0,
                  .visible = true,
                  .tooltip = 3.5,
                  .style = 2,
                  .shortcut = "Ctrl+K"},
                 // A word that is no Boolean fails that switch alone: the host's default stays.
                 {.type = "1", .caption = "B", .enabled = "yes", .visible = "maybe"}});
    batchAdd();

    automation::CommandBarControl& first = control("Standard", 6);
    EXPECT_EQ(first.Caption(), "2024");
    EXPECT_TRUE(first.BeginGroup());
    EXPECT_FALSE(first.Enabled());
    EXPECT_TRUE(first.Visible());
    EXPECT_EQ(first.GetProperty("FaceId").toLong(), 59);
    EXPECT_EQ(first.TooltipText(), "3.5");
    EXPECT_EQ(first.GetProperty("Style").toLong(), 2);
    EXPECT_EQ(first.GetProperty("ShortcutText").toString(), "Ctrl+K");
    automation::CommandBarControl& second = control("Standard", 7);
    EXPECT_EQ(second.Caption(), "B");
    EXPECT_TRUE(second.Enabled());
    EXPECT_TRUE(second.Visible());
}

TEST_F(BatchAdd, RowsTheHostRefusesAddNothingAndButtonPopupsGetNoStub) {
    startExcelDesign("Standard");
    writeDesign({{.type = 1, .caption = "A", .onAction = "MA"},
                 {.caption = "no type", .onAction = "Lost1"},
                 {.type = 99, .caption = "bad type", .onAction = "Lost2"},
                 {.type = "abc", .caption = "text type", .onAction = "Lost3"},
                 {.type = 12, .caption = "button popup", .onAction = "NoStub"},
                 {.type = 1, .caption = "B", .onAction = "MB"}});
    batchAdd();

    std::vector<std::string> expected = standard;
    expected.insert(expected.end(), {"A", "button popup", "B"});
    EXPECT_EQ(captions("Standard"), expected);
    EXPECT_EQ(form->RichTextBox1.Text(), MacroStub("MA") + MacroStub("MB"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BatchAdd, WithASubMenuOpenFillsTheSubMenu) {
    form->clickMenu("menuDesignerxls");
    writeDesign({{.type = 1, .caption = "子项", .onAction = "Sub1"}});
    selectBar("Worksheet Menu Bar");
    selectRow(2);
    chooseControlCommand("CreateSubItem");
    automation::PopupPtr edit = hostBar("Worksheet Menu Bar").Controls()->Item(2)->AsPopup();
    ASSERT_EQ(form->CurrentPopup, edit);
    batchAdd();

    EXPECT_EQ(captions(*edit->Controls()), (std::vector<std::string>{"复制(&C)", "粘贴(&P)", "子项"}));
    EXPECT_EQ(hostBar("Worksheet Menu Bar").Controls()->Count(), 2);
    // The listing that ends the command leaves the sub menu.
    EXPECT_EQ(form->CurrentPopup, nullptr);
}

TEST_F(BatchAdd, WithoutTheOpenWorkbookAddsNothingButStillEmptiesThePaneAndLists) {
    selectBar("Standard");
    enterDesignMode();
    form->RichTextBox1.SetText("earlier code");
    batchAdd();
    EXPECT_EQ(captions("Standard"), standard);
    EXPECT_EQ(form->RichTextBox1.Text(), "");
    EXPECT_EQ(grid().Rows(), 6);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BatchAdd, AnExcelThatHasQuitIsNotReadThroughTheEarlierReference) {
    startExcelDesign("Standard");
    ASSERT_NE(form->ExcelApp, nullptr);
    automation::CommandBarPtr bar = form->CurrentBar;
    office->stopHost("Excel");
    batchAdd();
    // What the quit Excel handed out is dead, as after a COM server has gone.
    EXPECT_THROW(bar->Controls(), automation::AutomationError);
    EXPECT_EQ(form->RichTextBox1.Text(), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BatchAdd, WithNoBarNoRowIsTried) {
    form->clickMenu("menuDesignerxls");
    form->userClick(form->Void);
    ASSERT_EQ(form->CurrentBar, nullptr);
    form->RichTextBox1.SetText("earlier code");
    form->clickMenu("BatchAddfromExcel");
    EXPECT_EQ(form->RichTextBox1.Text(), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BatchAdd, AnExportedBarComesBackAsAnEqualBar) {
    form->clickMenu("menuDesignerxls");
    selectBar("Standard");
    chooseControlCommand("ExportToExcel");
    hostBars().Add("副本");
    form->userClick(form->Excel);
    selectBar("副本");
    enterDesignMode();
    batchAdd();

    EXPECT_EQ(captions("副本"), standard);
    for (int i = 1; i <= 5; ++i) {
        automation::CommandBarControl& original = control("Standard", i);
        automation::CommandBarControl& copy = control("副本", i);
        EXPECT_EQ(copy.Type(), original.Type()) << i;
        EXPECT_EQ(copy.Visible(), original.Visible()) << i;
        EXPECT_EQ(copy.BeginGroup(), original.BeginGroup()) << i;
        EXPECT_EQ(copy.TooltipText(), original.TooltipText()) << i;
        if (original.Type() == automation::mso::ControlButton) {
            EXPECT_EQ(copy.GetProperty("FaceId"), original.GetProperty("FaceId")) << i;
        }
    }
}

// ----- Batch copy -----

class BatchCopy : public ExcelDesignFixture {
protected:
    // A new empty toolbar, listed and current.
    void listNewBar(const std::string& name) {
        hostBars().Add(name);
        form->userClick(form->Excel);
        selectBar(name);
    }
    void batchCopy(const std::string& text) {
        form->IDString.SetText(text);
        form->userClick(form->BatchCopy);
    }
    std::vector<int> ids(const std::string& bar) {
        std::vector<int> out;
        for (const auto& c : hostBar(bar).Controls()->Enumerate()) out.push_back(c->Id());
        return out;
    }
};

TEST_F(BatchCopy, CopiesTheNamedControlsToTheEndOfTheBarInOrder) {
    listNewBar("收集");
    batchCopy("3,19, 21");
    EXPECT_EQ(ids("收集"), (std::vector<int>{3, 19, 21}));
    EXPECT_EQ(captions("收集"), (std::vector<std::string>{"保存(&S)", "复制(&C)", "剪切(&T)"}));
    // CurrentControl is the control found for the last ID, not its copy.
    EXPECT_EQ(form->CurrentControl, hostBars().Item(4)->Controls()->Item(1));
    // Neither grid is refreshed and nothing is said.
    EXPECT_EQ(grid().Rows(), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BatchCopy, TrimsTheTextAndIgnoresOneThatDoesNotBeginWithADigit) {
    listNewBar("收集");
    batchCopy("  23 ");
    EXPECT_EQ(ids("收集"), (std::vector<int>{23}));
    for (const char* text : {"a3", "", "   ", ",3", "-3"}) {
        batchCopy(text);
        EXPECT_EQ(ids("收集"), (std::vector<int>{23})) << text;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BatchCopy, GoesToTheBarEvenWithASubMenuOpen) {
    selectBar("Worksheet Menu Bar");
    selectRow(2);
    chooseControlCommand("OpenSubItem");
    ASSERT_NE(form->CurrentPopup, nullptr);
    batchCopy("3");
    EXPECT_EQ(ids("Worksheet Menu Bar"), (std::vector<int>{30002, 30003, 3}));
    EXPECT_EQ(form->CurrentPopup->Controls()->Count(), 2);
}

TEST_F(BatchCopy, IdsThatMatchNothingArePassedOverAndNamedInOneReport) {
    listNewBar("收集");
    batchCopy("3,99999,19,");
    EXPECT_EQ(ids("收集"), (std::vector<int>{3, 19}));
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& report = ui.messages[0].prompt;
    EXPECT_NE(report.find("99999"), std::string::npos) << report;
    EXPECT_NE(report.find("第4项"), std::string::npos) << report;
    EXPECT_EQ(report.find("第1项"), std::string::npos) << report;
    EXPECT_EQ(ui.messages[0].title, "Tessaline");
    EXPECT_FALSE(form->isUnloaded());
}

TEST_F(BatchCopy, AnIdTooLargeForTheHostIsReportedNotCopied) {
    listNewBar("收集");
    batchCopy("3,1e12");
    EXPECT_EQ(ids("收集"), (std::vector<int>{3}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].prompt.find("第2项"), std::string::npos);
}

TEST_F(BatchCopy, WithoutABarToCopyToNothingIsCopiedAnywhere) {
    // Detached: nothing to search.
    form->userClick(form->Void);
    batchCopy("3");
    EXPECT_EQ(ui.messages.size(), 1u);

    // Attached but without a current bar, a copy must not fall back on the bar the control lives in.
    form->userClick(form->Excel);
    form->CurrentBar = nullptr;
    automation::PopupPtr file = hostBar("Worksheet Menu Bar").Controls()->Item(1)->AsPopup();
    const int before = file->Controls()->Count();
    batchCopy("3");
    EXPECT_EQ(file->Controls()->Count(), before);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_FALSE(form->isUnloaded());
}

}  // namespace
}  // namespace tessaline::designer
