#include <gtest/gtest.h>

#include "EmptyDesktop.h"
#include "automation/AutomationError.h"
#include "shell/Form1.h"
#include "shell/MainWindow.h"
#include "shell/ScriptedUi.h"

namespace tessaline::shell {
namespace {

class Form1Test : public ::testing::Test {
protected:
    Form1Test() {
        AppProperties app;
        app.Path = "/opt/tessaline";
        form = std::make_unique<Form1>(desktop, ui, app);
        form->load();
    }

    testing::EmptyDesktop desktop;
    ScriptedUi ui;
    std::unique_ptr<Form1> form;
};

TEST_F(Form1Test, LoadMovesTheCodeTemplateOutOfTheHiddenBox) {
    EXPECT_EQ(form->Code.Text(), "");
    EXPECT_FALSE(form->Code.Visible());
    EXPECT_EQ(form->CodeTemplate, kCodeTemplateText);
    // Sixteen lines, each ended by CR LF, with "|" where the container expression goes.
    int lines = 0;
    for (std::size_t at = 0; (at = form->CodeTemplate.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, 16);
    EXPECT_EQ(form->CodeTemplate.rfind("\r\n"), form->CodeTemplate.size() - 2);
    EXPECT_NE(form->CodeTemplate.find("    Set ct = |\r\n"), std::string::npos);
    EXPECT_NE(form->CodeTemplate.find("        .OnAction = \"我来了\"    '指定宏名\r\n"), std::string::npos);
}

TEST_F(Form1Test, LoadWritesBothHeadersAndMakesTheWindowTopmost) {
    EXPECT_TRUE(ui.topmost);
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(0, 1), "名称");
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(0, 8), "位置");
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(0, 12), "快捷键");
    EXPECT_EQ(form->ListAllCommandbars.Rows(), 1);
    EXPECT_EQ(form->ListAllCommandControls.Rows(), 1);
    EXPECT_TRUE(form->Void.Value());
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1Test, LoadGoesOnWhenTheWindowCannotBeMadeTopmost) {
    ScriptedUi failing;
    failing.topmostFails = true;
    Form1 other(desktop, failing);
    other.load();
    EXPECT_EQ(other.CodeTemplate, kCodeTemplateText);
    EXPECT_TRUE(failing.messages.empty());
}

TEST_F(Form1Test, WindowLayoutFollowsTheFormDefinition) {
    EXPECT_EQ(form->Caption, "Tessaline");
    EXPECT_EQ(form->Void.Caption(), "Nothing");
    EXPECT_EQ(form->VBE.Top(), 1890);
    EXPECT_EQ(form->VBE.Container(), &form->Frame1);
    EXPECT_EQ(form->ListAllCommandbars.Cols(), 9);
    EXPECT_EQ(form->ListAllCommandControls.Cols(), 13);
    EXPECT_FALSE(form->TreeView1.Visible());
    EXPECT_TRUE(form->ListMacros.Visible());
    EXPECT_EQ(form->ShowMacroList.Value(), vbcheck::Checked);
    EXPECT_EQ(form->StatusBar1.PanelCount(), 6);
    EXPECT_EQ(form->StatusBar1.PanelWidth(2), 2318);
    EXPECT_EQ(form->StatusBar1.ToolTipText(), "双击第5个面板取消子菜单项");
    EXPECT_EQ(&form->control("IDString"), &form->IDString);
    EXPECT_THROW(form->control("NoSuchControl"), std::invalid_argument);
}

TEST_F(Form1Test, MenusCarryTheirCaptionsAndHiddenItems) {
    ASSERT_EQ(form->menuBar().size(), 11u);
    EXPECT_EQ(form->menu("menuFile").Caption(), "文件(&F)");
    EXPECT_TRUE(form->menu("menuHelp").Visible());
    EXPECT_FALSE(form->menu("DesignModeMenu").Visible());
    EXPECT_EQ(form->menu("menuAbout").Caption(), "关于...");
    EXPECT_EQ(form->menu("CopyTo").Caption(), "拷贝到");
    EXPECT_TRUE(form->menu("Sep4").isSeparator());
    EXPECT_EQ(
        form->menu("CommandbarControlOperation").visibleItems(),
        (std::vector<std::string>{"ModifyControl", "DeleteControl", "Sep1", "MoveToTop", "MoveToPrevious", "MoveToNext",
                                  "MoveToBottom", "Sep2", "CopyTo", "ExportID", "ExportToExcel", "Sep4"}));
    EXPECT_EQ(form->menu("Viewer").visibleItems(), (std::vector<std::string>{"Fill", "Expand", "Merge"}));
}

TEST_F(Form1Test, EscAnsweredYesUnloadsAndReleasesTheHost) {
    ui.queueMsgBoxAnswer(vbmsg::ResultYes);
    form->formKeyPress(27);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "关闭?");
    EXPECT_EQ(ui.messages[0].title, "按下了Esc");
    EXPECT_EQ(ui.messages[0].buttons & vbmsg::ButtonMask, vbmsg::YesNo);
    EXPECT_TRUE(ui.unloaded);
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_EQ(ui.minimized, 0);
}

TEST_F(Form1Test, EscAnsweredNoMinimizesAndKeepsTheGrids) {
    form->ListAllCommandbars.AddItem("1\tStandard");
    form->ListAllCommandControls.AddItem("1\t3\t保存(&S)");
    form->ListAllCommandControls.SetCol(2);
    ui.queueMsgBoxAnswer(vbmsg::ResultNo);
    form->userKeyPress(form->ListAllCommandControls, 27);
    EXPECT_EQ(ui.minimized, 1);
    EXPECT_FALSE(ui.unloaded);
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(1, 1), "Standard");
    // Esc belongs to the window: the grid cell did not receive it.
    EXPECT_EQ(form->ListAllCommandControls.Text(), "保存(&S)");
}

