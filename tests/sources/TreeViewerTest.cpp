#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/TreeNode.h"
#include "sources/SourceWorkbooks.h"
#include "sources/SourceWorkbooksFixture.h"
#include "sources/TreeViewer.h"

namespace tessaline::sources {
namespace {

using automation::Variant;
using Lines = std::vector<std::string>;

class TreeViewer : public testing::SourceWorkbooksFixture {
protected:
    shell::TreeView& tree() { return form->TreeView1; }

    // The tree as "depth-indented text [key]" lines, in display order.
    Lines treeLines() {
        Lines lines;
        std::function<void(const std::vector<shell::TreeNode*>&, int)> walk = [&](const auto& nodes, int depth) {
            for (const shell::TreeNode* node : nodes) {
                lines.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + node->Text() + " [" +
                                node->Key() + "]");
                walk(node->childNodes(), depth + 1);
            }
        };
        walk(tree().Nodes().roots(), 0);
        return lines;
    }
    void load() { chooseViewerCommand("Fill"); }
    void clickNode(const std::string& key) { form->userNodeClick(tree().Nodes().Item(Variant(key))); }

    // Writes cells of a host sheet by address ("C6"), as a user typing into the workbook would.
    void writeSheet(const std::string& host, const std::vector<std::pair<std::string, Variant>>& cells) {
        openToolbarSource();
        automation::Worksheet& s = sheet("TreeviewofCommandbars.xls", host);
        for (const auto& [address, value] : cells) s.Range(address)->SetValue(value);
    }
    int expandedCount() {
        int expanded = 0;
        for (int i = 1; i <= tree().Nodes().Count(); ++i) expanded += tree().Nodes().Item(Variant(i)).Expanded();
        return expanded;
    }
};

TEST_F(TreeViewer, TheCheckBoxShowsAndHidesTheTreeWithoutClearingIt) {
    EXPECT_FALSE(tree().Visible());
    form->userClick(form->Chk_Treeview);
    EXPECT_TRUE(tree().Visible());
    load();
    const int nodes = tree().Nodes().Count();
    ASSERT_GT(nodes, 0);
    form->userClick(form->Chk_Treeview);
    EXPECT_FALSE(tree().Visible());
    EXPECT_EQ(tree().Nodes().Count(), nodes);
}

TEST_F(TreeViewer, OnlyTheRightButtonOpensTheViewerMenu) {
    form->userMouseDown(tree(), shell::vbbutton::Left);
    EXPECT_TRUE(ui.popups.empty());
    chooseViewerCommand("");
    ASSERT_EQ(ui.popups.size(), 1U);
    EXPECT_EQ(ui.popups[0].menu, "Viewer");
    EXPECT_EQ(ui.popups[0].visibleItems, (Lines{"Fill", "Expand", "Merge"}));
}

TEST_F(TreeViewer, LoadingARecordedHostNestsControlsUnderTheirBarsAndPopups) {
    form->userClick(form->Excel);
    openToolbarSource();
    chooseAppCommand("MenuUpdateSource");
    load();
    EXPECT_EQ(treeLines(), (Lines{
                               "Worksheet Menu Bar [K_A1]",
                               "  文件(&F) [K_B2]",
                               "    新建(&N)... [K_C3]",
                               "    发送(&D) [K_C4]",
                               "      邮件收件人(&M) [K_D5]",
                               "      更多(&O) [K_D6]",
                               "    保存(&S) [K_C7]",
                               "  图形(&G) [K_B8]",
                               "    图形子项(&A) [K_C9]",
                               "  拆分(&P) [K_B10]",
                               "    拆分子项(&B) [K_C11]",
                               "  最近(&R) [K_B12]",
                               "  字体(&F): [K_B13]",
                               "Standard [K_A14]",
                               "  新建(&N) [K_B15]",
                               "  打开(&O)... [K_B16]",
                               "  保存(&S) [K_B17]",
                               "Empty Bar [K_A18]",
                               "Cell [K_A19]",
                               "  剪切(&T) [K_B20]",
                               "  复制(&C) [K_B21]",
                           }));
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_EQ(form->SourceSheet->Name(), "Excel");
    EXPECT_TRUE(ui.messages.empty());
    // Loading brings Excel to the front, as opening the workbook does.
    EXPECT_EQ(office->foregroundWindow(), office->hostWindow("Excel"));

    // A second load replaces the tree instead of adding to it.
    load();
    EXPECT_EQ(tree().Nodes().Count(), 21);
}

TEST_F(TreeViewer, AChildHangsUnderTheNearestFilledCellAboveInTheColumnToItsLeft) {
    form->userClick(form->Word);
    // B2 and B3 are both above C6; B3 is the nearer one. The empty J..K columns and A2 make no nodes.
    writeSheet("Word", {{"A1", "Bar"},
                        {"B2", "far"},
                        {"B3", "near"},
                        {"C4", "c4"},
                        {"C5", "c5"},
                        {"C6", "deep"},
                        {"D7", "d7"},
                        {"A8", "Second"},
                        {"J1", 1},
                        {"J2", 1}});
    load();
    EXPECT_EQ(treeLines(), (Lines{"Bar [K_A1]", "  far [K_B2]", "  near [K_B3]", "    c4 [K_C4]", "    c5 [K_C5]",
                                  "    deep [K_C6]", "      d7 [K_D7]", "Second [K_A8]"}));
}

TEST_F(TreeViewer, ASheetOfBarsWithoutControlsLoadsItsBars) {
    form->userClick(form->Word);
    writeSheet("Word", {{"A1", "One"}, {"A2", "Two"}, {"J1", 1}, {"J2", 2}});
    load();
    EXPECT_EQ(treeLines(), (Lines{"One [K_A1]", "Two [K_A2]"}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
}

TEST_F(TreeViewer, AnEmptySheetGivesAnEmptyTree) {
    form->userClick(form->Access);
    load();
    EXPECT_EQ(tree().Nodes().Count(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TreeViewer, AChildWithoutParentStopsTheLoadAndKeepsTheNodesSoFar) {
    form->userClick(form->Word);
    // B1 has nothing filled above it in column A: its parent would be A1, which made no node.
    writeSheet("Word", {{"B1", "orphan"}, {"A2", "Bar"}, {"B3", "child"}});
    load();
    EXPECT_EQ(treeLines(), (Lines{"Bar [K_A2]"}));
    EXPECT_EQ(shownMessages(), (Lines{"Element not found"}));
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Waiting");
}

TEST_F(TreeViewer, LoadingWithoutTheWorkbookReportsAndLeavesTheTreeEmpty) {
    form->userClick(form->Excel);
    std::filesystem::remove(folder / "TreeviewofCommandbars.xls");
    load();
    EXPECT_EQ(tree().Nodes().Count(), 0);
    // The open failed silently; the box that follows says which file and why.
    ASSERT_EQ(shownMessages().size(), 1u);
    EXPECT_EQ(shownMessages()[0].rfind("Subscript out of range\r\n\r\nTreeviewofCommandbars.xls: '", 0), 0u);
    EXPECT_NE(shownMessages()[0].find("' could not be found."), std::string::npos);

    // A damaged file: the reader's reason comes with the box.
    std::ofstream(folder / "TreeviewofCommandbars.xls", std::ios::binary) << "not a workbook at all";
    ui.messages.clear();
    load();
    EXPECT_EQ(tree().Nodes().Count(), 0);
    ASSERT_EQ(shownMessages().size(), 1u);
    EXPECT_EQ(shownMessages()[0].rfind("Subscript out of range\r\n\r\nTreeviewofCommandbars.xls: Excel cannot open "
                                       "the file 'TreeviewofCommandbars.xls': ",
                                       0),
              0u)
        << shownMessages()[0];
}

TEST_F(TreeViewer, LoadingWithoutExcelReportsAndLeavesTheTreeEmpty) {
    office->stopHost("Excel");
    load();
    EXPECT_EQ(tree().Nodes().Count(), 0);
    EXPECT_EQ(ui.messages.size(), 1U);
    EXPECT_FALSE(form->isUnloaded());
}

TEST_F(TreeViewer, ExpandAndMergeReachEveryDepth) {
    form->userClick(form->Excel);
    openToolbarSource();
    chooseAppCommand("MenuUpdateSource");
    load();
    const int count = tree().Nodes().Count();
    chooseViewerCommand("Expand");
    EXPECT_EQ(expandedCount(), count);
    EXPECT_TRUE(tree().Nodes().Item(Variant("K_D6")).Expanded());
    chooseViewerCommand("Merge");
    EXPECT_EQ(expandedCount(), 0);
}

TEST_F(TreeViewer, ClickingANodeShowsItsCaptionIndexAndId) {
    form->userClick(form->Excel);
    openToolbarSource();
    chooseAppCommand("MenuUpdateSource");
    load();
    clickNode("K_C3");
    EXPECT_EQ(tree().ToolTipText(), "Name/Caption:新建(&N)...;Index:1;ID:18");
    clickNode("K_D6");
    EXPECT_EQ(tree().ToolTipText(), "Name/Caption:更多(&O);Index:2;ID:30400");
    // A bar's row has no ID.
    clickNode("K_A14");
    EXPECT_EQ(tree().ToolTipText(), "Name/Caption:Standard;Index:2;ID:");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TreeViewer, ANodeClickReadsTheSheetAsItIsNow) {
    form->userClick(form->Excel);
    openToolbarSource();
    chooseAppCommand("MenuUpdateSource");
    load();
    sheet("TreeviewofCommandbars.xls", "Excel").Range("J3")->SetValue(Variant(9));
    clickNode("K_C3");
    EXPECT_EQ(tree().ToolTipText(), "Name/Caption:新建(&N)...;Index:9;ID:18");
}

TEST_F(TreeViewer, ANodeWhoseKeyIsNoCellReportsAndKeepsTheToolTip) {
    form->userClick(form->Excel);
    openToolbarSource();
    chooseAppCommand("MenuUpdateSource");
    load();
    clickNode("K_C3");
    tree().Nodes().Add(std::nullopt, std::nullopt, "K_!?", "stray");
    clickNode("K_!?");
    EXPECT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(tree().ToolTipText(), "Name/Caption:新建(&N)...;Index:1;ID:18");
}

TEST_F(TreeViewer, WithNoHostTheFrameworkGuideLoadsAndANodeShowsItsDescription) {
    load();
    ASSERT_GT(tree().Nodes().Count(), 20);
    EXPECT_EQ(form->SourceSheet->Name(), "Framework");
    shell::TreeNode& first = tree().Nodes().Item(Variant("K_A1"));
    EXPECT_EQ(first.Text(), "主窗口");
    EXPECT_EQ(tree().Nodes().Item(Variant("K_B2")).Parent(), &first);
    clickNode("K_C3");
    EXPECT_EQ(tree().ToolTipText(), "连接正在运行的 Excel，列出它的命令栏");
    clickNode("K_A1");
    EXPECT_EQ(tree().ToolTipText(), "Tessaline 的主窗口：选择 Office 组件，列出它的全部命令栏和所选命令栏的控件");
}

TEST_F(TreeViewer, ChoosingAHostClearsTheTree) {
    load();
    ASSERT_GT(tree().Nodes().Count(), 0);
    form->userClick(form->Excel);
    EXPECT_EQ(tree().Nodes().Count(), 0);
}

TEST(TreeViewerKeys, AKeyLeadsBackToItsCell) {
    EXPECT_EQ(NodeKeyOfAddress("B7"), "K_B7");
    EXPECT_EQ(AddressOfNodeKey("K_B7"), "B7");
    EXPECT_EQ(AddressOfNodeKey("K_IV65536"), "IV65536");
    // Every "K_" goes, in its exact case only.
    EXPECT_EQ(AddressOfNodeKey("K_K_A1"), "A1");
    EXPECT_EQ(AddressOfNodeKey("k_A1"), "k_A1");
}

}  // namespace
}  // namespace tessaline::sources
