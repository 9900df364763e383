#include <gtest/gtest.h>

#include <stdexcept>

#include "automation/sim/OfficeTestSupport.h"

namespace tessaline::automation::sim::testing {
namespace {

using OfficeDesktop = OfficeFixture;
using Strings = std::vector<std::string>;

TEST_F(OfficeDesktop, GetObjectFindsRunningHostsByProgIdInAnyCase) {
    const auto excelApp = office->GetObject("Excel.Application");
    EXPECT_EQ(office->GetObject("excel.APPLICATION"), excelApp);
    EXPECT_EQ(office->host("Excel"), excelApp);
    EXPECT_EQ(excelApp->TypeName(), "Application");
    const auto word = std::dynamic_pointer_cast<CommandBarHost>(office->GetObject("Word.Application"));
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->Name(), "Microsoft Word");
    EXPECT_EQ(excel()->Name(), "Microsoft Excel");
}

TEST_F(OfficeDesktop, AttachingToAHostThatDoesNotRunFailsWith429) {
    EXPECT_FALSE(office->isRunning("PowerPoint"));
    EXPECT_EQ(errorOf([&] { office->GetObject("Powerpoint.Application"); }), vberr::CannotCreateObject);
    EXPECT_EQ(errorOf([&] { office->GetObject("Access.Application"); }), vberr::CannotCreateObject);
    EXPECT_EQ(errorOf([&] { office->GetObject("Nothing.Application"); }), vberr::CannotCreateObject);
    EXPECT_EQ(errorOf([&] { office->GetObject(""); }), vberr::CannotCreateObject);

    ASSERT_TRUE(office->startHost("PowerPoint"));
    EXPECT_EQ(office->GetObject("Powerpoint.Application"), office->GetObject("PowerPoint.Application"));
    EXPECT_NE(office->FindWindow("PP11FrameClass"), 0);

    EXPECT_FALSE(office->isInstalled("Access"));
    EXPECT_FALSE(office->startHost("Access"));
}

TEST_F(OfficeDesktop, AStoppedHostLosesItsWindowAndStartsAfreshFromItsContent) {
    const auto word = std::dynamic_pointer_cast<CommandBarHost>(office->GetObject("Word.Application"));
    word->CommandBars()->Add("Mine");
    const WindowHandle window = office->FindWindow("OpusApp");
    office->SetForegroundWindow(window);
    office->stopHost("Word");
    EXPECT_EQ(errorOf([&] { office->GetObject("Word.Application"); }), vberr::CannotCreateObject);
    EXPECT_EQ(office->FindWindow("OpusApp"), 0);
    EXPECT_EQ(office->foregroundWindow(), 0);
    office->startHost("Word");
    const auto again = std::dynamic_pointer_cast<CommandBarHost>(office->GetObject("Word.Application"));
    EXPECT_EQ(errorOf([&] { again->CommandBars()->Item("Mine"); }), vberr::InvalidCall);
}

TEST_F(OfficeDesktop, OutlooksBarsBelongToItsExplorerWhichMayBeClosed) {
    const auto outlook = std::dynamic_pointer_cast<OutlookApplication>(office->GetObject("Outlook.Application"));
    ASSERT_NE(outlook, nullptr);
    const auto explorer = outlook->ActiveExplorer();
    ASSERT_NE(explorer, nullptr);
    EXPECT_EQ(explorer->TypeName(), "Explorer");
    const auto menu = explorer->CommandBars()->Item("menu bar");
    EXPECT_EQ(menu->Parent(), std::static_pointer_cast<Object>(explorer));
    EXPECT_NE(office->FindWindow("rctrl_renwnd32"), 0);

    office->setOutlookExplorer(false);
    EXPECT_EQ(outlook->ActiveExplorer(), nullptr);
    EXPECT_EQ(office->FindWindow("rctrl_renwnd32"), 0);
    office->setOutlookExplorer(true);
    EXPECT_EQ(outlook->ActiveExplorer(), explorer);
}

TEST_F(OfficeDesktop, WindowsAreFoundByClassInAnyCaseAndRecordTheirShowState) {
    const WindowHandle xl = office->FindWindow("Xlmain");
    ASSERT_NE(xl, 0);
    EXPECT_EQ(xl, office->hostWindow("Excel"));
    EXPECT_EQ(office->windowClass(xl), "XLMAIN");
    EXPECT_EQ(office->windowShowState(xl), sw::Normal);
    EXPECT_EQ(office->FindWindow("NoSuchClass"), 0);

    EXPECT_TRUE(office->ShowWindow(xl, sw::Maximized));  // it was visible
    EXPECT_EQ(office->windowShowState(xl), sw::Maximized);
    office->ShowWindow(xl, sw::Hide);
    EXPECT_FALSE(office->windowVisible(xl));
    EXPECT_FALSE(office->ShowWindow(xl, sw::Minimized));
    EXPECT_EQ(office->windowShowState(xl), sw::Minimized);
    EXPECT_TRUE(office->windowVisible(xl));

    EXPECT_FALSE(office->ShowWindow(0, sw::Maximized));
    EXPECT_FALSE(office->SetForegroundWindow(0));
    EXPECT_EQ(office->windowShowState(0), -1);
    EXPECT_TRUE(office->SetForegroundWindow(xl));
    EXPECT_EQ(office->foregroundWindow(), xl);
}

TEST_F(OfficeDesktop, AltF11WithExcelInFrontOpensTheVbaEditor) {
    EXPECT_EQ(office->FindWindow("wndclass_desked_gsk"), 0);
    EXPECT_FALSE(office->isRunning("VBE"));
    const auto vbe = excel()->VBE();
    EXPECT_FALSE(vbe->MainWindow()->Visible());

    // What choosing the editor as host does.
    const WindowHandle xl = office->FindWindow("Xlmain");
    office->ShowWindow(xl, sw::Maximized);
    office->SetForegroundWindow(xl);
    const auto shell = std::dynamic_pointer_cast<WshShell>(office->CreateObject("WScript.Shell"));
    ASSERT_NE(shell, nullptr);
    shell->SendKeys("%{F11}");
    vbe->MainWindow()->SetWindowState(vbext::WindowMaximized);

    const WindowHandle editor = office->FindWindow("wndclass_desked_gsk");
    ASSERT_NE(editor, 0);
    EXPECT_TRUE(office->windowVisible(editor));
    EXPECT_EQ(office->foregroundWindow(), editor);
    EXPECT_EQ(office->windowShowState(editor), sw::Maximized);
    EXPECT_EQ(vbe->MainWindow()->WindowState(), vbext::WindowMaximized);
    EXPECT_TRUE(vbe->MainWindow()->Visible());
    EXPECT_TRUE(office->isRunning("VBE"));
    EXPECT_EQ(office->sentKeys(), (Strings{"%{F11}"}));
    EXPECT_EQ(office->host("VBE"), vbe);
}

TEST_F(OfficeDesktop, KeysSentToAnyOtherWindowAreOnlyRecorded) {
    const auto shell = std::dynamic_pointer_cast<WshShell>(office->CreateObject("wscript.shell"));
    shell->SendKeys("%{F11}");  // nothing in front
    office->SetForegroundWindow(office->FindWindow("OpusApp"));
    shell->SendKeys("%{F11}", true);
    shell->SendKeys("abc");
    EXPECT_EQ(office->FindWindow("wndclass_desked_gsk"), 0);
    EXPECT_EQ(office->sentKeys(), (Strings{"%{F11}", "%{F11}", "abc"}));
    EXPECT_EQ(errorOf([&] { office->CreateObject("Scripting.FileSystemObject"); }), vberr::CannotCreateObject);
}

TEST_F(OfficeDesktop, TheEditorsWindowStateWaitsForItsWindow) {
    const auto window = excel()->VBE()->MainWindow();
    window->SetWindowState(vbext::WindowMaximized);
    EXPECT_EQ(office->FindWindow("wndclass_desked_gsk"), 0);
    window->SetVisible(true);
    const WindowHandle editor = office->FindWindow("wndclass_desked_gsk");
    EXPECT_EQ(office->windowShowState(editor), sw::Maximized);
    office->ShowWindow(editor, sw::Minimized);
    EXPECT_EQ(window->WindowState(), vbext::WindowMinimized);
    EXPECT_EQ(errorOf([&] { window->SetWindowState(3); }), vberr::InvalidCall);
    office->stopHost("Excel");
    EXPECT_EQ(office->FindWindow("wndclass_desked_gsk"), 0);
    EXPECT_EQ(office->host("VBE"), nullptr);
}

TEST_F(OfficeDesktop, TheEditorsBarsHaveTheEditorAsParent) {
    const auto vbe = excel()->VBE();
    const auto menu = vbe->CommandBars()->Item("菜单条");
    EXPECT_EQ(menu->Type(), mso::BarTypeMenuBar);
    EXPECT_EQ(menu->Parent(), std::static_pointer_cast<Object>(vbe));
    EXPECT_EQ(vbe->TypeName(), "VBE");
    EXPECT_NE(vbe->VBProjects(), nullptr);
}

TEST_F(OfficeDesktop, ClickButtonFollowsTheIndexPathAndRunsTheControl) {
    EXPECT_TRUE(office->clickButton("Standard", {3}));
    EXPECT_TRUE(office->clickButton("worksheet menu bar", {1, 4, 2, 1}));
    EXPECT_TRUE(office->clickButton("Word", "Menu Bar", {1, 1}));
    EXPECT_EQ(office->actionLog(),
              (Strings{"builtin:3 保存(&S)", "builtin:3708 传真收件人(&F)...", "builtin:3 保存(&S)"}));
    office->clearActionLog();

    // Nobody can click what is hidden or disabled.
    EXPECT_FALSE(office->clickButton("Standard", {4}));
    EXPECT_FALSE(office->clickButton("Worksheet Menu Bar", {2, 2}));
    EXPECT_TRUE(office->actionLog().empty());

    EXPECT_THROW(office->clickButton("Standard", {9}), std::out_of_range);
    EXPECT_THROW(office->clickButton("Standard", {3, 1}), std::out_of_range);
    EXPECT_THROW(office->clickButton("No Bar", {1}), std::out_of_range);
    EXPECT_THROW(office->clickButton("Standard", {}), std::out_of_range);
    EXPECT_THROW(office->clickButton("PowerPoint", "Menu Bar", {1}), std::out_of_range);
}

TEST_F(OfficeDesktop, ClickButtonReachesHookedSinks) {
    int heard = 0;
    control("Standard", 3)->AsButton()->ConnectClick([&](const ButtonPtr&, bool& cancel) {
        ++heard;
        cancel = true;
    });
    office->clickButton("Worksheet Menu Bar", {1, 3});
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(office->actionLog().empty());
}

TEST_F(OfficeDesktop, ExcelKeepsItsScreenUpdatingSwitch) {
    EXPECT_TRUE(excel()->ScreenUpdating());
    excel()->SetScreenUpdating(false);
    EXPECT_FALSE(excel()->ScreenUpdating());
    EXPECT_NE(excel()->Workbooks(), nullptr);
}

}  // namespace
}  // namespace tessaline::automation::sim::testing
