#include <algorithm>

#include "EditingFixture.h"

namespace tessaline::editing::testing {
namespace {

const std::vector<int> kStandard = {2520, 23,  3,   9004, 3738, 2521, 109, 2,   7343, 21,   19, 22,
                                    108,  128, 129, 1576, 226,  210,  211, 436, 204,  1733, 984};
const std::vector<int> kFileMenu = {18,  23,    106, 3, 748,   3823, 846, 5905, 31402, 3655,
                                    247, 30255, 109, 4, 30095, 750,  831, 831,  752};

class ControlOperationsTest : public EditingFixture {
protected:
    automation::ControlsPtr fileMenu() {
        return hostBar("Worksheet Menu Bar").Controls()->Item(1)->AsPopup()->Controls();
    }
    // A custom toolbar holding a button and a combo box whose macro runs when a size is picked.
    automation::ControlPtr addComboBar() {
        automation::CommandBarPtr bar = hostBars().Add("Combos", automation::mso::BarTop);
        bar->Controls()->Add(automation::mso::ControlButton)->SetCaption("按钮");
        automation::ControlPtr combo = bar->Controls()->Add(automation::mso::ControlComboBox);
        combo->SetCaption("大小");
        combo->SetOnAction("PickSize");
        relistBars();
        selectBar("Combos");
        return combo;
    }
};

TEST_F(ControlOperationsTest, ModifyWritesTheEditedCellsBackToTheControl) {
    selectBar("Standard");
    typeIntoCell(3, 2, "存盘(&S)");
    selectRow(3, 4);
    form->userDblClick(form->ListAllCommandControls);  // group line False -> True
    typeIntoCell(3, 8, "2950");
    typeIntoCell(3, 10, "保存工作簿");
    typeIntoCell(3, 11, "3");
    chooseControlCommand("ModifyControl");

    automation::ButtonPtr save = hostBar("Standard").Controls()->Item(3)->AsButton();
    EXPECT_EQ(save->Caption(), "存盘(&S)");
    EXPECT_TRUE(save->BeginGroup());
    EXPECT_EQ(save->FaceId(), 2950);
    EXPECT_EQ(save->TooltipText(), "保存工作簿");
    EXPECT_EQ(save->Style(), automation::mso::ButtonIconAndCaption);
    EXPECT_TRUE(save->BuiltIn());
    EXPECT_EQ(form->RowCounter, 3);
    EXPECT_EQ(form->CurrentControl, hostBar("Standard").Controls()->Item(3));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlOperationsTest, ModifySetsTheMacroBeforeTheShortcutThatNeedsIt) {
    selectBar("Standard");
    typeIntoCell(2, 9, "OpenReport");
    typeIntoCell(2, 12, "Ctrl+R");
    chooseControlCommand("ModifyControl");
    automation::ButtonPtr open = hostBar("Standard").Controls()->Item(2)->AsButton();
    EXPECT_EQ(open->OnAction(), "OpenReport");
    EXPECT_EQ(open->ShortcutText(), "Ctrl+R");
    // A built-in control given a macro is a custom one from now on.
    EXPECT_FALSE(open->BuiltIn());
}

TEST_F(ControlOperationsTest, ModifySkipsOnlyTheCellsTheHostRefuses) {
    selectBar("Standard");
    typeIntoCell(1, 2, "新建工作簿");
    typeIntoCell(1, 4, "maybe");
    typeIntoCell(1, 6, "0");
    typeIntoCell(1, 7, "tRUE");
    typeIntoCell(1, 8, "abc");
    typeIntoCell(1, 10, "新的");
    typeIntoCell(1, 11, "9");
    chooseControlCommand("ModifyControl");

    automation::ButtonPtr button = hostBar("Standard").Controls()->Item(1)->AsButton();
    EXPECT_EQ(button->Caption(), "新建工作簿");
    EXPECT_FALSE(button->BeginGroup());
    EXPECT_FALSE(button->Enabled());
    EXPECT_TRUE(button->Visible());
    EXPECT_EQ(button->FaceId(), 2520);
    EXPECT_EQ(button->TooltipText(), "新的");
    EXPECT_EQ(button->Style(), automation::mso::ButtonAutomatic);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlOperationsTest, ModifyKeepsAComboBoxMacroThatTheGridDoesNotShow) {
    automation::ControlPtr combo = addComboBar();
    ASSERT_EQ(form->ListAllCommandControls.TextMatrix(2, 9), "");
    typeIntoCell(2, 2, "字号");
    chooseControlCommand("ModifyControl");
    EXPECT_EQ(combo->Caption(), "字号");
    EXPECT_EQ(combo->OnAction(), "PickSize");

    // A macro the user types in is still written.
    typeIntoCell(2, 9, "PickOther");
    chooseControlCommand("ModifyControl");
    EXPECT_EQ(combo->OnAction(), "PickOther");
}

TEST_F(ControlOperationsTest, ModifyWritesNothingWhenTheRowHoldsNoControl) {
    selectBar("Standard");
    chooseControlCommand("ModifyControl");
    const automation::ControlPtr before = form->CurrentControl;
    ASSERT_NE(before, nullptr);

    typeIntoCell(23, 2, "帮助");
    hostBar("Standard").Controls()->Item(23)->Delete();
    chooseControlCommand("ModifyControl");
    EXPECT_EQ(form->CurrentControl, before);
    EXPECT_EQ(ids("Standard"), std::vector<int>(kStandard.begin(), kStandard.end() - 1));
    for (const auto& control : hostBar("Standard").Controls()->Enumerate()) EXPECT_NE(control->Caption(), "帮助");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlOperationsTest, RowsLeftBehindByAMoveOrAClosedPopupAreRefusedNotWrittenElsewhere) {
    selectBar("Standard");
    selectRow(3);
    chooseControlCommand("MoveToTop");  // the grid is not listed again: row 1 still shows 新建
    typeIntoCell(1, 2, "新建文档");
    chooseControlCommand("ModifyControl");
    EXPECT_EQ(hostBar("Standard").Controls()->Item(1)->Caption(), "保存(&S)");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].prompt.find("重新列出"), std::string::npos);
    chooseControlCommand("DeleteControl");
    EXPECT_EQ(hostBar("Standard").Controls()->Count(), static_cast<int>(kStandard.size()));
    EXPECT_EQ(ui.messages.size(), 2u);

