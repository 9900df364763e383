#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "automation/Desktop.h"
#include "automation/Office.h"
#include "sources/SourceWorkbooks.h"
#include "sources/SourceWorkbooksFixture.h"

namespace tessaline::sources {
namespace {

using automation::Variant;
using Rows = std::vector<std::string>;

// What the Excel of the test content records: popups are entered three levels deep, the fourth level's
// popup is a row without contents, skipped captions vanish with everything below them, type 14 is not a
// popup to the walk, and "BUILT-IN menus" is left out.
const Rows kExcelToolbarSource = {
    "A Worksheet Menu Bar 1",
    "B 文件(&F) 1 30002",
    "C 新建(&N)... 1 18",
    "C 发送(&D) 2 30095",
    "D 邮件收件人(&M) 1 3738",
    "D 更多(&O) 2 30400",
    "C 保存(&S) 5 3",
    "B 图形(&G) 5 30003",
    "C 图形子项(&A) 1 20",
    "B 拆分(&P) 6 30004",
    "C 拆分子项(&B) 1 21",
    "B 最近(&R) 7 30005",
    "B 字体(&F): 8 1728",
    "A Standard 2",
    "B 新建(&N) 1 2520",
    "B 打开(&O)... 2 23",
    "B 保存(&S) 3 3",
    "A Empty Bar 3",
    "A Cell 5",
    "B 剪切(&T) 1 21",
    "B 复制(&C) 2 19",
};

class SourceWorkbooks : public testing::SourceWorkbooksFixture {
protected:
    void updateExcelSource() {
        form->userClick(form->Excel);
        openToolbarSource();
        chooseAppCommand("MenuUpdateSource");
    }
    automation::Worksheet& toolbarSheet(const std::string& host) { return sheet("TreeviewofCommandbars.xls", host); }
    automation::Worksheet& menubarSheet(const std::string& host) { return sheet("MenuBar.xls", host); }
};

// ----- The walk rules -----

TEST_F(SourceWorkbooks, SkippedCaptionsAreEmptyAccessKeyFirstOrAHostListIgnoringCase) {
    form->userClick(form->Excel);
    automation::ControlPtr control =
        excel()->CommandBars()->Item("Standard")->Controls()->Add(automation::mso::ControlButton);
    const std::vector<std::pair<std::string, bool>> cases = {
        {"", true},
        {"&x", true},
        {"&", true},
        {"<动词>", true},
        {"其他控件(&C)...", true},
        {"utility", true},
        {"UTILITY 工具", true},
        {"对象(&O)...", true},
        {"权限(&m)", true},
        {"文件(&F)", false},
        {"x&y", false},
        {" &x", false},
        {"对象(O)", false},
        {"我的 utility", false},
        {"[&]", false},
        {"其他控件", true},
    };
    for (const auto& [caption, skipped] : cases) {
        control->SetCaption(caption);
        EXPECT_EQ(IsSkippedControl(*control), skipped) << '"' << caption << '"';
    }
}

TEST_F(SourceWorkbooks, PopupsToTheWalkAreTypesTenToThirteen) {
    form->userClick(form->Excel);
    automation::ControlsPtr menu = excel()->CommandBars()->Item("Worksheet Menu Bar")->Controls();
    // 文件 10, 权限 10, 对象 12, UTILITY 1, 图形 11, 拆分 13, 最近 14, 字体 4.
    const std::vector<bool> popup = {true, true, true, false, true, true, false, false};
    ASSERT_EQ(menu->Count(), 8);
    for (int i = 1; i <= menu->Count(); ++i) {
        EXPECT_EQ(IsPopupControl(*menu->Item(i)), popup[static_cast<std::size_t>(i - 1)]) << i;
    }
}

// ----- Opening the source workbooks -----

TEST_F(SourceWorkbooks, OpeningASourceTwiceOpensItOnceAndRaisesExcelEachTime) {
    office->startHost("Word");
    const int before = openCount();
    openToolbarSource();
    EXPECT_TRUE(isOpen("TreeviewofCommandbars.xls"));
    EXPECT_EQ(openCount(), before + 1);
    const automation::WindowHandle xl = office->hostWindow("Excel");
    EXPECT_EQ(office->foregroundWindow(), xl);
    EXPECT_EQ(office->windowShowState(xl), automation::sw::Maximized);

    // Another window in front, the workbook already open: Excel comes back to the front, no second copy.
    office->SetForegroundWindow(office->hostWindow("Word"));
    openToolbarSource();
    EXPECT_EQ(openCount(), before + 1);
    EXPECT_EQ(office->foregroundWindow(), xl);

    openMenubarSource();
    EXPECT_TRUE(isOpen("Menubar.xls"));
    EXPECT_EQ(openCount(), before + 2);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SourceWorkbooks, OpenSourceFileInTheHostMenuOpensTheToolbarSource) {
    form->userClick(form->Word);
    chooseAppCommand("OpenSourceFile");
    EXPECT_TRUE(isOpen("TreeviewofCommandbars.xls"));
    EXPECT_EQ(office->foregroundWindow(), office->hostWindow("Excel"));
}

TEST_F(SourceWorkbooks, OpeningFailsSilentlyWithoutExcelOrWithoutTheFile) {
    std::filesystem::remove(folder / "Menubar.xls");
    openMenubarSource();
    EXPECT_FALSE(isOpen("Menubar.xls"));

    office->stopHost("Excel");
    openToolbarSource();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(form->isUnloaded());
}

// ----- The toolbar source -----

TEST_F(SourceWorkbooks, UpdateRecordsEveryBarOfTheHostWithItsControls) {
    updateExcelSource();
    EXPECT_EQ(rowsOf(toolbarSheet("Excel")), kExcelToolbarSource);
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(excel()->ScreenUpdating());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->HostName, "Excel");
    EXPECT_EQ(form->SourceSheet->Name(), "Excel");
    // Captions are text, index and ID numbers: a reader steps from a caption to them with End.
    EXPECT_TRUE(cell(toolbarSheet("Excel"), 2, 2).isString());
    EXPECT_TRUE(cell(toolbarSheet("Excel"), 2, 10).isNumber());
    EXPECT_TRUE(cell(toolbarSheet("Excel"), 2, 11).isNumber());
    // Other hosts' sheets are not touched.
    EXPECT_TRUE(rowsOf(toolbarSheet("Word")).empty());
}

TEST_F(SourceWorkbooks, UpdateReplacesTheWholeEarlierRecording) {
    updateExcelSource();
    toolbarSheet("Excel").Cells(400, 3)->SetValue(Variant("旧的记录"));
    toolbarSheet("Excel").Cells(1, 12)->SetValue(Variant(7));
    excel()->CommandBars()->Item("Cell")->Controls()->Item(2)->Delete();
    chooseAppCommand("MenuUpdateSource");
    Rows expected = kExcelToolbarSource;
    expected.pop_back();
    EXPECT_EQ(rowsOf(toolbarSheet("Excel")), expected);
}

TEST_F(SourceWorkbooks, UpdateRecordsTheEditorsBarsIntoItsOwnSheet) {
    form->userClick(form->VBE);
    openToolbarSource();
    chooseAppCommand("MenuUpdateSource");
    EXPECT_EQ(rowsOf(toolbarSheet("VBE")),
              (Rows{"A 菜单条 1", "B 文件(&F) 1 30002", "C 保存(&S) 1 3", "B 编辑(&E) 2 30003", "C 撤消(&U) 1 128",
                    "A 标准 2", "B 运行(&R) 1 186"}));
    EXPECT_TRUE(rowsOf(toolbarSheet("Excel")).empty());
}

TEST_F(SourceWorkbooks, UpdateWithoutTheOpenWorkbookReportsAndWritesNothing) {
    form->userClick(form->Word);
    chooseAppCommand("MenuUpdateSource");
    EXPECT_EQ(shownMessages(), (Rows{"Subscript out of range"}));
    // The host was attached before the workbook lookup failed, and Excel is not left frozen.
    EXPECT_EQ(form->HostName, "Word");
    EXPECT_NE(form->SourceHost, nullptr);
    EXPECT_EQ(form->SourceSheet, nullptr);
    EXPECT_TRUE(excel()->ScreenUpdating());
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Waiting");
}

TEST_F(SourceWorkbooks, UpdateNeverWritesASheetAnEarlierCallSelected) {
    updateExcelSource();
    form->userClick(form->Word);
    office->stopHost("Word");
    form->dispatch([&] { UpdateToolbarSource(*form); });
    EXPECT_EQ(ui.messages.size(), 1U);
    // The host name keeps the host of the earlier call, and its sheet keeps its recording.
    EXPECT_EQ(form->HostName, "Excel");
    EXPECT_EQ(rowsOf(toolbarSheet("Excel")), kExcelToolbarSource);
    EXPECT_TRUE(excel()->ScreenUpdating());
}

TEST_F(SourceWorkbooks, UpdateWithNoHostChosenWritesNothing) {
    updateExcelSource();
    form->userClick(form->Void);
    form->dispatch([&] { UpdateToolbarSource(*form); });
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->SourceHost, nullptr);
    EXPECT_EQ(form->HostName, "");
    EXPECT_EQ(rowsOf(toolbarSheet("Excel")), kExcelToolbarSource);
    EXPECT_TRUE(excel()->ScreenUpdating());
}

