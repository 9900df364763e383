#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "scenario/ScenarioRunner.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace tessaline::scenario {
namespace {

// The runner on the small test content: Excel, Word, PowerPoint, Outlook and the editor, no Access.
class ScenarioRunnerTest : public ::testing::Test {
protected:
    ScenarioRunnerTest() : runner(transcript, options()) {}

    static RunnerOptions options() {
        RunnerOptions options;
        options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
        return options;
    }

    int run(const std::string& text) { return runner.run(parseScript(text, "t.scn", TESSALINE_SOURCE_DIR "/tests")); }
    bool said(const std::string& text) const { return transcript.str().find(text) != std::string::npos; }

    std::ostringstream transcript;
    ScenarioRunner runner;
};

TEST_F(ScenarioRunnerTest, PassingChecksLeaveNoFailure) {
    EXPECT_EQ(run("option Excel\n"
                  "expect panel 1 = Excel\n"
                  "expect rows bars = 7\n"
                  "expect cell bars Standard 2 = 常用\n"
                  "expect panels has Excel\n"),
              0)
        << transcript.str();
    EXPECT_EQ(runner.checks(), 4);
    EXPECT_TRUE(said("all passed"));
}

TEST_F(ScenarioRunnerTest, AFailedCheckNamesFileAndLineAndShowsBothTexts) {
    EXPECT_EQ(run("option Excel\nexpect panel 1 = Word\nexpect panel 1 != Excel\n"), 2);
    EXPECT_TRUE(said("t.scn:2: FAILED expect panel 1 = Word")) << transcript.str();
    EXPECT_TRUE(said("expected: \"Word\"\n    actual:   \"Excel\""));
    EXPECT_TRUE(said("t.scn:3: FAILED"));
    EXPECT_TRUE(said("expected not: \"Excel\""));
    EXPECT_EQ(runner.failures(), 2);
}

TEST_F(ScenarioRunnerTest, CommandsThatCannotBeCarriedOutFailAndTheScriptGoesOn) {
    EXPECT_EQ(run("fly away\n"
                  "click NoSuchControl\n"
                  "print nonsense\n"
                  "expect panel 1\n"
                  "click bars 1\n"
                  "click bars 99 1\n"
                  "type controls \"unclosed\n"
                  "keypress controls \"ab\"\n"
                  "keypress controls 1114112\n"
                  "print msgbox colour\n"
                  "menu NoSuchItem\n"
                  "option Word\n"
                  "expect panel 1 = Word\n"),
              11)
        << transcript.str();
    EXPECT_TRUE(said("t.scn:1: FAILED fly away\n    unknown command \"fly\""));
    EXPECT_TRUE(said("no control named \"NoSuchControl\""));
    EXPECT_TRUE(said("unknown query \"nonsense\""));
    EXPECT_TRUE(said("outside the grid"));
    EXPECT_TRUE(said("t.scn:7: FAILED"));
    EXPECT_TRUE(said("no menu item named \"NoSuchItem\""));
}

TEST_F(ScenarioRunnerTest, RowsCanBeNamedByTheirText) {
    EXPECT_EQ(run("option Excel\n"
                  "click bars Formatting 1\n"
                  "expect current bars = 3,1\n"
                  "expect currentbar = Formatting\n"
                  "click controls 加粗(&B) 2\n"
                  "expect current controls = 2,2\n"
                  "click bars NoSuchBar 1\n"),
              1)
        << transcript.str();
    EXPECT_TRUE(said("no row of ListAllCommandbars shows \"NoSuchBar\""));
}

TEST_F(ScenarioRunnerTest, IfRunsOnlyTheBranchTaken) {
    EXPECT_EQ(run("if running Access\n"
                  "  expect panel 1 = never\n"
                  "else\n"
                  "  if running Excel = True\n"
                  "    echo excel-branch\n"
                  "  end\n"
                  "end\n"
                  "if rows bars != 1\n"
                  "  echo never-printed\n"
                  "end\n"),
              0)
        << transcript.str();
    EXPECT_TRUE(said("excel-branch"));
    EXPECT_FALSE(said("never-printed"));
    EXPECT_EQ(run("end\nif running Excel\n"), 2);
    EXPECT_TRUE(said("\"end\" without an open \"if\""));
    EXPECT_TRUE(said("not closed"));
}

TEST_F(ScenarioRunnerTest, TypingReachesTheTextBoxCharacterByCharacter) {
    EXPECT_EQ(run("type IDString \"3,19,文件\"\n"
                  "keypress IDString Backspace\n"
                  "expect text IDString = 3,19,文\n"
                  "dblclick IDString\n"
                  "expect clipboard = 3,19,文\n"),
              0)
        << transcript.str();
}

TEST_F(ScenarioRunnerTest, QueuedAnswersReachTheDialogsInOrder) {
    EXPECT_EQ(run("answer msgbox no\n"
                  "formkey Esc\n"
                  "expect msgbox = 关闭?\n"
                  "expect msgbox title = 按下了Esc\n"
                  "expect msgbox flags = 4\n"
                  "expect minimized = 1\n"
                  "expect unloaded = False\n"
                  "answer msgbox yes\n"
                  "formkey 27\n"
                  "expect unloaded = True\n"
                  "answer msgbox maybe\n"),
              1)
        << transcript.str();
    EXPECT_TRUE(said("[message box \"关闭?\" titled \"按下了Esc\", flags 4, answered 7]"));
}

TEST_F(ScenarioRunnerTest, AQueuedPopupChoiceRunsThatCommand) {
    ASSERT_EQ(run("option Excel\nclick bars Standard 1\n"), 0) << transcript.str();
    int ran = 0;
    runner.form()->menu("ModifyControl").onClick = [&ran] { ++ran; };
    EXPECT_EQ(run("click controls 2 3\n"
                  "popup choose ModifyControl\n"
                  "rightclick controls 4 4\n"
                  "expect current controls = 2,1\n"
                  "expect popup chosen = ModifyControl\n"),
              0)
        << transcript.str();
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(said("[popup CommandbarControlOperation: ModifyControl 修改, DeleteControl 删除, -, MoveToTop"));
}

TEST_F(ScenarioRunnerTest, ChooseAfterADismissedPopupRunsTheItemItOffered) {
    ASSERT_EQ(run("option Excel\nclick bars Standard 1\n"), 0) << transcript.str();
    int ran = 0;
    runner.form()->menu("ModifyControl").onClick = [&ran] { ++ran; };
    EXPECT_EQ(run("click controls 1 2\n"
                  "rightclick controls\n"
                  "expect popup = \"CommandbarControlOperation: ModifyControl, DeleteControl, Sep1, MoveToTop, "
                  "MoveToPrevious, MoveToNext, MoveToBottom, Sep2, CopyTo, ExportID, ExportToExcel, Sep4 -> "
                  "dismissed\"\n"
                  "choose OpenSubItem\n"
                  "choose Sep1\n"
                  "choose ModifyControl\n"
                  "choose ModifyControl\n"),
              3)
        << transcript.str();
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(said("does not offer \"OpenSubItem\""));
    EXPECT_TRUE(said("no popup menu is waiting for a choice"));
}

TEST_F(ScenarioRunnerTest, OfficeStateCanBeReadByHostBarAndIndexPath) {
    EXPECT_EQ(run("expect bar Excel Standard NameLocal = 常用\n"
                  "expect bar Excel standard count = 5\n"
                  "expect bar Excel FaceIDViewer exists = False\n"
                  "expect control Excel \"Worksheet Menu Bar\" 1.4.2 Caption = 其他(&O)\n"
                  "expect control Excel \"Worksheet Menu Bar\" 1.4 Count = 2\n"
                  "expect control Excel Standard 3 ShortcutText = \"\"\n"
                  "expect controls Excel \"Worksheet Menu Bar\" 2 = \"1 | 19 | 复制(&C) | type 1\\n"
                  "2 | 22 | 粘贴(&P) | type 1 | disabled\"\n"
                  "expect bars Outlook = 2\n"
                  "print bar Excel Standard Colour\n"
                  "print bar Access Standard Name\n"),
              2)
        << transcript.str();
    EXPECT_TRUE(said("Access is not running"));
}

TEST_F(ScenarioRunnerTest, HostButtonsAreClickedThroughTheOffice) {
    EXPECT_EQ(run("host click Excel Standard 3\n"
                  "expect actionlog has 保存(&S)\n"
                  "host click Excel Standard 4\n"
                  "host click Excel Standard 9\n"),
              1)
        << transcript.str();
    EXPECT_TRUE(said("nobody can click it"));
}

TEST_F(ScenarioRunnerTest, StoppedHostsCannotBeAttached) {
    EXPECT_EQ(run("option Excel\n"
                  "host stop Word\n"
                  "option Word\n"
                  "expect panel 1 = Nothing\n"
                  "expect hostapp = Nothing\n"
                  "expect msgbox count = 0\n"
                  "host start Word\n"
                  "option Word\n"
                  "expect panel 1 = Word\n"
                  "host start Access\n"),
              1)
        << transcript.str();
    EXPECT_TRUE(said("Access is not installed"));
}

TEST_F(ScenarioRunnerTest, OfficeCanStartFromAnotherFolderAndReportsOneThatIsMissing) {
    EXPECT_EQ(run("office data/office-small\n"
                  "expect running Excel = True\n"
                  "office /nonexistent/content\n"),
              1)
        << transcript.str();
    EXPECT_TRUE(said("the in-memory Office could not start"));
}

TEST_F(ScenarioRunnerTest, ScreenshotsNeedTheCallback) {
    EXPECT_EQ(run("screenshot window.png\n"), 1);
    EXPECT_TRUE(said("cannot draw the window"));

    std::ostringstream out;
    std::string saved;
    RunnerOptions withPicture = options();
    withPicture.screenshot = [&saved](shell::Form1& form, const std::string& path) {
        saved = form.Caption + ":" + path;
    };
    ScenarioRunner drawing(out, withPicture);
    EXPECT_EQ(drawing.run(parseScript("screenshot shot.png\n", "t.scn")), 0) << out.str();
    EXPECT_EQ(saved, "Tessaline:shot.png");
}

TEST_F(ScenarioRunnerTest, CheckBoxesAreSetByClickingOnlyWhenNeeded) {
    EXPECT_EQ(run("expect value ShowMacroList = 1\n"
                  "check ShowMacroList\n"
                  "expect value ShowMacroList = 1\n"
                  "uncheck Chk_Treeview\n"
                  "expect value Chk_Treeview = 0\n"
                  "check DesignMode\n"
                  "expect value DesignMode = 1\n"
                  "check bars\n"),
              1)
        << transcript.str();
    EXPECT_TRUE(said("is not a check box"));
}

TEST_F(ScenarioRunnerTest, TreeAndListContentsReadOneItemPerLine) {
    ASSERT_EQ(run("print panel 1\n"), 0);
    shell::Form1& form = *runner.form();
    form.TreeView1.Nodes().Add(std::nullopt, std::nullopt, "E", "Excel");
    form.TreeView1.Nodes().Add(automation::Variant("E"), 4, "E1", "Standard");
    form.TreeView1.Nodes().Add(std::nullopt, std::nullopt, "", "Word");
    form.ListMacros.AddItem("Module1.宏一");
    form.ListMacros.AddItem("Module1.宏二");
    int clicked = 0;
    form.TreeView1.onNodeClick = [&clicked](shell::TreeNode&) { ++clicked; };
    EXPECT_EQ(run("expect tree = \"Excel [E]\\n  Standard [E1]\\nWord\"\n"
                  "expect nodes = 3\n"
                  "expect list ListMacros = \"Module1.宏一\\nModule1.宏二\"\n"
                  "expect listcount ListMacros = 2\n"
                  "nodeclick E1\n"
                  "nodeclick NoSuchKey\n"
                  "list ListMacros\n"),
              2)
        << transcript.str();
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(form.TreeView1.SelectedItem()->Key(), "E1");
}

TEST_F(ScenarioRunnerTest, ListEntriesAreClickedByIndexOrTextAfterBeingSelected) {
    ASSERT_EQ(run("print panel 1\n"), 0);
    shell::Form1& form = *runner.form();
    form.ListMacros.AddItem("Module1.宏一");
    form.ListMacros.AddItem("7");
    std::vector<int> selectedAtClick;
    form.ListMacros.onClick = [&] { selectedAtClick.push_back(form.ListMacros.ListIndex()); };
    EXPECT_EQ(run("click ListMacros 1\n"
                  "click ListMacros Module1.宏一\n"
                  "click ListMacros \"7\"\n"
                  "click ListMacros 2\n"
                  "click ListMacros 没有\n"
                  "dblclick ListMacros 0\n"),
              3)
        << transcript.str();
    EXPECT_EQ(selectedAtClick, (std::vector<int>{1, 0, 1}));
}

TEST_F(ScenarioRunnerTest, AnUnreadableScriptFileCountsAsAFailure) {
    EXPECT_EQ(runner.runFile("/nonexistent/none.scn"), 1);
    EXPECT_EQ(runner.failures(), 1);
    EXPECT_TRUE(said("cannot read /nonexistent/none.scn"));
    // A folder is no script: it must not pass as one with no checks.
    EXPECT_EQ(runner.runFile(TESSALINE_SOURCE_DIR "/tests/scenarios"), 1);
    EXPECT_TRUE(said("is a folder, not a script")) << transcript.str();
}

TEST_F(ScenarioRunnerTest, OutOfRangePanelsAndUnknownFaultsAreFailures) {
    EXPECT_EQ(run("option Excel\npaneldblclick 7\npaneldblclick 0\nfail Excel Range Value= x\nfail Excel\n"
                  "keydown controls 99999\nkeydown controls Delete 9\n"),
              6)
        << transcript.str();
    EXPECT_TRUE(said("no key has the code 99999 (1 to 254)"));
    EXPECT_TRUE(said("the status bar has no panel 7 (it has 1 to 6)"));
}

TEST_F(ScenarioRunnerTest, AFailedCallIsReportedAsTheHostWouldRefuseIt) {
    // The third add of a design fails: its row is skipped silently, the others are added.
    EXPECT_EQ(run("option Excel\n"
                  "fail Excel CommandBars Add 1 -2147467259 \"Method 'Add' of object 'CommandBars' failed\"\n"
                  "answer input T9\npopup choose CreateToolbar\nrightclick bars\n"
                  "expect bar Excel T9 exists = False\nexpect msgbox count = 0\n"
                  "click bars Standard 1\nclick controls 2 2\n"
                  "fail Excel CommandBarControl Delete\n"
                  "popup choose DeleteControl\nrightclick controls\n"
                  "expect msgbox = \"Method 'Delete' of object 'CommandBarControl' failed\"\n"
                  "expect bar Excel Standard count = 5\n"),
              0)
        << transcript.str();
}

}  // namespace
}  // namespace tessaline::scenario