    // A double-click on panel 5 leaves the popup while the grid still shows its items.
    selectBar("Worksheet Menu Bar");
    openPopup(1);
    form->userPanelDblClick(5);
    typeIntoCell(2, 2, "打开文件");
    chooseControlCommand("ModifyControl");
    EXPECT_EQ(hostBar("Worksheet Menu Bar").Controls()->Item(2)->Caption(), "编辑(&E)");
    EXPECT_EQ(ui.messages.size(), 3u);
}

TEST_F(ControlOperationsTest, ModifyInsideAPopupWritesTheSubItem) {
    selectBar("Worksheet Menu Bar");
    openPopup(1);
    typeIntoCell(4, 2, "存盘(&S)");
    chooseControlCommand("ModifyControl");
    EXPECT_EQ(fileMenu()->Item(4)->Caption(), "存盘(&S)");
    EXPECT_EQ(hostBar("Worksheet Menu Bar").Controls()->Item(4)->Caption(), "插入(&I)");
}

TEST_F(ControlOperationsTest, DeleteRemovesTheControlAndListsTheBarAgain) {
    selectBar("Standard");
    selectRow(3);
    chooseControlCommand("DeleteControl");
    std::vector<int> expected = kStandard;
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(ids("Standard"), expected);
    EXPECT_EQ(form->ListAllCommandControls.Rows(), 23);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(3, 1), "9004");
}

TEST_F(ControlOperationsTest, DeleteInsideAPopupListsTheBarsTopLevelAgain) {
    selectBar("Worksheet Menu Bar");
    openPopup(1);
    form->StatusBar1.SetPanelText(5, "文件(&F)");
    selectRow(3);
    chooseControlCommand("DeleteControl");
    std::vector<int> expected = kFileMenu;
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(ids(*fileMenu()), expected);
    EXPECT_EQ(form->CurrentPopup, nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(5), "");
    EXPECT_EQ(form->ListAllCommandControls.Rows(), 10);
}

TEST_F(ControlOperationsTest, DeleteKeepsTheRowsWhenTheBarGridIsOffTheNameColumn) {
    selectBar("Standard");
    form->userClickCell(form->ListAllCommandbars, 2, 5);
    selectRow(23);
    chooseControlCommand("DeleteControl");
    EXPECT_EQ(hostBar("Standard").Controls()->Count(), 22);
    EXPECT_EQ(form->ListAllCommandControls.Rows(), 24);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(23, 1), "984");

    // The stale row no longer holds a control: the host's refusal is reported and the window goes on.
    chooseControlCommand("DeleteControl");
    EXPECT_EQ(messagePrompts(), std::vector<std::string>{"Invalid procedure call or argument"});
    EXPECT_EQ(hostBar("Standard").Controls()->Count(), 22);
    EXPECT_FALSE(form->isUnloaded());
}

