#include <gtest/gtest.h>

#include <functional>

#include "automation/AutomationError.h"
#include "shell/CheckBox.h"
#include "shell/Frame.h"
#include "shell/ListBox.h"
#include "shell/MenuItem.h"
#include "shell/OptionButton.h"
#include "shell/RichTextBox.h"
#include "shell/StatusBar.h"
#include "shell/TreeView.h"

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

TEST(ListBox, AddItemAtIndexMovesTheSelectionWithItsItem) {
    ListBox list("List", 0, 0, 10, 10);
    list.AddItem("b");
    list.AddItem("c");
    list.SetListIndex(0);
    list.AddItem("a", 0);
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.List(0), "a");
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.Text(), "b");
    EXPECT_EQ(list.List(7), "");
    EXPECT_EQ(errorNumber([&] { list.AddItem("x", 4); }), 5);
    EXPECT_EQ(errorNumber([&] { list.SetListIndex(3); }), 380);
}

TEST(ListBox, RemoveItemAndClear) {
    ListBox list("List", 0, 0, 10, 10);
    list.AddItem("a");
    list.AddItem("b");
    list.SetListIndex(1);
    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(errorNumber([&] { list.RemoveItem(1); }), 5);
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
}

class TreeTest : public ::testing::Test {
protected:
    TreeView tree{"TreeView1", 0, 0, 10, 10};
    TreeNodes& nodes = tree.Nodes();
};

TEST_F(TreeTest, RelationshipsPlaceNodesAndIndexFollowsAddingOrder) {
    nodes.Add(std::nullopt, std::nullopt, "K_A1", "Bar A");
    nodes.Add(std::nullopt, std::nullopt, "K_A5", "Bar B");
    nodes.Add("K_A1", tvw::Child, "K_B2", "child 2");
    nodes.Add("K_B2", tvw::Previous, "K_B1", "child 1");
    nodes.Add("K_B2", tvw::Next, "K_B3", "child 3");
    nodes.Add("K_B2", tvw::First, "K_B0", "child 0");
    nodes.Add("K_A1", tvw::Last, "K_A9", "Bar C");

    ASSERT_EQ(nodes.roots().size(), 3u);
    EXPECT_EQ(nodes.roots()[2]->Key(), "K_A9");
    TreeNode& a = nodes.Item("K_A1");
    ASSERT_EQ(a.Children(), 4);
    std::vector<std::string> order;
    for (TreeNode* n = a.Child(); n; n = n->Next()) order.push_back(n->Text());
    EXPECT_EQ(order, (std::vector<std::string>{"child 0", "child 1", "child 2", "child 3"}));
    EXPECT_EQ(nodes.Item("K_B3").Parent(), &a);
    EXPECT_EQ(nodes.Item("K_B3").Root(), &a);
    EXPECT_EQ(nodes.Item("K_B1").Previous()->Key(), "K_B0");
    EXPECT_EQ(nodes.Item("K_B2").Index(), 3);
    EXPECT_EQ(&nodes.Item(3), &nodes.Item("K_B2"));
}

TEST_F(TreeTest, KeysAreUniqueAndMustNotBeNumbers) {
    nodes.Add(std::nullopt, std::nullopt, "K_A1", "one");
    EXPECT_EQ(errorNumber([&] { nodes.Add(std::nullopt, std::nullopt, "K_A1", "again"); }), 35602);
    EXPECT_EQ(errorNumber([&] { nodes.Add(std::nullopt, std::nullopt, "123", "numeric"); }), 35603);
    EXPECT_EQ(errorNumber([&] { nodes.Add("K_Z9", tvw::Child, "K_B1", "orphan"); }), 35601);
    EXPECT_EQ(nodes.Count(), 1);
    // Nodes without keys may be many.
    nodes.Add(std::nullopt, std::nullopt, "", "x");
    nodes.Add(std::nullopt, std::nullopt, "", "y");
    EXPECT_EQ(nodes.Count(), 3);
    EXPECT_EQ(errorNumber([&] { (void)nodes.Item("nope"); }), 35601);
    EXPECT_EQ(errorNumber([&] { (void)nodes.Item(4); }), 35600);
}

TEST_F(TreeTest, RemoveTakesTheSubtreeAndRenumbers) {
    nodes.Add(std::nullopt, std::nullopt, "K_A1", "a");
    nodes.Add("K_A1", tvw::Child, "K_B1", "b");
    nodes.Add("K_B1", tvw::Child, "K_C1", "c");
    nodes.Add(std::nullopt, std::nullopt, "K_A2", "d");
    tree.SetSelectedItem(&nodes.Item("K_C1"));
    nodes.Remove("K_B1");
    EXPECT_EQ(nodes.Count(), 2);
    EXPECT_FALSE(nodes.Exists("K_C1"));
    EXPECT_EQ(nodes.Item("K_A2").Index(), 2);
    EXPECT_EQ(nodes.Item("K_A1").Children(), 0);
    EXPECT_EQ(tree.SelectedItem(), nullptr);
    // The key is free again.
    nodes.Add("K_A1", tvw::Child, "K_B1", "b again");
    nodes.Clear();
    EXPECT_EQ(nodes.Count(), 0);
    EXPECT_TRUE(nodes.roots().empty());
}

