#include <string>
#include <vector>

#include "SearchFixture.h"
#include "shell/CommandbarGrid.h"

namespace tessaline::editing::testing {
namespace {

using Names = std::vector<std::string>;

const std::string kMenuBar = "Worksheet Menu Bar";

// Excel chosen as the host and its whole tree recorded, as a user does before searching.
class SearchTest : public SearchFixture {
protected:
    void SetUp() override {
        form->userClick(form->Excel);
        record("Excel", "Excel");
    }
};

TEST_F(SearchTest, ACaptionListsEveryBarHoldingItTopToBottomAndSelectsTheFirst) {
    const std::string standardRow = shell::CommandbarRowText(*hostBars("Excel").Item("Standard"));
    search("粘贴");

    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard", "Cell"}));
    EXPECT_EQ(barHeader(1), "名称");
    EXPECT_EQ(barHeader(8), "位置");
    // A found bar's row is the row the full listing shows for it.
    std::string row;
    for (int col = 0; col < 9; ++col) row += (col ? "\t" : "") + form->ListAllCommandbars.TextMatrix(2, col);
    EXPECT_EQ(row, standardRow);

    EXPECT_EQ(form->CurrentBar->Name(), kMenuBar);
    EXPECT_EQ(form->StatusBar1.PanelText(2), kMenuBar);
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "文件(&F)");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SearchTest, CaptionsMatchWithTheirLetterCaseAndAcceleratorAsRecorded) {
    search("Microsoft Excel 帮助");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard"}));
    search("XML 源");
    EXPECT_EQ(listedBars(), (Names{kMenuBar}));
    search("xml 源");
    EXPECT_EQ(listedBars(), Names{});

    // The "&" belongs to the recorded caption: it can be typed, but the key cannot skip over it.
    search("保存(&S)");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard"}));
    search("保存(S)");
    EXPECT_EQ(listedBars(), Names{});
}

TEST_F(SearchTest, BlanksAroundTheKeyAreIgnored) {
    search("  批注 ");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Cell"}));
}

TEST_F(SearchTest, AnEmptyKeyOrOneStartingWithADigitOnlyClearsTheGrid) {
    for (const std::string key : {"", "   ", "3保存", " 22"}) {
        form->userClick(form->Excel);
        form->userClickCell(form->ListAllCommandbars, 3, 1);
        const int rows = form->ListAllCommandbars.Rows();
        search(key);

        const shell::FlexGrid& grid = form->ListAllCommandbars;
        EXPECT_EQ(grid.Rows(), rows) << key;
        for (int r = 0; r < grid.Rows(); ++r) {
            for (int c = 0; c < grid.Cols(); ++c) EXPECT_EQ(grid.TextMatrix(r, c), "") << key << " " << r << "," << c;
        }
        EXPECT_EQ(form->CurrentBar->Name(), "Formatting") << key;
        EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed") << key;
    }
}

TEST_F(SearchTest, ACommaAndOneDigitAlsoMatchTheControlsIndex) {
    search("保存,4");  // 文件 > 保存(&S) is the fourth item; Standard's is third
    EXPECT_EQ(listedBars(), (Names{kMenuBar}));
    search("保存,3");
    EXPECT_EQ(listedBars(), (Names{"Standard"}));
    // The first item of Standard's paste button, two levels down.
    search("粘贴,1");
    EXPECT_EQ(listedBars(), (Names{"Standard"}));
    search("粘贴,9");
    EXPECT_EQ(listedBars(), Names{});
}

TEST_F(SearchTest, ACommaAndTwoDigitsSearchBothPartsAsCaptions) {
    // No caption holds "12", so the first part decides alone; it is not read as Index 12.
    search("粘贴,12");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard", "Cell"}));
}

TEST_F(SearchTest, TwoCaptionsListTheBarsHoldingBoth) {
    search("粘贴,批注");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Cell"}));
    search("批注,粘贴");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Cell"}));
    search("粘贴,批注,无关");  // what follows a second comma is ignored
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Cell"}));
    search("求和,批注");  // each part found, but on different bars
    EXPECT_EQ(listedBars(), Names{});
}

TEST_F(SearchTest, ATwoPartKeyFallsBackToTheFirstPartOnlyWhenTheSecondFindsNothing) {
    search("粘贴,不存在");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard", "Cell"}));
    search("不存在,粘贴");
    EXPECT_EQ(listedBars(), Names{});
    search("粘贴,");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard", "Cell"}));
}

TEST_F(SearchTest, WildcardsTypedInTheKeyActAsWildcards) {
    search("打?预览");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard"}));
    search("向右旋转 ##°");
    EXPECT_EQ(listedBars(), (Names{"Drawing"}));
    search("[剪复]制");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard", "Cell"}));
    search("粘*链接");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard"}));
}

TEST_F(SearchTest, AKeyWithAnUnclosedBracketFindsNothingAndSaysNothing) {
    search("[剪");
    EXPECT_EQ(listedBars(), Names{});
    EXPECT_EQ(barHeader(1), "名称");
    EXPECT_EQ(form->CurrentBar->Name(), kMenuBar);
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(ui.messages.empty());
    // The same bracket in the second part of a two-part key spoils only that part.
    search("粘贴,[批");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard", "Cell"}));
}

TEST_F(SearchTest, KeysThatAreNoTextAtAllEndQuietly) {
    for (const std::string& key : {std::string("\xff\xfe"), std::string("粘\x80"), std::string(",\xc3")}) {
        search(key);
        EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(form->isUnloaded());
}

TEST_F(SearchTest, AStarListsEveryBarWithARecordedControlButNeverAnEmptyOne) {
    hostBars("Excel").Add(std::string("空工具栏"));
    auto buttons = hostBars("Excel").Add(std::string("只有空标题"));
    buttons->Controls()->Add(1);  // a button without a caption is not recorded
    record("Excel", "Excel");

    search("*");
    EXPECT_EQ(listedBars(), (Names{kMenuBar, "Standard", "Formatting", "Cell", "Drawing"}));
}

TEST_F(SearchTest, ControlsAreFoundAtEveryRecordedDepth) {
    search("双箭头");  // 自选图形 > 线条 > 双箭头(&D)
    EXPECT_EQ(listedBars(), (Names{"Drawing"}));
    search("限制权限为");  // 文件 > 权限(&M) > 限制权限为(&R)...
    EXPECT_EQ(listedBars(), (Names{kMenuBar}));
}

TEST_F(SearchTest, NothingFoundShowsTheHeaderAndKeepsTheCurrentBar) {
    form->userClickCell(form->ListAllCommandbars, 3, 1);
    search("不存在的标题");

    EXPECT_EQ(form->ListAllCommandbars.Rows(), 1);
    EXPECT_EQ(barHeader(0), "序号");
    EXPECT_EQ(form->CurrentBar->Name(), "Formatting");
    EXPECT_EQ(form->StatusBar1.PanelText(2), "Formatting");
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
}

TEST_F(SearchTest, TheRecordingIsSearchedNotTheLiveBars) {
    hostBars("Excel").Item("Cell")->Controls()->Item(8)->SetCaption("添加注释(&M)");
    search("添加注释");
    EXPECT_EQ(listedBars(), Names{});
    search("插入批注");
    EXPECT_EQ(listedBars(), (Names{"Cell"}));

    record("Excel", "Excel");
    search("添加注释");
    EXPECT_EQ(listedBars(), (Names{"Cell"}));
}

TEST_F(SearchTest, WithoutTheHostsSheetNothingIsFound) {
    sheet("Excel").SetName("Excel (old)");
    form->userClickCell(form->ListAllCommandbars, 4, 1);
    search("粘贴");
    EXPECT_EQ(form->ListAllCommandbars.Rows(), 1);
    EXPECT_EQ(barHeader(1), "名称");
    EXPECT_EQ(form->CurrentBar->Name(), "Cell");
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");

    excel()->Workbooks()->Item(SearchedWorkbookName)->Close();
    search("粘贴");
    EXPECT_EQ(form->ListAllCommandbars.Rows(), 1);
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SearchTest, WithNoHostTheGridIsClearedAndTheSearchStopsWaiting) {
    form->userClick(form->Void);
    shell::SetCommandbarGridHeaders(*form);
    ASSERT_EQ(form->ExcelApp, nullptr);
    search("粘贴");
    EXPECT_EQ(barHeader(1), "");
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Waiting...");
    // It stops before reaching for Excel.
    EXPECT_EQ(form->ExcelApp, nullptr);
    EXPECT_TRUE(ui.messages.empty());
}

// Sheets written by hand: recordings older than the host's bars, and names Excel stores as numbers.
class SearchOfHandMadeSheetTest : public SearchFixture {
protected:
    void SetUp() override { form->userClick(form->Excel); }
};

TEST_F(SearchOfHandMadeSheetTest, ABarTheHostNoLongerHasAddsNoRow) {
    writeRow("Excel", 1, 0, "Standard", 2);
    writeRow("Excel", 2, 1, "粘贴(&P)", 12, 22);
    writeRow("Excel", 3, 0, "Gone", 3);
    writeRow("Excel", 4, 1, "粘贴(&P)", 1, 22);
    writeRow("Excel", 5, 0, "Cell", 4);
    writeRow("Excel", 6, 1, "粘贴(&P)", 3, 22);

    search("粘贴");
    EXPECT_EQ(listedBars(), (Names{"Standard", "Cell"}));
}

TEST_F(SearchOfHandMadeSheetTest, ABarNamedWithDigitsIsFoundByItsName) {
    auto digits = hostBars("Excel").Add(std::string("3"));
    digits->Controls()->Add(1)->SetCaption("数字栏的按钮");
    writeRow("Excel", 1, 0, "3", digits->Index());  // Excel keeps "3" as the number 3
    writeRow("Excel", 2, 1, "数字栏的按钮", 1, 1);
    ASSERT_TRUE(sheet("Excel").Cells(1, 1)->Value().isNumber());

    search("数字栏");
    EXPECT_EQ(listedBars(), (Names{"3"}));
    EXPECT_EQ(form->CurrentBar.get(), digits.get());
}

}  // namespace
}  // namespace tessaline::editing::testing
