#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/sim/SimOffice.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "sources/Capture.h"
#include "sources/SourcesHandlers.h"

namespace tessaline::sources {
namespace {

namespace fs = std::filesystem;

const std::string kCrLf = "\r\n";

std::vector<std::string> codeLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at = text.find(kCrLf); at != std::string::npos; at = text.find(kCrLf, from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + kCrLf.size();
    }
    lines.push_back(text.substr(from));
    return lines;
}

// The window on a small Office (tests/sources/capture-content) with a program folder of its own holding a
// copy of the shipped menu-bar workbook. Excel's "Worksheet Menu Bar" is, with the Index of each item:
//   1 文件(&F): 1 新建(&N)..., 2 保存(&S), 3 发送(&D) [1 邮件收件人(&M), 2 更多(&X) [1 深处(&Z)], 3 combo 收件人:],
//               4 &1 Book1.xls, 5 权限(&M) [1 不受限制的访问(&U)]
//   2 编辑(&E): 1 复制(&C), 2 "" (no caption), 3 粘贴(&P) (disabled)
//   3 Microsoft Excel 帮助(&H), 4 combo 提问:
// "Standard" (bar 2): 1 新建(&N), 2 打开(&O), 3 自动求和(&A) (split popup) [1 平均值(&A), 2 其他(&T) [1 计数(&C),
//   2 更深(&D) [1 最深(&Z)], 3 combo 函数:]], 4 combo 显示比例:, 5 运行宏 (runs Module1.Hello)
// then the bars "menu bar", "BUILT-IN MENUS", "菜单条" (one button each) and the shortcut menu "Cell".
class CaptureFixture : public ::testing::Test {
protected:
    CaptureFixture() {
        office = automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/sources/capture-content");
        form = std::make_unique<shell::Form1>(*office, ui);
        attachHandlers(*form);
        form->load();

        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        programFolder = fs::temp_directory_path() / ("tessaline-capture-" + std::string(test->test_suite_name()) + "-" +
                                                     test->name() + "-" + std::to_string(::getpid()));
        fs::create_directories(programFolder);
        fs::copy_file(TESSALINE_WORKBOOK_DIR "/Menubar.xls", programFolder / "Menubar.xls",
                      fs::copy_options::overwrite_existing);
        form->App.Path = programFolder.string();
    }
    ~CaptureFixture() override {
        form.reset();
        std::error_code ignored;
        fs::remove_all(programFolder, ignored);
    }

    void choose(shell::OptionButton& host) { form->userClick(host); }

    // Opens the menu-bar workbook and records the chosen host's menu bar into it, as the user prepares a
    // menu-bar capture.
    void recordMenubar() {
        form->clickMenu("menuMenubarOpen");
        form->clickMenu("menuMenubarRefresh");
    }

    // A person clicks a control in the host. Returns what the host ran on its own account.
    std::vector<std::string> hostClick(const std::string& host, const std::string& bar, const std::vector<int>& path) {
        office->clearActionLog();
        EXPECT_TRUE(office->clickButton(host, bar, path)) << bar << " could not be clicked";
        return office->actionLog();
    }
    bool ranItsOwnAction(const std::string& host, const std::string& bar, const std::vector<int>& path) {
        return !hostClick(host, bar, path).empty();
    }

    std::shared_ptr<automation::ExcelApplication> excel() {
        return std::dynamic_pointer_cast<automation::ExcelApplication>(office->host("Excel"));
    }

    std::string code() const { return form->Code.Text(); }
    std::vector<std::string> messagePrompts() const {
        std::vector<std::string> prompts;
        for (const auto& message : ui.messages) prompts.push_back(message.prompt);
        return prompts;
    }

