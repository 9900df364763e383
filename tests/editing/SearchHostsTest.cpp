#include <string>
#include <vector>

#include "SearchFixture.h"

namespace tessaline::editing::testing {
namespace {

using Names = std::vector<std::string>;

struct Host {
    const char* key;  // host of the in-memory Office, and the name of its sheet
    const char* firstBar;
};

const Host kHosts[] = {{"Excel", "Worksheet Menu Bar"}, {"Word", "Menu Bar"},    {"PowerPoint", "Menu Bar"},
                       {"Access", "Menu Bar"},          {"Outlook", "Menu Bar"}, {"VBE", "菜单条"}};

// The shipped in-memory Office, every host running, and in each host's sheet one bar holding a caption that
// names the sheet, so that a search shows which sheet it read.
class SearchHostsTest : public SearchFixture {
protected:
    SearchHostsTest() : SearchFixture(TESSALINE_DATA_DIR "/office") {
        for (const Host& host : kHosts) {
            writeRow(host.key, 1, 0, host.firstBar, 1);
            writeRow(host.key, 2, 1, std::string("记录于") + host.key, 1, 1);
        }
    }

    void choose(const std::string& hostKey) {
        for (shell::OptionButton* option :
             {&form->Excel, &form->Word, &form->PowerPoint, &form->Access, &form->Outlook, &form->VBE}) {
            if (option->Name() == hostKey) form->userClick(*option);
        }
    }

    // Whether a caption recorded under these controls (three levels at most) contains `text`.
    static bool holds(automation::CommandBarControls& controls, const std::string& text, int depth) {
        for (const auto& control : controls.Enumerate()) {
            const std::string caption = control->Caption();
            if (caption.empty() || caption.front() == '&') continue;
            if (caption.find(text) != std::string::npos) return true;
            const int type = control->Type();
            if (depth < 3 && type >= 10 && type <= 13 && holds(*control->AsPopup()->Controls(), text, depth + 1)) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(SearchHostsTest, EachHostIsSearchedInItsOwnSheet) {
    for (const Host& host : kHosts) {
        choose(host.key);
        ASSERT_NE(form->HostApp, nullptr) << host.key;
        EXPECT_EQ(SearchedSheetName(*form), host.key);

        search(std::string("记录于") + host.key);
        EXPECT_EQ(listedBars(), (Names{host.firstBar})) << host.key;
        EXPECT_EQ(form->CurrentBar->Name(), host.firstBar) << host.key;
        search("记录于");
        EXPECT_EQ(listedBars(), (Names{host.firstBar})) << host.key;
    }
}

TEST_F(SearchHostsTest, AnExcelThatHasQuitAnswersNothing) {
    choose("Word");
    search("记录于Word");
    ASSERT_EQ(listedBars(), (Names{"Menu Bar"}));

    office->stopHost("Excel");
    search("记录于Word");
    EXPECT_EQ(listedBars(), Names{});
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(0, 1), "名称");
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SearchHostsTest, AWholeRecordedHostIsSearchedInOnePass) {
    choose("Word");
    record("Word", "Word");
    // The bars whose recorded tree holds both texts, found by walking the live bars instead of the sheet.
    Names expected;
    for (const auto& bar : hostBars("Word").Enumerate()) {
        if (holds(*bar->Controls(), "表格", 1) && holds(*bar->Controls(), "插入", 1)) expected.push_back(bar->Name());
    }
    ASSERT_GE(expected.size(), 2u);

    search("表格,插入");
    EXPECT_EQ(listedBars(), expected);
}

// Excel has two bars named "Cell" (61 and 64): for the normal view and for the page break preview.
TEST_F(SearchHostsTest, BarsSharingANameAreToldApartByTheirRecordedIndex) {
    choose("Excel");
    ASSERT_EQ(hostBars("Excel").Item(61)->Name(), "Cell");
    ASSERT_EQ(hostBars("Excel").Item(64)->Name(), "Cell");
    sheet("Excel").UsedRange()->ClearContents();
    writeRow("Excel", 1, 0, "Cell", 61);
    writeRow("Excel", 2, 1, "共有的按钮", 1, 1);
    writeRow("Excel", 3, 0, "Cell", 64);
    writeRow("Excel", 4, 1, "共有的按钮", 1, 1);
    writeRow("Excel", 5, 0, "cell", 3);  // recorded before the bars moved: bar 3 is now Standard
    writeRow("Excel", 6, 1, "共有的按钮", 1, 1);

    search("共有的按钮");
    EXPECT_EQ(listedBars(), (Names{"Cell", "Cell", "Cell"}));
    const shell::FlexGrid& grid = form->ListAllCommandbars;
    EXPECT_EQ(grid.TextMatrix(1, 0), "61");
    EXPECT_EQ(grid.TextMatrix(2, 0), "64");
    EXPECT_EQ(grid.TextMatrix(3, 0), "61");
}

}  // namespace
}  // namespace tessaline::editing::testing