TEST_F(ControlOperationsTest, MovesPlaceTheControlWhereTheirNamesSay) {
    std::vector<int> expected = kStandard;
    auto moveAndCheck = [&](int row, const char* command, int newIndex) {
        relistBars();
        selectBar("Standard");
        selectRow(row);
        const std::string rowText = form->ListAllCommandControls.TextMatrix(row, 2);
        chooseControlCommand(command);
        const int moved = expected[static_cast<std::size_t>(row - 1)];
        expected.erase(expected.begin() + (row - 1));
        expected.insert(expected.begin() + (newIndex - 1), moved);
        EXPECT_EQ(ids("Standard"), expected) << command << " from row " << row;
        // Nothing is listed again: the grid still shows the old order.
        EXPECT_EQ(form->ListAllCommandControls.TextMatrix(row, 2), rowText);
    };
    moveAndCheck(3, "MoveToTop", 1);
    moveAndCheck(5, "MoveToPrevious", 4);
    moveAndCheck(1, "MoveToNext", 2);
    moveAndCheck(22, "MoveToNext", 23);
    moveAndCheck(2, "MoveToBottom", 23);
    moveAndCheck(23, "MoveToTop", 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlOperationsTest, MovingPastEitherEndIsRefusedAndReported) {
    selectBar("Standard");
    selectRow(1);
    chooseControlCommand("MoveToPrevious");
    selectRow(23);
    chooseControlCommand("MoveToNext");
    EXPECT_EQ(messagePrompts(), std::vector<std::string>(2, "Invalid procedure call or argument"));
    EXPECT_EQ(ids("Standard"), kStandard);
    EXPECT_FALSE(form->isUnloaded());
}

TEST_F(ControlOperationsTest, MovesInsideAPopupStayInThePopup) {
    selectBar("Worksheet Menu Bar");
    openPopup(1);
    selectRow(19);
    chooseControlCommand("MoveToTop");
    selectRow(2);
    chooseControlCommand("MoveToBottom");
    std::vector<int> expected = kFileMenu;
    std::rotate(expected.begin(), expected.end() - 1, expected.end());        // 退出 to the top
    std::rotate(expected.begin() + 1, expected.begin() + 2, expected.end());  // the old first to the bottom
    EXPECT_EQ(ids(*fileMenu()), expected);
    EXPECT_EQ(hostBar("Worksheet Menu Bar").Controls()->Count(), 9);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlOperationsTest, CopyToAppendsOrInsertsAtTheTypedPosition) {
    selectBar("Standard");
    selectRow(3);
    ui.queueInput("Formatting");
    chooseControlCommand("CopyTo");
    ASSERT_EQ(ui.inputs.size(), 1u);
    EXPECT_EQ(ui.inputs[0].prompt, "输入目标工具栏的名称和插入序号,例如: Formatting,3 ");
    EXPECT_EQ(ui.inputs[0].title, "对话框");
    EXPECT_EQ(ui.inputs[0].defaultText, "Standard,1");

    automation::ControlsPtr formatting = hostBar("Formatting").Controls();
    ASSERT_EQ(formatting->Count(), 21);
    EXPECT_EQ(formatting->Item(21)->Id(), 3);
    EXPECT_TRUE(formatting->Item(21)->BuiltIn());

    selectRow(19);
    ui.queueInput("formatting,3");
    chooseControlCommand("CopyTo");
    EXPECT_EQ(formatting->Item(3)->Id(), 211);
    // A position is read by its leading number and rounded half to even.
    selectRow(21);
    ui.queueInput("Formatting, 2.5 th");
    chooseControlCommand("CopyTo");
    EXPECT_EQ(formatting->Item(2)->Id(), 204);
    EXPECT_EQ(formatting->Count(), 23);
    EXPECT_EQ(ids("Standard"), kStandard);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlOperationsTest, CopyToReportsAMissingBarOrARefusedPosition) {
    selectBar("Standard");
    selectRow(3);
    for (const char* answer : {"NoSuchBar,1", "Formatting,abc", "Formatting,22", "NoSuchBar"}) {
        ui.queueInput(answer);
        chooseControlCommand("CopyTo");
    }
    ui.queueInputCancel();
    chooseControlCommand("CopyTo");
    EXPECT_EQ(messagePrompts(), std::vector<std::string>(4, "Invalid procedure call or argument"));
    for (const auto& message : ui.messages) EXPECT_EQ(message.title, "Tessaline");
    EXPECT_EQ(hostBar("Formatting").Controls()->Count(), 20);
}

TEST_F(ControlOperationsTest, CopyToFromInsideAPopupCopiesTheSubItem) {
    selectBar("Worksheet Menu Bar");
    openPopup(1);
    selectRow(4);
    ui.queueInput("Standard,1");
    chooseControlCommand("CopyTo");
    EXPECT_EQ(hostBar("Standard").Controls()->Item(1)->Caption(), "保存(&S)");
    EXPECT_EQ(hostBar("Standard").Controls()->Count(), 24);
    EXPECT_EQ(ids(*fileMenu()), kFileMenu);
}

}  // namespace
}  // namespace tessaline::editing::testing