    // The full text a report leaves: three lines, then the template with the container in place of "|".
    std::string expectedReport(int id, const std::string& captionExpr, const std::string& indexExpr,
                               const std::string& container) const {
        std::string templ = form->CodeTemplate;
        templ.replace(templ.find('|'), 1, container);
        return "ID:=" + std::to_string(id) + kCrLf + captionExpr + kCrLf + indexExpr + kCrLf + templ;
    }

    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
    fs::path programFolder;
};

// ----- Path notation -----

TEST(CapturePaths, CaptionAndIndexPathsBecomeHostExpressions) {
    EXPECT_EQ(CaptionPathToCode("B^C1^C2"), "Application.CommandBars(\"B\").Controls(\"C1\").Controls(\"C2\")");
    EXPECT_EQ(IndexPathToCode("1^1^2"), "Application.CommandBars(1).Controls(1).Controls(2)");
    EXPECT_EQ(CaptionPathToCode("Standard"), "Application.CommandBars(\"Standard\")");
    EXPECT_EQ(IndexPathToCode("3"), "Application.CommandBars(3)");
    EXPECT_EQ(CaptionPathToCode(""), "Application.CommandBars(\"\")");
    EXPECT_EQ(IndexPathToCode(""), "Application.CommandBars()");
}

// ----- The menu-bar capture -----

using MenubarCapture = CaptureFixture;

TEST_F(MenubarCapture, WithVoidChosenDoesNothingAtAll) {
    choose(form->Void);
    const std::string panel = form->StatusBar1.PanelText(6);
    form->clickMenu("menuCaptureMenubar");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->StatusBar1.PanelText(6), panel);
    EXPECT_FALSE(form->Code.Visible());
    EXPECT_TRUE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {1, 2}));
}

TEST_F(MenubarCapture, AClickedButtonIsReportedByItsPlaceInTheRecordedMenuBar) {
    choose(form->Excel);
    recordMenubar();
    form->clickMenu("menuCaptureMenubar");
    ASSERT_TRUE(ui.messages.empty()) << messagePrompts().front();
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(excel()->ScreenUpdating());

    // 文件 > 发送 > 邮件收件人: three levels down, its own action cancelled.
    EXPECT_TRUE(hostClick("Excel", "Worksheet Menu Bar", {1, 3, 1}).empty());
    EXPECT_TRUE(form->Code.Visible());
    EXPECT_EQ(code(), expectedReport(3738,
                                     "Application.CommandBars(\"Worksheet Menu Bar\").Controls(\"文件(&F)\")"
                                     ".Controls(\"发送(&D)\").Controls(\"邮件收件人(&M)\")",
                                     "Application.CommandBars(1).Controls(1).Controls(3).Controls(1)",
                                     "Application.CommandBars(\"Worksheet Menu Bar\").Controls(\"文件(&F)\")"
                                     ".Controls(\"发送(&D)\").Controls.Add(Type:=msoControlButton)"));

    // A button right on the bar adds to the bar's own controls.
    EXPECT_TRUE(hostClick("Excel", "Worksheet Menu Bar", {3}).empty());
    EXPECT_EQ(code(), expectedReport(
                          984, "Application.CommandBars(\"Worksheet Menu Bar\").Controls(\"Microsoft Excel 帮助(&H)\")",
                          "Application.CommandBars(1).Controls(3)",
                          "Application.CommandBars(\"Worksheet Menu Bar\").Controls.Add(Type:=msoControlButton)"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MenubarCapture, HooksOnlyButtonsOfTheFirstThreeLevelsThatTheWalkRulesKeep) {
    choose(form->Excel);
    recordMenubar();
    Capture capture(*form);
    capture.menuCaptureMenubar_Click();
    // 新建, 保存, 邮件收件人, 复制, 粘贴 (disabled, but a button) and 帮助; no popup or combo box.
    EXPECT_EQ(capture.CapturedButtons().Count(), 6);
    EXPECT_TRUE(capture.MenubarCapture);

    EXPECT_FALSE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {1, 2}));
    EXPECT_FALSE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {2, 1}));
    // Below the third level, behind "&..." and "权限(&M)", and on other bars, buttons act as ever.
    EXPECT_TRUE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {1, 3, 2, 1}));
    EXPECT_TRUE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {1, 4}));
    EXPECT_TRUE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {1, 5, 1}));
    EXPECT_TRUE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {2, 2}));
    EXPECT_TRUE(ranItsOwnAction("Excel", "Standard", {1}));
}