TEST_F(TreeTest, ExpandAllReachesEveryDepth) {
    nodes.Add(std::nullopt, std::nullopt, "K_A1", "a");
    nodes.Add("K_A1", tvw::Child, "K_B1", "b");
    nodes.Add("K_B1", tvw::Child, "K_C1", "c");
    tree.setAllExpanded(true);
    EXPECT_TRUE(nodes.Item("K_C1").Expanded());
    tree.setAllExpanded(false);
    EXPECT_FALSE(nodes.Item("K_A1").Expanded());
}

TEST(CheckBox, ChangingValueRunsClickOnlyOnChange) {
    CheckBox box("DesignMode", "设计模式", 0, 0, 10, 10);
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.SetValue(vbcheck::Checked);
    EXPECT_EQ(clicks, 1);
    box.SetValue(vbcheck::Checked);
    EXPECT_EQ(clicks, 1);
    box.toggle();
    EXPECT_EQ(box.Value(), vbcheck::Unchecked);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(errorNumber([&] { box.SetValue(3); }), 380);
}

TEST(OptionButton, SelectingOneClearsItsSiblingsAndRunsClick) {
    Frame frame("Frame1", "", 0, 0, 10, 10);
    OptionButton a("A", "A", 0, 0, 1, 1);
    OptionButton b("B", "B", 0, 0, 1, 1);
    OptionButton c("C", "C", 0, 0, 1, 1);
    for (OptionButton* o : {&a, &b, &c}) {
        o->SetContainer(&frame);
        for (OptionButton* other : {&a, &b, &c}) o->addSibling(*other);
    }
    std::vector<std::string> clicked;
    a.onClick = [&] { clicked.push_back("A"); };
    b.onClick = [&] { clicked.push_back("B"); };
    a.SetValue(true);
    b.SetValue(true);
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_FALSE(c.Value());
    // Code setting an already selected button does not click again; the user's click always does.
    b.SetValue(true);
    b.select();
    EXPECT_EQ(clicked, (std::vector<std::string>{"A", "B", "B"}));
}

TEST(RichTextBox, SelectionCountsCharactersNotBytes) {
    RichTextBox box("RichTextBox1", 0, 0, 10, 10);
    EXPECT_EQ(box.FontName(), "Times New Roman");
    box.SetText("Sub 我来了()");
    box.SetSelStart(4);
    box.SetSelLength(3);
    EXPECT_EQ(box.SelText(), "我来了");
    box.SetSelText("你好");
    EXPECT_EQ(box.Text(), "Sub 你好()");
    EXPECT_EQ(box.SelStart(), 6);
    box.SetSelStart(100);
    EXPECT_EQ(box.SelStart(), 8);
    box.SetSelText("\r\n");
    EXPECT_EQ(box.Text(), "Sub 你好()\r\n");
}

TEST(StatusBar, PanelsAreOneBased) {
    StatusBar bar("StatusBar1", 0, 0, 10, 10, {1159, 2318});
    bar.SetPanelText(2, "Standard");
    EXPECT_EQ(bar.PanelText(2), "Standard");
    EXPECT_EQ(bar.PanelWidth(1), 1159);
    EXPECT_EQ(errorNumber([&] { bar.SetPanelText(0, "x"); }), 35600);
    EXPECT_EQ(errorNumber([&] { (void)bar.PanelText(3); }), 35600);
}

TEST(MenuItem, FindsNestedItemsAndListsOnlyVisibleOnes) {
    MenuItem root("CommandbarControlOperation", "");
    root.add("AddItemforCombobox", "添加条目", false);
    root.add("ModifyControl", "修改");
    root.add("Sep1", "-");
    EXPECT_EQ(root.visibleItems(), (std::vector<std::string>{"ModifyControl", "Sep1"}));
    ASSERT_NE(root.find("AddItemforCombobox"), nullptr);
    EXPECT_TRUE(root.find("Sep1")->isSeparator());
    EXPECT_EQ(root.find("Nope"), nullptr);
    int clicks = 0;
    root.find("ModifyControl")->onClick = [&] { ++clicks; };
    root.find("ModifyControl")->click();
    root.find("Sep1")->click();
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace tessaline::shell
