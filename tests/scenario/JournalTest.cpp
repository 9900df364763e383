#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "automation/OfficeMachine.h"
#include "editing/BarSnapshot.h"
#include "scenario/ScenarioRunner.h"
#include "shell/Form1.h"

namespace tessaline::scenario {
namespace {

// The window on the shipped content, driven by script lines, with the Excel bars read between steps.
class JournalTest : public ::testing::Test {
protected:
    JournalTest() : runner(transcript, options()) {}

    static RunnerOptions options() {
        RunnerOptions options;
        options.programFiles = TESSALINE_WORKBOOK_DIR;
        return options;
    }

    void run(const std::string& text) {
        const int failures = runner.run(parseScript(text, "journal.scn", TESSALINE_SOURCE_DIR "/tests"));
        ASSERT_EQ(failures, 0) << transcript.str();
    }
    std::vector<editing::BarSnapshot> excelBars() {
        auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(runner.office()->host("Excel"));
        return editing::snapshotBars(*host->CommandBars());
    }
    static std::string differences(const std::vector<editing::BarSnapshot>& a,
                                   const std::vector<editing::BarSnapshot>& b) {
        std::string out;
        if (a.size() != b.size()) out += "bar count " + std::to_string(a.size()) + " / " + std::to_string(b.size()) + "\n";
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
            for (const std::string& line : editing::barDifferences(a[i], b[i])) out += line + "\n";
        }
        return out;
    }

