#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/sim/OfficeTestSupport.h"

// The content the program ships with (data/office), loaded as the program loads it: the names, window
// classes and bars the tool asks for must be there, or browsing, capture and the macro list find nothing.
namespace tessaline::automation::sim::testing {
namespace {

// Every test only reads, so the six hosts are loaded once for the suite.
class ShippedContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() { office = SimOffice::load(std::string(TESSALINE_SOURCE_DIR) + "/data/office"); }
    static void TearDownTestSuite() { office.reset(); }

    CommandBarsPtr barsOf(const std::string& progId) const {
        return std::dynamic_pointer_cast<CommandBarHost>(office->GetObject(progId))->CommandBars();
    }
    CommandBarsPtr outlookBars() const {
        auto outlook = std::dynamic_pointer_cast<OutlookApplication>(office->GetObject("Outlook.Application"));
        return outlook->ActiveExplorer()->CommandBars();
    }
    VbePtr vbe() const {
        return std::dynamic_pointer_cast<ExcelApplication>(office->GetObject("Excel.Application"))->VBE();
    }

    static inline std::unique_ptr<SimOffice> office;
};

// Buttons a menu-bar capture would hook: type 1 controls on the first three levels, popups entered on the
// first two.
int hookableButtons(const ControlsPtr& controls, int level) {
    int count = 0;
    for (const auto& c : controls->Enumerate()) {
        if (c->Type() == 1) {
            ++count;
        } else if (level < 3 && c->Type() >= 10 && c->Type() <= 13) {
            count += hookableButtons(c->AsPopup()->Controls(), level + 1);
        }
    }
    return count;
}

TEST_F(ShippedContent, EveryHostRunsUnderTheProgIdAndWindowClassTheToolUses) {
    struct Row {
        std::string progId, windowClass, name;
    };
    const std::vector<Row> rows = {
        {"Excel.Application", "Xlmain", "Microsoft Excel"},
        {"Word.Application", "OpusApp", "Microsoft Word"},
        {"Powerpoint.Application", "PP11FrameClass", "Microsoft PowerPoint"},
        {"Access.Application", "Omain", "Microsoft Access"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.progId);
        auto app = std::dynamic_pointer_cast<CommandBarHost>(office->GetObject(row.progId));
        ASSERT_TRUE(app);
        EXPECT_EQ(app->Name(), row.name);
        EXPECT_NE(office->FindWindow(row.windowClass), 0);
    }
    EXPECT_NE(office->FindWindow("rctrl_renwnd32"), 0);
    auto outlook = std::dynamic_pointer_cast<OutlookApplication>(office->GetObject("Outlook.Application"));
    ASSERT_TRUE(outlook);
    EXPECT_TRUE(outlook->ActiveExplorer());
}

TEST_F(ShippedContent, EachMenuBarIsFoundByTheNameCaptureAsksForAndOffersButtonsToHook) {
    struct Row {
        std::string host;
        CommandBarsPtr bars;
        std::string menuBar;
    };
    const std::vector<Row> rows = {
        {"Excel", barsOf("Excel.Application"), "Worksheet menu bar"},
        {"Word", barsOf("Word.Application"), "menu bar"},
        {"PowerPoint", barsOf("PowerPoint.Application"), "Menu Bar"},
        {"Access", barsOf("Access.Application"), "Menu Bar"},
        {"Outlook", outlookBars(), "Menu Bar"},
        {"VBE", vbe()->CommandBars(), "菜单条"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.host);
        const auto bar = row.bars->Item(row.menuBar);
        EXPECT_EQ(bar->Type(), mso::BarTypeMenuBar);
        EXPECT_TRUE(bar->Visible());
        EXPECT_TRUE(bar->BuiltIn());
        for (const auto& menu : bar->Controls()->Enumerate()) {
            EXPECT_EQ(menu->Type(), 10) << menu->Caption();
            EXPECT_TRUE(menu->AsButton()) << menu->Caption();
        }
        EXPECT_GT(hookableButtons(bar->Controls(), 1), 40);
    }
}

TEST_F(ShippedContent, ExcelShipsItsFullBarSetWithTheNamesakeCellMenus) {
    const auto bars = barsOf("Excel.Application");
    EXPECT_GE(bars->Count(), 100);
    std::vector<std::string> menus;
    for (const auto& c : bars->Item("Worksheet Menu Bar")->Controls()->Enumerate()) menus.push_back(c->Caption());
    EXPECT_EQ(menus, (std::vector<std::string>{"文件(&F)", "编辑(&E)", "视图(&V)", "插入(&I)", "格式(&O)", "工具(&T)",
                                               "数据(&D)", "窗口(&W)", "帮助(&H)"}));
    for (const char* name : {"Standard", "Formatting"}) {
        EXPECT_TRUE(bars->Item(name)->Visible()) << name;
        EXPECT_EQ(bars->Item(name)->Position(), mso::BarTop) << name;
    }
    EXPECT_FALSE(bars->Item("Built-in Menus")->Visible());

    std::vector<CommandBarPtr> cells;
    for (const auto& b : bars->Enumerate()) {
        if (b->Name() == "Cell") cells.push_back(b);
    }
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(bars->Item("cell"), cells[0]);
    EXPECT_NE(cells[0]->Controls()->Count(), cells[1]->Controls()->Count());
    for (const auto& cell : cells) {
        EXPECT_EQ(cell->Type(), mso::BarTypePopup);
        EXPECT_EQ(cell->Position(), mso::BarPopup);
    }
}

TEST_F(ShippedContent, FontBoxesAreBuiltInComboBoxesThatListChineseFonts) {
    for (const char* progId :
         {"Excel.Application", "Word.Application", "PowerPoint.Application", "Access.Application"}) {
        SCOPED_TRACE(progId);
        const auto font = barsOf(progId)->FindControl(std::nullopt, 1728);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->Type(), 4);
        EXPECT_TRUE(font->BuiltIn());
        const auto box = font->AsComboBox();
        ASSERT_TRUE(box);
        EXPECT_GT(box->ListCount(), 3);
        EXPECT_EQ(box->List(1), "宋体");
        EXPECT_EQ(box->Text(), "宋体");
        EXPECT_EQ(barsOf(progId)->FindControl(std::nullopt, 1731)->Type(), 4);
    }
}