TEST_F(SourceWorkbooks, UpdateKeepsTheRecordingWhenTheHostsBarsCannotBeRead) {
    form->userClick(form->Outlook);
    openToolbarSource();
    chooseAppCommand("MenuUpdateSource");
    ASSERT_EQ(rowsOf(toolbarSheet("Outlook")), (Rows{"A Menu Bar 1", "B 文件(&F) 1 30002", "C 新建(&W) 1 1"}));

    // Outlook's explorer window closes: there is no bar to walk, and the earlier recording stays.
    office->setOutlookExplorer(false);
    chooseAppCommand("MenuUpdateSource");
    EXPECT_EQ(shownMessages(), (Rows{"Object variable or With block variable not set"}));
    EXPECT_EQ(rowsOf(toolbarSheet("Outlook")).size(), 3U);
    EXPECT_TRUE(excel()->ScreenUpdating());
}

TEST_F(SourceWorkbooks, AWalkPastTheLastRowStopsThereAndSaysSo) {
    form->userClick(form->Excel);
    openToolbarSource();
    automation::CommandBarPtr big = excel()->CommandBars()->Add(Variant("Big"));
    automation::ControlsPtr controls = big->Controls();
    for (int i = 0; i < 32800; ++i) controls->Add(automation::mso::ControlButton)->SetCaption("按钮");
    chooseAppCommand("MenuUpdateSource");

    automation::Worksheet& s = toolbarSheet("Excel");
    // Row 32767 holds the last button that fitted, not the last one of the bar written over it.
    EXPECT_EQ(cell(s, 32767, 2), Variant("按钮"));
    EXPECT_EQ(cell(s, 32767, 10).toLong(), 32767 - 21 - 1);
    EXPECT_TRUE(cell(s, 32768, 2).isEmpty());
    EXPECT_EQ(shownMessages(), (Rows{"Overflow"}));
    EXPECT_NE(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(excel()->ScreenUpdating());
}

// ----- The menu-bar source -----

TEST_F(SourceWorkbooks, RefreshRecordsTheMenuBarFromRowTwo) {
    form->userClick(form->Excel);
    openMenubarSource();
    form->clickMenu("menuMenubarRefresh");
    Rows expected(kExcelToolbarSource.begin(), kExcelToolbarSource.begin() + 13);
    expected.insert(expected.begin(), "");
    EXPECT_EQ(rowsOf(menubarSheet("Excel")), expected);
    EXPECT_TRUE(cell(menubarSheet("Excel"), 1, 1).isEmpty());
    EXPECT_EQ(cell(menubarSheet("Excel"), 2, 10).toLong(), 1);
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(excel()->ScreenUpdating());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SourceWorkbooks, RefreshTakesEachHostsMenuBar) {
    openMenubarSource();
    form->userClick(form->VBE);
    form->clickMenu("menuMenubarRefresh");
    EXPECT_EQ(rowsOf(menubarSheet("VBE")), (Rows{"", "A 菜单条 1", "B 文件(&F) 1 30002", "C 保存(&S) 1 3",
                                                 "B 编辑(&E) 2 30003", "C 撤消(&U) 1 128"}));

    form->userClick(form->Word);
    form->clickMenu("menuMenubarRefresh");
    EXPECT_EQ(rowsOf(menubarSheet("Word")), (Rows{"", "A Menu Bar 1", "B 文件(&F) 1 30002", "C 保存(&S) 1 3"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SourceWorkbooks, RefreshWithNoHostChosenDoesNothing) {
    form->userClick(form->Excel);
    openMenubarSource();
    form->clickMenu("menuMenubarRefresh");
    form->userClick(form->Void);
    menubarSheet("Excel").Cells(2, 1)->SetValue(Variant("改过"));
    form->clickMenu("menuMenubarRefresh");
    EXPECT_EQ(form->StatusBar1.PanelText(6), "");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->HostName, "Excel");
    EXPECT_EQ(cell(menubarSheet("Excel"), 2, 1), Variant("改过"));
}

TEST_F(SourceWorkbooks, RefreshWithABarTheHostLacksReportsAndKeepsTheLastRecording) {
    form->userClick(form->Excel);
    openMenubarSource();
    form->clickMenu("menuMenubarRefresh");
    const auto recorded = rowsOf(menubarSheet("Excel"));
    ASSERT_FALSE(recorded.empty());
    form->dispatch([&] { RefreshMenubarSource(*form, "No Such Bar"); });
    EXPECT_EQ(shownMessages(), (Rows{"Invalid procedure call or argument"}));
    EXPECT_EQ(rowsOf(menubarSheet("Excel")), recorded);
    EXPECT_TRUE(excel()->ScreenUpdating());
}

TEST_F(SourceWorkbooks, RefreshWithoutTheOpenWorkbookReportsOnce) {
    form->userClick(form->Excel);
    form->clickMenu("menuMenubarRefresh");
    EXPECT_EQ(shownMessages(), (Rows{"Subscript out of range"}));
    EXPECT_TRUE(excel()->ScreenUpdating());
}

TEST_F(SourceWorkbooks, RefreshNeverClearsTheSheetOfTheHostBefore) {
    form->userClick(form->Excel);
    openMenubarSource();
    form->clickMenu("menuMenubarRefresh");
    form->userClick(form->Word);
    office->stopHost("Word");
    form->clickMenu("menuMenubarRefresh");
    EXPECT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(rowsOf(menubarSheet("Excel")).size(), 14U);
}

}  // namespace
}  // namespace tessaline::sources
