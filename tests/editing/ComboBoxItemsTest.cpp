#include "EditingFixture.h"

namespace tessaline::editing::testing {
namespace {

class ComboBoxItemsTest : public EditingFixture {
protected:
    // A custom toolbar with a button in row 1 and a custom combo box holding 甲, 乙, 丙 in row 2, listed
    // with the combo box's row selected.
    ComboBoxItemsTest() {
        automation::CommandBarPtr bar = hostBars().Add("Combos", automation::mso::BarTop);
        bar->Controls()->Add(automation::mso::ControlButton)->SetCaption("按钮");
        combo = bar->Controls()->Add(automation::mso::ControlComboBox)->AsComboBox();
        for (const char* item : {"甲", "乙", "丙"}) combo->AddItem(item);
        relistBars();
        selectBar("Combos");
        selectRow(2);
    }

    std::vector<std::string> items() const {
        std::vector<std::string> out;
        for (int i = 1; i <= combo->ListCount(); ++i) out.push_back(combo->List(i));
        return out;
    }

    automation::ComboBoxPtr combo;
};

TEST_F(ComboBoxItemsTest, TheItemCommandsShowOnlyForACustomComboBox) {
    chooseControlCommand("");
    ASSERT_EQ(ui.popups.size(), 1u);
    const std::vector<std::string>& shown = ui.popups[0].visibleItems;
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 4),
              (std::vector<std::string>{"AddItemforCombobox", "AddMacroNames", "DeleteItemforCombobox", "ClearItems"}));
}

TEST_F(ComboBoxItemsTest, AddItemsAppendsEveryCommaSeparatedPieceAsTyped) {
    ui.queueInput("丁, 戊");
    chooseControlCommand("AddItemforCombobox");
    ASSERT_EQ(ui.inputs.size(), 1u);
    EXPECT_EQ(ui.inputs[0].prompt, "输入组合框条目,用逗号隔开");
    EXPECT_EQ(ui.inputs[0].title, "对话框");
    EXPECT_EQ(ui.inputs[0].defaultText, "");
    EXPECT_EQ(items(), (std::vector<std::string>{"甲", "乙", "丙", "丁", " 戊"}));

    ui.queueInputCancel();
    chooseControlCommand("AddItemforCombobox");
    EXPECT_EQ(combo->ListCount(), 5);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComboBoxItemsTest, AddItemsStopsAtTheEmptyPieceTheHostRefuses) {
    ui.queueInput("丁,,戊");
    chooseControlCommand("AddItemforCombobox");
    EXPECT_EQ(items(), (std::vector<std::string>{"甲", "乙", "丙", "丁"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Invalid procedure call or argument");
    EXPECT_EQ(ui.messages[0].buttons, shell::vbmsg::OKOnly);
    EXPECT_EQ(ui.messages[0].title, "Tessaline");
}

TEST_F(ComboBoxItemsTest, ItemCommandsOnAControlThatIsNoComboBoxShowTheError) {
    selectRow(1);
    ui.queueInput("丁");
    form->clickMenu("AddItemforCombobox");
    form->clickMenu("ClearItems");
    form->ListMacros.AddItem("Macro1");
    form->clickMenu("AddMacroNames");
    // Deleting an item says nothing.
    ui.queueInput("1");
    form->clickMenu("DeleteItemforCombobox");
    EXPECT_EQ(messagePrompts(), std::vector<std::string>(3, "Type mismatch"));
    EXPECT_EQ(combo->ListCount(), 3);
}

TEST_F(ComboBoxItemsTest, MacroNamesReplaceTheItemsUnlessTheMacroListIsEmpty) {
    chooseControlCommand("AddMacroNames");
    EXPECT_EQ(items(), (std::vector<std::string>{"甲", "乙", "丙"}));

    for (const char* macro : {"Module1.Report", "Module1.Refresh"}) form->ListMacros.AddItem(macro);
    chooseControlCommand("AddMacroNames");
    EXPECT_EQ(items(), (std::vector<std::string>{"Module1.Report", "Module1.Refresh"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComboBoxItemsTest, DeleteItemRemovesTheNumberedItem) {
    ui.queueInput(" 2");
    chooseControlCommand("DeleteItemforCombobox");
    ASSERT_EQ(ui.inputs.size(), 1u);
    EXPECT_EQ(ui.inputs[0].prompt, "输入删除条目的序号,例如: 3");
    EXPECT_EQ(ui.inputs[0].title, "对话框");
    EXPECT_EQ(items(), (std::vector<std::string>{"甲", "丙"}));

    // 1.5 rounds to the even neighbour, 2.
    ui.queueInput("1.5th");
    chooseControlCommand("DeleteItemforCombobox");
    EXPECT_EQ(items(), std::vector<std::string>{"甲"});
}

TEST_F(ComboBoxItemsTest, DeleteItemWithNoValidNumberDoesNothing) {
    for (const char* answer : {"0", "-1", "0.5", "40000", "abc", "4", "50.5%"}) {
        ui.queueInput(answer);
        chooseControlCommand("DeleteItemforCombobox");
    }
    ui.queueInputCancel();
    chooseControlCommand("DeleteItemforCombobox");
    EXPECT_EQ(items(), (std::vector<std::string>{"甲", "乙", "丙"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComboBoxItemsTest, ClearItemsEmptiesACustomComboBoxAndReportsABuiltInOne) {
    chooseControlCommand("ClearItems");
    EXPECT_EQ(combo->ListCount(), 0);
    EXPECT_TRUE(ui.messages.empty());

    selectBar("Standard");
    selectRow(22);
    // A built-in combo box offers no item commands; run directly, the host's refusal is shown.
    chooseControlCommand("ClearItems");
    EXPECT_EQ(ui.popups.back().chosen, "");
    form->clickMenu("ClearItems");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(hostBar("Standard").Controls()->Item(22)->AsComboBox()->ListCount(), 6);
}

}  // namespace
}  // namespace tessaline::editing::testing