TEST_F(MenubarCapture, EachHostIsAskedForItsOwnMenuBar) {
    office->startHost("VBE");
    struct Case {
        shell::OptionButton* option;
        std::string host;
        std::string bar;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {&form->Word, "Word", "Menu Bar",
         "Application.CommandBars(\"Menu Bar\").Controls(\"文件(&F)\").Controls(\"保存(&S)\")"},
        {&form->VBE, "VBE", "菜单条",
         "Application.VBE.CommandBars(\"菜单条\").Controls(\"文件(&F)\").Controls(\"保存 Book1(&S)\")"},
        {&form->Outlook, "Outlook", "Menu Bar",
         "Application.ActiveExplorer.CommandBars(\"Menu Bar\").Controls(\"文件(&F)\").Controls(\"发送/接收(&C)\")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        choose(*c.option);
        recordMenubar();
        form->clickMenu("menuCaptureMenubar");
        EXPECT_TRUE(hostClick(c.host, c.bar, {1, 1}).empty());
        const std::vector<std::string> lines = codeLines(code());
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1], c.expected);
        form->clickMenu("menuNormal");
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MenubarCapture, AButtonMissingFromTheSheetIsReportedWithoutAProcedure) {
    choose(form->Excel);
    form->clickMenu("menuMenubarOpen");  // open, but never recorded: the sheet is empty
    form->clickMenu("menuCaptureMenubar");
    ASSERT_TRUE(ui.messages.empty());

    EXPECT_TRUE(hostClick("Excel", "Worksheet Menu Bar", {1, 2}).empty());
    // The lookup found nothing, so the caption line holds no "Controls" to add to.
    EXPECT_EQ(code(), "ID:=3" + kCrLf + "Application.CommandBars(\"\")" + kCrLf + "Application.CommandBars()");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Invalid procedure call or argument");
    EXPECT_EQ(ui.messages[0].title, form->App.Title);
    // Reported by the window; nothing went back into the host.
    for (const std::string& entry : office->actionLog()) EXPECT_EQ(entry.rfind("sink-error", 0), std::string::npos);
}

TEST_F(MenubarCapture, ABarTheHostLacksEndsWithTheErrorBoxAndKeepsEarlierHooks) {
    choose(form->Excel);
    recordMenubar();
    Capture capture(*form);
    capture.CaptureMenubar("Worksheet Menu Bar");
    ASSERT_EQ(capture.CapturedButtons().Count(), 6);
    capture.CaptureMenubar("No Such Bar");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Invalid procedure call or argument");
    EXPECT_EQ(capture.CapturedButtons().Count(), 6);
    // Excel is not left with its screen frozen.
    EXPECT_TRUE(excel()->ScreenUpdating());
}

TEST_F(MenubarCapture, WithoutTheMenuBarWorkbookButtonsAreStillHooked) {
    choose(form->Excel);
    Capture capture(*form);
    capture.menuCaptureMenubar_Click();
    // OpenSourceSheet says the workbook is missing; the host was reached before that, so hooking goes on.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(capture.CapturedButtons().Count(), 6);
    EXPECT_FALSE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {1, 2}));
    EXPECT_TRUE(excel()->ScreenUpdating());
}

// ----- The toolbar capture -----
// It needs no workbook, yet selects the host's sheet of the menu-bar workbook all the same, which shows the
// error report box when that workbook is not open; tests that count boxes open it first.

using ToolbarCapture = CaptureFixture;

TEST_F(ToolbarCapture, SkipsTheMenuBarsByNameInAnyCaseButNotTheWorksheetMenuBar) {
    choose(form->Excel);
    form->clickMenu("menuCommandbarCapture");
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(ranItsOwnAction("Excel", "menu bar", {1}));
    EXPECT_TRUE(ranItsOwnAction("Excel", "BUILT-IN MENUS", {1}));
    EXPECT_TRUE(ranItsOwnAction("Excel", "菜单条", {1}));
    EXPECT_FALSE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {1, 2}));
    EXPECT_FALSE(ranItsOwnAction("Excel", "Cell", {1}));
    EXPECT_FALSE(ranItsOwnAction("Excel", "Standard", {5}));  // its macro does not run either
}