TEST_F(Form1Test, OtherKeysDoNotReachTheWindow) {
    form->formKeyPress('a');
    form->formKeyPress(13);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1Test, AboutShowsSevenLinesWithTheProductName) {
    form->App.ProductName = "Renamed";
    form->clickMenu("menuAbout");
    ASSERT_EQ(ui.messages.size(), 1u);
    const auto& box = ui.messages[0];
    EXPECT_EQ(box.title, "产品信息 & 联系方式");
    EXPECT_EQ(box.buttons, vbmsg::OKOnly | vbmsg::Information);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = box.prompt.find("\r\n", start)) != std::string::npos; start = at + 2) {
        lines.push_back(box.prompt.substr(start, at - start));
    }
    lines.push_back(box.prompt.substr(start));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "产品名称：Renamed");
    EXPECT_EQ(lines[6], "更新日期：2017年2月2日");
}

TEST_F(Form1Test, HowToUseOpensThePresentationBesideTheProgram) {
    form->clickMenu("menuHowtouse");
    EXPECT_EQ(ui.shellOpened, (std::vector<std::string>{"/opt/tessaline/Tessaline.ppt"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1Test, ExitUnloadsAndReleasesTheSharedReferences) {
    form->CurrentPopup = nullptr;
    form->clickMenu("menuExit");
    EXPECT_TRUE(ui.unloaded);
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_EQ(form->ExcelApp, nullptr);
    // A closed window hears nothing more.
    form->clickMenu("menuAbout");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1Test, RightClickOnTheFrameWithoutHostShowsNoMenu) {
    form->userMouseDown(form->Frame1, vbbutton::Right);
    EXPECT_TRUE(ui.popups.empty());
}

TEST_F(Form1Test, PanelFiveDoubleClickLeavesTheSubMenuOnly) {
    form->StatusBar1.SetPanelText(3, "文件(&F)");
    form->StatusBar1.SetPanelText(5, "文件(&F)");
    form->ListAllCommandControls.AddItem("1\t18\t新建");
    for (int panel : {1, 2, 3, 4, 6}) form->userPanelDblClick(panel);
    EXPECT_EQ(form->StatusBar1.PanelText(5), "文件(&F)");
    form->userPanelDblClick(5);
    EXPECT_EQ(form->StatusBar1.PanelText(5), "");
    EXPECT_EQ(form->StatusBar1.PanelText(3), "文件(&F)");
    EXPECT_EQ(form->CurrentPopup, nullptr);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建");
    form->userPanelDblClick(5);  // already empty: still fine
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1Test, AFailingHandlerIsReportedAndTheProgramGoesOn) {
    form->menu("ModifyControl").onClick = [] { throw automation::objectNotSet(); };
    form->clickMenu("ModifyControl");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Object variable or With block variable not set");
    EXPECT_EQ(ui.messages[0].buttons, vbmsg::OKOnly);
    EXPECT_EQ(ui.messages[0].title, "Tessaline");
    EXPECT_EQ(form->Err.Number, 91);
    EXPECT_FALSE(ui.unloaded);

    form->DesignMode.onClick = [] { throw std::runtime_error("boom"); };
    form->userClick(form->DesignMode);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].prompt, "boom");
    EXPECT_EQ(form->DesignMode.Value(), vbcheck::Checked);
}

TEST_F(Form1Test, APopupCommandFailsOnItsOwnWithoutEndingTheOpener) {
    bool openerFinished = false;
    form->menu("HideMacroList").onClick = [] { throw automation::invalidCall(); };
    form->ListMacros.onMouseDown = [&](const MouseEvent&) {
        form->PopupMenu(form->menu("MenuListMacros"));
        openerFinished = true;
    };
    ui.queuePopupChoice("HideMacroList");
    form->userMouseDown(form->ListMacros, vbbutton::Right);
    EXPECT_TRUE(openerFinished);
    ASSERT_EQ(ui.popups.size(), 1u);
    EXPECT_EQ(ui.popups[0].chosen, "HideMacroList");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Invalid procedure call or argument");
}

TEST_F(Form1Test, RowCounterOverflowsPastAnInteger) {
    form->RowCounter = 32766;
    form->incrementRowCounter();
    EXPECT_EQ(form->RowCounter, 32767);
    try {
        form->incrementRowCounter();
        FAIL() << "no overflow";
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), automation::vberr::Overflow);
    }
    EXPECT_EQ(form->RowCounter, 32767);
}

TEST_F(Form1Test, ErrorModesSkipOrStopAsTheirNamesSay) {
    std::vector<int> ran;
    resume(*form, [&] { ran.push_back(1); });
    EXPECT_FALSE(resume(*form, [&] { throw automation::typeMismatch(); }));
    resume(*form, [&] { ran.push_back(3); });
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    EXPECT_EQ(form->Err.Number, 13);
    EXPECT_TRUE(ui.messages.empty());
    // A condition that fails counts as not met.
    EXPECT_FALSE(resumeIf(*form, [&]() -> bool { throw automation::invalidPattern(); }));

    EXPECT_FALSE(report(*form, [&] {
        ran.push_back(4);
        throw automation::subscriptOutOfRange();
        ran.push_back(5);
    }));
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 4}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Subscript out of range");
}

}  // namespace
}  // namespace tessaline::shell
