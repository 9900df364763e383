#include "EditingFixture.h"

namespace tessaline::editing::testing {
namespace {

using automation::mso::BarPopup;
using automation::mso::BarTop;
using automation::mso::BarTypeMenuBar;
using automation::mso::BarTypeNormal;
using automation::mso::BarTypePopup;

class CommandbarOperationsTest : public EditingFixture {};

TEST_F(CommandbarOperationsTest, ShowAndCloseToggleANormalToolbarWithoutRefilling) {
    selectBar("Drawing");
    ASSERT_FALSE(hostBar("Drawing").Visible());

    chooseBarCommand("ShowCommandbar");
    EXPECT_TRUE(hostBar("Drawing").Visible());
    // The grid is not refilled, so its Visible column still shows the old value.
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(5, 7), "False");

    chooseBarCommand("CloseCommandbar");
    EXPECT_FALSE(hostBar("Drawing").Visible());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandbarOperationsTest, ClosingAMenuBarOrShortcutMenuSaysItCannotBeHidden) {
    selectBar("Worksheet Menu Bar");
    chooseBarCommand("CloseCommandbar");
    selectBar("Cell");
    chooseBarCommand("CloseCommandbar");

    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].prompt, "Worksheet Menu Bar不可隐藏。");
    EXPECT_EQ(ui.messages[0].buttons, shell::vbmsg::OKOnly | shell::vbmsg::Critical);
    EXPECT_EQ(ui.messages[0].title, "Tessaline");
    EXPECT_EQ(ui.messages[1].prompt, "Cell不可隐藏。");
    EXPECT_TRUE(hostBar("Worksheet Menu Bar").Visible());
}

TEST_F(CommandbarOperationsTest, ARefusedShowIsReportedAndTheProgramGoesOn) {
    selectBar("Cell");
    chooseBarCommand("ShowCommandbar");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Method 'Visible' of object 'CommandBar' failed");
    EXPECT_EQ(ui.messages[0].buttons, shell::vbmsg::OKOnly);
    EXPECT_FALSE(hostBar("Cell").Visible());
    EXPECT_FALSE(form->isUnloaded());

    // The window still answers: the next command works as usual.
    selectBar("Drawing");
    chooseBarCommand("ShowCommandbar");
    EXPECT_TRUE(hostBar("Drawing").Visible());
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(CommandbarOperationsTest, BuiltInBarsAreNeitherDeletedNorAreCustomBarsReset) {
    selectBar("Standard");
    const int rows = form->ListAllCommandControls.Rows();
    chooseBarCommand("DeleteCommandbar");
    EXPECT_TRUE(hasBar("Standard"));
    EXPECT_EQ(form->ListAllCommandbars.Rows(), 6);
    EXPECT_EQ(form->ListAllCommandControls.Rows(), rows);

    hostBars().Add("Mine", BarTop)->Controls()->Add(1);
    relistBars();
    selectBar("Mine");
    // A mark in a grid cell shows whether anything was listed again.
    form->ListAllCommandControls.SetTextMatrix(1, 2, "marked");
    chooseBarCommand("ResetCommandbar");
    EXPECT_EQ(hostBar("Mine").Controls()->Count(), 1);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "marked");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandbarOperationsTest, DeletingACustomBarRefillsTheGridWithTheFirstBarCurrent) {
    ui.queueInput("工具栏1");
    chooseBarCommand("CreateToolbar");
    selectBar("工具栏1");
    ASSERT_EQ(form->CurrentBar->Name(), "工具栏1");

    chooseBarCommand("DeleteCommandbar");
    EXPECT_FALSE(hasBar("工具栏1"));
    EXPECT_EQ(form->ListAllCommandbars.Rows(), hostBars().Count() + 1);
    EXPECT_EQ(form->CurrentBar->Name(), "Worksheet Menu Bar");
    EXPECT_EQ(form->StatusBar1.PanelText(2), "Worksheet Menu Bar");
}