TEST_F(ToolbarCapture, OffersEveryNonPopupControlAndSilentlySkipsThoseThatAreNoButtons) {
    choose(form->Excel);
    form->clickMenu("menuMenubarOpen");
    Capture capture(*form);
    capture.menuCommandbarCapture_Click();
    EXPECT_FALSE(capture.MenubarCapture);
    // Worksheet Menu Bar: 新建, 保存, 邮件收件人, the third-level popup 更多, 复制, 粘贴, 帮助 (7);
    // Standard: 新建, 打开, 平均值, 计数, the third-level popup 更深, 运行宏 (6); Cell: 1. No combo box.
    EXPECT_EQ(capture.CapturedButtons().Count(), 14);
    EXPECT_TRUE(ui.messages.empty());
    // A third-level popup is hooked like a button; what lies below it never is.
    EXPECT_TRUE(ranItsOwnAction("Excel", "Standard", {3, 2, 2, 1}));
    EXPECT_TRUE(ranItsOwnAction("Excel", "Worksheet Menu Bar", {1, 3, 2, 1}));
}

TEST_F(ToolbarCapture, AClickIsReportedByClimbingFromTheButtonToItsBar) {
    choose(form->Excel);
    form->clickMenu("menuMenubarOpen");
    form->clickMenu("menuCommandbarCapture");
    EXPECT_TRUE(hostClick("Excel", "Standard", {3, 2, 1}).empty());
    EXPECT_TRUE(form->Code.Visible());
    EXPECT_EQ(code(), expectedReport(5804,
                                     "Application.CommandBars(\"Standard\").Controls(\"自动求和(&A)\")"
                                     ".Controls(\"其他(&T)\").Controls(\"计数(&C)\")",
                                     "Application.CommandBars(2).Controls(3).Controls(2).Controls(1)",
                                     "Application.CommandBars(\"Standard\").Controls(\"自动求和(&A)\")"
                                     ".Controls(\"其他(&T)\").Controls.Add(Type:=msoControlButton)"));

    EXPECT_TRUE(hostClick("Excel", "Standard", {1}).empty());
    EXPECT_EQ(code(), expectedReport(2520, "Application.CommandBars(\"Standard\").Controls(\"新建(&N)\")",
                                     "Application.CommandBars(2).Controls(1)",
                                     "Application.CommandBars(\"Standard\").Controls.Add(Type:=msoControlButton)"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ToolbarCapture, OutlookAndTheEditorAddressTheirBarsThroughTheirOwnObjects) {
    form->clickMenu("menuMenubarOpen");
    choose(form->Outlook);
    form->clickMenu("menuCommandbarCapture");
    EXPECT_TRUE(hostClick("Outlook", "Standard", {1}).empty());
    EXPECT_EQ(code(), expectedReport(
                          1758, "Application.ActiveExplorer.CommandBars(\"Standard\").Controls(\"答复(&R)\")",
                          "Application.ActiveExplorer.CommandBars(2).Controls(1)",
                          "Application.ActiveExplorer.CommandBars(\"Standard\").Controls.Add(Type:=msoControlButton)"));
    form->clickMenu("menuNormal");

    office->startHost("VBE");
    choose(form->VBE);
    form->clickMenu("menuCommandbarCapture");
    EXPECT_TRUE(hostClick("VBE", "标准", {1}).empty());
    EXPECT_EQ(code(), expectedReport(106, "Application.VBE.CommandBars(\"标准\").Controls(\"插入用户窗体\")",
                                     "Application.VBE.CommandBars(2).Controls(1)",
                                     "Application.VBE.CommandBars(\"标准\").Controls.Add(Type:=msoControlButton)"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ToolbarCapture, WithVoidChosenHooksNothing) {
    choose(form->Void);
    Capture capture(*form);
    capture.menuCommandbarCapture_Click();
    EXPECT_EQ(capture.CapturedButtons().Count(), 0);
    EXPECT_TRUE(ranItsOwnAction("Excel", "Standard", {1}));
}

TEST_F(ToolbarCapture, AHostThatCouldNotBeReachedIsNotStandInForByAnEarlierOne) {
    choose(form->Word);
    form->clickMenu("menuCommandbarCapture");
    form->clickMenu("menuNormal");
    ASSERT_TRUE(ranItsOwnAction("Word", "Standard", {1}));

    // Without Excel the source sheet cannot be opened and SourceHost still holds Word.
    office->stopHost("Excel");
    choose(form->Outlook);
    Capture capture(*form);
    capture.menuCommandbarCapture_Click();
    EXPECT_FALSE(ui.messages.empty());
    EXPECT_EQ(capture.CapturedButtons().Count(), 0);
    EXPECT_TRUE(ranItsOwnAction("Word", "Standard", {1}));

    // The host chosen is the one held from before: its buttons are hooked as the user asked.
    choose(form->Word);
    capture.menuCommandbarCapture_Click();
    EXPECT_EQ(capture.CapturedButtons().Count(), 1);  // Word's "Menu Bar" is left out
    EXPECT_FALSE(ranItsOwnAction("Word", "Standard", {1}));
}

// ----- Hooks over time -----

using CaptureLifecycle = CaptureFixture;

TEST_F(CaptureLifecycle, HookingTwiceFiresBothHooksWithTheSameResultAsOne) {
    choose(form->Excel);
    Capture capture(*form);
    capture.menuCommandbarCapture_Click();
    const int once = capture.CapturedButtons().Count();
    EXPECT_TRUE(hostClick("Excel", "Standard", {2}).empty());
    const std::string single = code();

    capture.menuCommandbarCapture_Click();
    EXPECT_EQ(capture.CapturedButtons().Count(), 2 * once);
    form->Code.SetText("");
    EXPECT_TRUE(hostClick("Excel", "Standard", {2}).empty());
    EXPECT_EQ(code(), single);
}

TEST_F(CaptureLifecycle, TheLatestCaptureCommandDecidesHowEveryHookReports) {
    choose(form->Excel);
    form->clickMenu("menuMenubarOpen");  // an empty menu-bar sheet: a menu-bar report finds nothing
    form->clickMenu("menuCaptureMenubar");
    hostClick("Excel", "Worksheet Menu Bar", {1, 2});
    ASSERT_EQ(ui.messages.size(), 1u);

    form->clickMenu("menuCommandbarCapture");
    hostClick("Excel", "Worksheet Menu Bar", {1, 2});
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(codeLines(code())[1],
              "Application.CommandBars(\"Worksheet Menu Bar\").Controls(\"文件(&F)\").Controls(\"保存(&S)\")");
}

TEST_F(CaptureLifecycle, BackToNormalReleasesEveryHookAndHidesCode) {
    choose(form->Excel);
    form->clickMenu("menuCommandbarCapture");
    hostClick("Excel", "Standard", {1});
    ASSERT_TRUE(form->Code.Visible());

    form->clickMenu("menuNormal");
    EXPECT_FALSE(form->Code.Visible());
    const std::string before = code();
    EXPECT_EQ(hostClick("Excel", "Standard", {5}), std::vector<std::string>{"macro:Module1.Hello"});
    EXPECT_EQ(code(), before);

    // A later capture starts from an empty set.
    Capture capture(*form);
    capture.menuCommandbarCapture_Click();
    capture.menuNormal_Click();
    EXPECT_EQ(capture.CapturedButtons().Count(), 0);
    capture.menuCaptureMenubar_Click();
    EXPECT_EQ(capture.CapturedButtons().Count(), 6);
}

TEST_F(CaptureLifecycle, HooksOnDeletedButtonsOrAQuitHostAreReleasedQuietly) {
    choose(form->Excel);
    form->clickMenu("menuMenubarOpen");
    form->clickMenu("menuCommandbarCapture");
    const auto standard = excel()->CommandBars()->Item(automation::Variant("Standard"));
    standard->Controls()->Item(automation::Variant(1))->Delete();
    // The hooked button that is gone no longer hears anything; the others still report.
    EXPECT_TRUE(hostClick("Excel", "Standard", {1}).empty());
    EXPECT_EQ(codeLines(code())[0], "ID:=23");
    office->stopHost("Excel");
    form->clickMenu("menuNormal");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CaptureLifecycle, AClickAfterTheWindowClosedRunsTheButtonAsUsual) {
    choose(form->Excel);
    form->clickMenu("menuCommandbarCapture");
    form->unload();
    EXPECT_EQ(hostClick("Excel", "Standard", {5}), std::vector<std::string>{"macro:Module1.Hello"});
}

TEST_F(CaptureLifecycle, ClosingTheWindowReleasesTheHooks) {
    choose(form->Excel);
    form->clickMenu("menuCommandbarCapture");
    form.reset();
    EXPECT_EQ(hostClick("Excel", "Standard", {5}), std::vector<std::string>{"macro:Module1.Hello"});
}

}  // namespace
}  // namespace tessaline::sources