TEST_F(ShippedContent, SomePopupsNestBelowTheThreeLevelsTheSourceWalkRecords) {
    // 绘图 > 改变自选图形 > 基本形状 > 矩形: the fourth level is where the recorded tree stops.
    const auto draw = barsOf("Excel.Application")->Item("Drawing")->Controls()->Item("绘图(&R)")->AsPopup();
    const auto change = draw->Controls()->Item("改变自选图形(&C)")->AsPopup();
    const auto basic = change->Controls()->Item("基本形状(&B)")->AsPopup();
    const auto rectangle = basic->Controls()->Item("矩形");
    EXPECT_EQ(rectangle->Type(), 1);
    EXPECT_EQ(rectangle->Id(), 1111);
}

TEST_F(ShippedContent, TheEditorHoldsASavedAnUnsavedAndALockedProject) {
    const auto projects = vbe()->VBProjects();
    ASSERT_EQ(projects->Count(), 3);

    const auto saved = projects->Item(1);
    EXPECT_EQ(saved->FileName(), "C:\\Users\\Public\\Documents\\报表工具.xls");
    const auto module = saved->VBComponents()->Item("Module1");
    EXPECT_EQ(module->Type(), 1);
    const auto code = module->CodeModule()->Lines(1, module->CodeModule()->CountOfLines());
    for (const char* line : {"\r\nSub 生成月报()\r\n", "\r\nPublic Sub 清除数据()\r\n",
                             "\r\nPrivate Sub 刷新显示()\r\n", "\r\nSub 汇总部门(ByVal 部门 As String)\r\n"}) {
        EXPECT_NE(code.find(line), std::string::npos) << line;
    }
    std::vector<int> types;
    for (const auto& c : saved->VBComponents()->Enumerate()) types.push_back(c->Type());
    EXPECT_EQ(types, (std::vector<int>{100, 100, 1, 2}));

    EXPECT_EQ(projects->Item(2)->FileName(), "");
    EXPECT_EQ(projects->Item(2)->VBComponents()->Item("Module1")->CodeModule()->CountOfLines(), 7);

    const auto locked = projects->Item(3);
    EXPECT_EQ(locked->Protection(), 1);
    EXPECT_NE(errorOf([&] { locked->VBComponents()->Count(); }), 0);
}

TEST_F(ShippedContent, ExcelOpensWithBook1HoldingAFewCells) {
    auto excel = std::dynamic_pointer_cast<ExcelApplication>(office->GetObject("Excel.Application"));
    const auto sheet = excel->Workbooks()->Item("book1")->Worksheets("Sheet1");
    EXPECT_EQ(sheet->Range("A1")->Text(), "部门");
    EXPECT_EQ(sheet->Range("B2")->Text(), "1200");
    EXPECT_EQ(sheet->Range("A1")->CurrentRegion()->Address(false, false), "A1:D4");
}

}  // namespace
}  // namespace tessaline::automation::sim::testing