TEST_F(CommandbarOperationsTest, ResetRestoresABuiltInBarAndListsItAgain) {
    selectBar("Standard");
    automation::CommandBar& standard = hostBar("Standard");
    standard.Controls()->Item(3)->SetCaption("存盘");
    standard.Controls()->Item(1)->Delete();
    hostBars().Item("Standard")->Controls()->Add(1);

    chooseBarCommand("ResetCommandbar");
    EXPECT_EQ(standard.Controls()->Count(), 23);
    EXPECT_EQ(standard.Controls()->Item(3)->Caption(), "保存(&S)");
    EXPECT_EQ(form->ListAllCommandControls.Rows(), 24);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(3, 2), "保存(&S)");
}

TEST_F(CommandbarOperationsTest, ClearAllDeletesEveryControlInOnePass) {
    selectBar("Standard");
    ASSERT_EQ(hostBar("Standard").Controls()->Count(), 23);
    chooseBarCommand("ClearAll");
    EXPECT_EQ(hostBar("Standard").Controls()->Count(), 0);
    EXPECT_EQ(form->ListAllCommandControls.Rows(), 1);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(0, 2), "标题");
    EXPECT_EQ(form->CurrentControl, nullptr);
}

TEST_F(CommandbarOperationsTest, ClearAllOnAnEmptyBarListsTheHeaderOnly) {
    hostBars().Add("Empty", BarTop);
    relistBars();
    selectBar("Empty");
    chooseBarCommand("ClearAll");
    EXPECT_EQ(form->ListAllCommandControls.Rows(), 1);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(0, 1), "ID");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandbarOperationsTest, ClearAllEmptiesTheBarEvenWithAPopupOpen) {
    selectBar("Worksheet Menu Bar");
    openPopup(1);
    chooseBarCommand("ClearAll");
    EXPECT_EQ(hostBar("Worksheet Menu Bar").Controls()->Count(), 0);
    EXPECT_EQ(form->CurrentPopup, nullptr);
}

TEST_F(CommandbarOperationsTest, CreateToolbarAsksForANameAndAddsAVisibleCustomBar) {
    const int before = hostBars().Count();
    ui.queueInput("工具栏1");
    chooseBarCommand("CreateToolbar");

    ASSERT_EQ(ui.inputs.size(), 1u);
    EXPECT_EQ(ui.inputs[0].prompt, "输入新工具栏的名称:");
    EXPECT_EQ(ui.inputs[0].title, "对话框");
    EXPECT_EQ(ui.inputs[0].defaultText, "工具栏1");
    ASSERT_EQ(hostBars().Count(), before + 1);
    automation::CommandBar& bar = hostBar("工具栏1");
    EXPECT_EQ(bar.Type(), BarTypeNormal);
    EXPECT_EQ(bar.Position(), BarTop);
    EXPECT_TRUE(bar.Visible());
    EXPECT_FALSE(bar.BuiltIn());
    // Refilled from scratch: the new bar is the last row and the first bar is current again.
    EXPECT_EQ(form->ListAllCommandbars.Rows(), before + 2);
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(before + 1, 1), "工具栏1");
    EXPECT_EQ(form->CurrentBar->Name(), "Worksheet Menu Bar");
}

TEST_F(CommandbarOperationsTest, ASecondMenuBarOfTheSameNameIsSilentlyNotCreated) {
    ui.queueInput("菜单栏1");
    chooseBarCommand("CreateMenubar");
    ASSERT_EQ(ui.inputs.at(0).prompt, "输入新菜单栏的名称:");
    EXPECT_EQ(ui.inputs.at(0).defaultText, "菜单栏1");
    EXPECT_EQ(hostBar("菜单栏1").Type(), BarTypeMenuBar);
    EXPECT_TRUE(hostBar("菜单栏1").Visible());
    const int count = hostBars().Count();

    // The bar selected when the name is refused must not be made visible in its place.
    selectBar("Drawing");
    ui.queueInput("菜单栏1");
    chooseBarCommand("CreateMenubar");
    EXPECT_EQ(hostBars().Count(), count);
    EXPECT_FALSE(hostBar("Drawing").Visible());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->ListAllCommandbars.Rows(), count + 1);
}