namespace tessaline::scenario {
namespace {

TEST(ScenarioWorkbookQueries, ReadTheCellsOfTheWorkbooksOpenInExcel) {
    std::ostringstream transcript;
    RunnerOptions options;
    options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
    options.programFiles = TESSALINE_WORKBOOK_DIR;
    ScenarioRunner runner(transcript, options);
    const int failures =
        runner.run(parseScript("programfolder copy\n"
                               "menu menuTreeviewxls\n"
                               "expect workbooks has TreeviewofCommandbars.xls\n"
                               "expect sheetcell treeviewofcommandbars.xls Framework A1 = 主窗口\n"
                               "expect sheetcell TreeviewofCommandbars.xls Framework J3 = 1\n"
                               "expect sheetcell TreeviewofCommandbars.xls Excel A1 = \"\"\n"
                               "print sheetcell Nope.xls Excel A1\n"
                               "print sheetcell TreeviewofCommandbars.xls Excel \"A1:\"\n"
                               "print sheetcell TreeviewofCommandbars.xls Excel\n"
                               "host stop Excel\n"
                               "print workbooks\n",
                               "t.scn", TESSALINE_SOURCE_DIR "/tests"));
    EXPECT_EQ(failures, 4) << transcript.str();
    EXPECT_EQ(runner.checks(), 4);
    const std::string said = transcript.str();
    EXPECT_NE(said.find("no cell A1 of sheet Excel in an open workbook Nope.xls"), std::string::npos) << said;
    EXPECT_NE(said.find("Excel is not running"), std::string::npos);
}

}  // namespace
}  // namespace tessaline::scenario