    std::ostringstream transcript;
    ScenarioRunner runner;
};

struct Step {
    const char* name;
    const char* setup;    // brings the window to where the command applies
    const char* command;  // the command under test
};

// Every kind of command that changes a host, one after the other on one Excel: after each, an undo brings
// back every bar exactly as before the command (every property of every control at every depth, bars'
// own properties, names and order), and a redo exactly as after it.
TEST_F(JournalTest, UndoAndRedoOfEveryCommandRestoreEveryProperty) {
    const Step steps[] = {
        {"create toolbar", "programfolder copy\noption Excel\nuncheck ShowMacroList\n",
         "answer input 甲\npopup choose CreateToolbar\nrightclick bars\n"},
        {"create menu bar", "", "answer input 乙\npopup choose CreateMenubar\nrightclick bars\n"},
        {"create shortcut menu", "", "answer input 丙\npopup choose CreatePopupbar\nrightclick bars\n"},
        {"close bar", "click bars Standard 1\n", "popup choose CloseCommandbar\nrightclick bars\n"},
        {"show bar", "", "popup choose ShowCommandbar\nrightclick bars\n"},
        {"clear bar", "click bars Formatting 1\n", "answer msgbox yes\npopup choose ClearAll\nrightclick bars\n"},
        {"reset bar", "", "popup choose ResetCommandbar\nrightclick bars\n"},
        {"delete bar", "click bars 乙 1\n", "popup choose DeleteCommandbar\nrightclick bars\n"},
        {"modify control",
         "click bars Standard 1\nclick controls 3 2\nkeydown controls Delete\ntype controls 存盘\n",
         "popup choose ModifyControl\nrightclick controls\n"},
        {"delete control", "click controls 4 1\n", "popup choose DeleteControl\nrightclick controls\n"},
        {"move to top", "click controls 6 1\n", "popup choose MoveToTop\nrightclick controls\n"},
        {"move up", "click bars Standard 1\nclick controls 6 1\n", "popup choose MoveToPrevious\nrightclick controls\n"},
        {"move down", "click bars Standard 1\nclick controls 6 1\n", "popup choose MoveToNext\nrightclick controls\n"},
        {"move to bottom", "click bars Standard 1\nclick controls 6 1\n",
         "popup choose MoveToBottom\nrightclick controls\n"},
        {"copy to", "click bars Standard 1\nclick controls 3 1\n", "answer input 甲\npopup choose CopyTo\nrightclick controls\n"},
        {"design added last",
         "click bars 甲 1\ncheck DesignMode\nclick controls 1 2\ntype controls 组合\nclick controls 1 5\n"
         "type controls 4\nclick controls 1 9\ntype controls Pick\n",
         "popup choose AddToLast\nrightclick controls\n"},
        {"design added first",
         "check DesignMode\nclick controls 1 2\ntype controls 菜单\nclick controls 1 5\ntype controls 10\n",
         "popup choose AddtoFirst\nrightclick controls\n"},
        {"combo items added", "uncheck DesignMode\nclick bars 甲 1\nclick controls 3 1\n",
         "answer input \"红,绿,蓝\"\npopup choose AddItemforCombobox\nrightclick controls\n"},
        {"combo item deleted", "", "answer input 2\npopup choose DeleteItemforCombobox\nrightclick controls\n"},
        {"combo items cleared", "", "popup choose ClearItems\nrightclick controls\n"},
        {"design replaced",
         "click bars 甲 1\ncheck DesignMode\nclick controls 1 2\ntype controls 唯一\nclick controls 1 5\ntype controls 1\nclick controls 1 9\ntype controls Only\n",
         "popup choose ReplaceOriginal\nrightclick controls\n"},
        {"batch add", "popup choose MenuExcelDesign\nrightclick controls\n",
         "popup choose BatchAddfromExcel\nrightclick controls\n"},
        {"batch copy", "uncheck DesignMode\nclick bars 甲 1\ntype IDString \"3,19\"\n", "click BatchCopy\n"},
        {"icon viewer", "click bars Standard 1\n", "dblclick controls 1 8\n"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        run(step.setup);
        const auto before = excelBars();
        run(step.command);
        const auto after = excelBars();
        ASSERT_NE(differences(before, after), "") << "the command changed nothing\n" << transcript.str();
        run("undo\n");
        EXPECT_EQ(differences(before, excelBars()), "");
        run("redo\n");
        EXPECT_EQ(differences(after, excelBars()), "");
    }
    // Many levels: everything undone in turn brings back the shipped bars, and a further undo finds none.
    std::ostringstream fresh;
    ScenarioRunner shipped(fresh);
    shipped.run(parseScript("option Excel\n", "fresh.scn", TESSALINE_SOURCE_DIR "/tests"));
    auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(shipped.office()->host("Excel"));
    const auto original = editing::snapshotBars(*host->CommandBars());
    for (std::size_t i = 0; i < std::size(steps); ++i) run("undo\n");
    EXPECT_EQ(differences(original, excelBars()), "");
    run("undo\nexpect panel 6 = 无可撤销\n");
}

// What a host's own code changes between two commands is no part of either: undoing the later command keeps
// it, on the bar the command changed as on the others, where no outline of the bars shows it.
TEST_F(JournalTest, UndoKeepsWhatTheHostChangedBetweenCommands) {
    auto modifyTo = [](const std::string& caption) {
        return "click bars Standard 1\nclick controls 3 2\nkeydown controls Delete\ntype controls " + caption +
               "\npopup choose ModifyControl\nrightclick controls\n";
    };
    run("option Excel\n" + modifyTo("存盘"));
    auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(runner.office()->host("Excel"));
    auto control = [&](const char* bar, int index) {
        return host->CommandBars()->Item(automation::Variant(bar))->Controls()->Item(automation::Variant(index));
    };
    control("Standard", 5)->SetTag("outside");
    control("Formatting", 1)->SetCaption("外面");
    const auto before = excelBars();
    run(modifyTo("存档"));
    ASSERT_NE(differences(before, excelBars()), "") << transcript.str();
    run("undo\nexpect panel 6 = 已撤销\n");
    EXPECT_EQ(differences(before, excelBars()), "");
}

// A host that quits takes its journal with it; the journal of another host is its own.
TEST_F(JournalTest, JournalsArePerHostAndEndWithTheirHost) {
    run("option Excel\nanswer input 甲\npopup choose CreateToolbar\nrightclick bars\n"
        "option Word\nundo\nexpect panel 6 = 无可撤销\n"
        "option Excel\nundo\nexpect panel 6 = 已撤销\nexpect bar Excel 甲 exists = False\n"
        "redo\nexpect bar Excel 甲 exists = True\n"
        "host stop Excel\nhost start Excel\noption Excel\nundo\nexpect panel 6 = 无可撤销\n");
}

}  // namespace
}  // namespace tessaline::scenario