TEST_F(CommandbarOperationsTest, CancelledCreationChangesNothing) {
    const int count = hostBars().Count();
    form->ListAllCommandbars.SetTextMatrix(2, 2, "marked");
    ui.queueInputCancel();
    chooseBarCommand("CreateToolbar");
    ui.queueInputCancel();
    chooseBarCommand("CreateMenubar");
    EXPECT_EQ(hostBars().Count(), count);
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(2, 2), "marked");
}

TEST_F(CommandbarOperationsTest, CreatePopupbarAddsAShortcutMenuAndWritesItsEventProcedure) {
    form->RichTextBox1.SetText("old text");
    ui.queueInput("快捷菜单1");
    chooseBarCommand("CreatePopupbar");

    EXPECT_EQ(ui.inputs.at(0).prompt, "输入新快捷菜单的名称:");
    EXPECT_EQ(ui.inputs.at(0).defaultText, "快捷菜单1");
    automation::CommandBar& bar = hostBar("快捷菜单1");
    EXPECT_EQ(bar.Type(), BarTypePopup);
    EXPECT_EQ(bar.Position(), BarPopup);
    EXPECT_FALSE(bar.Visible());
    EXPECT_EQ(form->ListAllCommandbars.Rows(), hostBars().Count() + 1);
    EXPECT_EQ(form->RichTextBox1.Text(),
              "'仅适用于Excel.\r\n"
              "Private Sub Workbook_SheetBeforeRightClick(ByVal Sh As Object, ByVal Target As Range, Cancel As "
              "Boolean)\r\n"
              "Cancel = True\r\n"
              "Application.CommandBars(\"快捷菜单1\").ShowPopup\r\n"
              "End Sub");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandbarOperationsTest, CreatePopupbarWritesTheProcedureEvenWithoutABar) {
    const int count = hostBars().Count();
    form->ListAllCommandbars.SetTextMatrix(2, 2, "marked");
    ui.queueInputCancel();
    chooseBarCommand("CreatePopupbar");
    EXPECT_EQ(hostBars().Count(), count);
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(2, 2), "marked");
    EXPECT_NE(form->RichTextBox1.Text().find("\r\nApplication.CommandBars(\"\").ShowPopup\r\n"), std::string::npos);

    // A name in use: no bar and no message, but the grid is refilled and the code still written.
    ui.queueInput("cell");
    chooseBarCommand("CreatePopupbar");
    EXPECT_EQ(hostBars().Count(), count);
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(2, 2), "常用");
    EXPECT_NE(form->RichTextBox1.Text().find("Application.CommandBars(\"cell\").ShowPopup"), std::string::npos);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandbarOperationsTest, WithNoHostNothingBreaks) {
    form->userClick(form->Void);
    // The bar grid offers no menu without a current bar.
    form->userMouseDown(form->ListAllCommandbars, shell::vbbutton::Right);
    EXPECT_TRUE(ui.popups.empty());

    // Run directly, the bar commands report the missing bar and the create commands stay silent.
    form->clickMenu("ShowCommandbar");
    form->clickMenu("ClearAll");
    ui.queueInput("x");
    form->clickMenu("CreateToolbar");
    ui.queueInput("y");
    form->clickMenu("CreatePopupbar");
    EXPECT_EQ(messagePrompts(), (std::vector<std::string>(2, "Object variable or With block variable not set")));
    EXPECT_FALSE(form->isUnloaded());
    EXPECT_NE(form->RichTextBox1.Text().find("(\"y\")"), std::string::npos);
}

}  // namespace
}  // namespace tessaline::editing::testing
