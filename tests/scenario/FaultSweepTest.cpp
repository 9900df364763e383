// Every window command, run once per automation call it makes with that one call failing: nothing may
// crash or escape, the error is reported or passed over as the command's error mode says, the window goes
// on, and whatever the command was not going to change is left as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "automation/OfficeMachine.h"
#include "automation/sim/SimCommandBars.h"
#include "automation/sim/SimOffice.h"
#include "automation/sim/SimWorkbook.h"
#include "scenario/ScenarioRunner.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "xls/XlsFile.h"

namespace tessaline::scenario {
namespace {

using automation::FaultPlan;

struct SweepCase {
    const char* name;
    const char* setup;      // brings the window to a realistic state for the command
    const char* action;     // the command, with its dialogs answered
    bool silent;            // resume mode: a failing step is passed over without a box
    bool exactText = true;  // the box tells the failed call's own error
    // Commands making thousands of calls in one loop fail a sample: this many calls at the start, at the end
    // and spread evenly between. 0: every call.
    int sampled = 0;
};

// Which of `count` calls a case fails, 1-based.
std::vector<int> callsToFail(const SweepCase& c, int count) {
    std::vector<int> chosen;
    if (c.sampled <= 0 || count <= 3 * c.sampled) {
        for (int i = 1; i <= count; ++i) chosen.push_back(i);
        return chosen;
    }
    for (int i = 1; i <= c.sampled; ++i) chosen.push_back(i);
    const int step = (count - 2 * c.sampled) / (c.sampled + 1);
    for (int k = 1; k <= c.sampled; ++k) chosen.push_back(c.sampled + k * step);
    for (int i = count - c.sampled + 1; i <= count; ++i) chosen.push_back(i);
    return chosen;
}

// Attached to the small Excel with a custom toolbar T1 holding a copy of Standard's first two buttons.
constexpr const char* kBase =
    "programfolder copy\n"
    "option Excel\n"
    "answer input T1\npopup choose CreateToolbar\nrightclick bars\n"
    "click bars Standard 1\nclick controls 1 2\nanswer input T1\npopup choose CopyTo\nrightclick controls\n"
    "click controls 2 2\nanswer input T1\npopup choose CopyTo\nrightclick controls\n";

const SweepCase kCases[] = {
    {"ShowCommandbar", "click bars T1 1\n", "popup choose ShowCommandbar\nrightclick bars\n", false},
    {"CloseCommandbar", "click bars Standard 1\n", "popup choose CloseCommandbar\nrightclick bars\n", false},
    {"DeleteCommandbar", "click bars T1 1\n", "popup choose DeleteCommandbar\nrightclick bars\n", false},
    {"ResetCommandbar", "click bars Standard 1\n", "popup choose ResetCommandbar\nrightclick bars\n", false},
    {"ClearAll", "click bars T1 1\n", "popup choose ClearAll\nrightclick bars\n", false},
    {"CreateToolbar", "", "answer input T2\npopup choose CreateToolbar\nrightclick bars\n", true},
    {"CreatePopupbar", "", "answer input P2\npopup choose CreatePopupbar\nrightclick bars\n", true},
    {"ListControls", "", "click bars Formatting 1\n", true},
    {"ModifyControl", "click bars T1 1\nclick controls 1 2\nkeydown controls Delete\ntype controls 新的\n",
     "popup choose ModifyControl\nrightclick controls\n", true},
    {"DeleteControl", "click bars T1 1\nclick controls 2 2\n", "popup choose DeleteControl\nrightclick controls\n",
     false},
    {"MoveToTop", "click bars T1 1\nclick controls 2 2\n", "popup choose MoveToTop\nrightclick controls\n", false},
    {"CopyTo", "click bars Standard 1\nclick controls 3 2\n",
     "answer input T1,1\npopup choose CopyTo\nrightclick controls\n", false},
    {"OpenSubItem", "click bars \"Worksheet Menu Bar\" 1\nclick controls 1 2\n",
     "popup choose OpenSubItem\nrightclick controls\n", true},
    {"ExportID", "click bars T1 1\n", "popup choose ExportID\nrightclick controls\n", true},
    {"ExportToExcel", "menu menuDesignerxls\nclick bars T1 1\n", "popup choose ExportToExcel\nrightclick controls\n",
     true},
    {"MoveToNext", "click bars T1 1\nclick controls 1 2\n", "popup choose MoveToNext\nrightclick controls\n", false},
    {"ReplaceOriginal", "click bars T1 1\ncheck DesignMode\nclick controls 1 2\ntype controls 替换\n",
     "popup choose ReplaceOriginal\nrightclick controls\n", false},
    {"Search", "popup choose OpenSourceFile\nrightclick Frame1\npopup choose MenuUpdateSource\nrightclick Frame1\n",
     "type IDString 保存\nclick SearchCommandbar\n", true},
    {"ApplyDesign", "click bars T1 1\ncheck DesignMode\nclick controls 1 2\ntype controls 设计\n",
     "popup choose AddToLast\nrightclick controls\n", false},
    {"UpdateSource", "", "popup choose MenuUpdateSource\nrightclick Frame1\n", false},
    {"TreeViewer", "popup choose MenuUpdateSource\nrightclick Frame1\ncheck Chk_Treeview\n",
     "popup choose Fill\nrightclick TreeView1\n", false},
    {"MacroList", "", "popup choose Refresh\nrightclick ListMacros\n", true},
    // A click whose report cannot be made ends in the add-button step's own error (Left refusing -1).
    {"Capture", "", "menu menuCommandbarCapture\nhost click Excel T1 1\nmenu menuNormal\n", false, false},
    // The icon viewer is built in resume mode: a failing step is skipped, and whatever was built stays.
    {"FaceIDViewerBuild", "click bars Standard 1\n", "dblclick controls 1 8\n", true, true, 100},
    {"FaceIDViewerRelabel", "click bars Standard 1\ndblclick controls 1 8\n", "dblclick controls 3 8\n", true, true,
     100},
};

// What a command may leave changed: every bar of every running host and every sheet of every workbook,
// each as one text, read past the fault plan.
std::map<std::string, std::string> snapshot(automation::OfficeMachine& office) {
    const FaultPlan::Pause pause(office.faultPlan());
    std::map<std::string, std::string> out;
    std::function<void(std::ostringstream&, automation::sim::SimCommandBar&, int)> bar =
        [&](std::ostringstream& s, automation::sim::SimCommandBar& b, int depth) {
            for (const auto& c : b.items()) {
                s << depth << '|' << c->id() << '|' << c->caption() << '|' << c->type() << '|' << c->visible() << '|'
                  << c->enabled() << '|' << c->OnAction() << '|' << c->Tag() << '|' << c->TooltipText() << '|'
                  << c->BeginGroup() << '|' << c->builtIn() << '\n';
                if (c->popupBar()) bar(s, *c->popupBar(), depth + 1);
            }
        };
    for (const char* key : {"Excel", "Word", "PowerPoint", "Outlook"}) {
        auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(office.host(key));
        if (!host) continue;
        auto bars = std::dynamic_pointer_cast<automation::sim::SimCommandBars>(host->CommandBars());
        for (int i = 0; i < bars->Count(); ++i) {
            auto b = bars->bar(static_cast<std::size_t>(i));
            std::ostringstream s;
            s << b->Visible() << '|' << b->Enabled() << '|' << b->Position() << '\n';
            bar(s, *b, 0);
            out[std::string(key) + "/" + b->name() + "#" + std::to_string(i)] = s.str();
        }
    }
    if (auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(office.host("Excel"))) {
        for (const auto& book : excel->Workbooks()->Enumerate()) {
            auto sim = std::dynamic_pointer_cast<automation::sim::SimWorkbook>(book);
            for (const auto& sheet : sim->snapshot().sheets) {
                std::ostringstream s;
                for (const auto& [at, v] : sheet.cells) s << at.first << ',' << at.second << '=' << v.toString() << ';';
                out[sim->name() + "/" + sheet.name] = s.str();
            }
        }
    }
    return out;
}

struct Outcome {
    std::map<std::string, std::string> before;
    std::map<std::string, std::string> after;
    std::vector<shell::ScriptedUi::ShownMessage> messages;  // shown by the action
    std::vector<FaultPlan::Call> calls;
    int failures = 0;
    std::string transcript;
};

class FaultSweepTest : public ::testing::TestWithParam<SweepCase> {
protected:
    // Runs the case from a fresh Office; with `failing` > 0 that call of the action fails.
    Outcome play(int failing) {
        std::ostringstream transcript;
        RunnerOptions options;
        options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
        options.programFiles = TESSALINE_WORKBOOK_DIR;
        ScenarioRunner runner(transcript, options);
        Outcome run;
        const SweepCase& c = GetParam();
        runner.run(parseScript(std::string(kBase) + c.setup, "setup.scn"));
        EXPECT_EQ(runner.failures(), 0) << transcript.str();
        FaultPlan& plan = *runner.office()->faultPlan();
        run.before = snapshot(*runner.office());
        const std::size_t shown = runner.ui()->messages.size();
        plan.clear();
        if (failing > 0) {
            FaultPlan::Fault fault;
            fault.first = fault.last = failing;
            plan.add(fault);
        }
        plan.startRecording();
        const int before = runner.failures();
        runner.run(parseScript(c.action, "action.scn"));
        run.calls = plan.calls();
        if (failing > 0) {
            EXPECT_EQ(plan.firedCount(), 1) << "call " << failing << " was not made again";
        }
        plan.clear();
        run.after = snapshot(*runner.office());
        run.messages.assign(runner.ui()->messages.begin() + static_cast<std::ptrdiff_t>(shown),
                            runner.ui()->messages.end());
        // The window goes on: attach again and list a bar.
        runner.run(parseScript("uncheck DesignMode\noption Excel\nclick bars Standard 1\nexpect rows controls = 6\n",
                               "after.scn"));
        run.failures = runner.failures() - before;
        run.transcript = transcript.str();
        return run;
    }
};

TEST_P(FaultSweepTest, EveryCallFailingIsHandledAsTheCommandsErrorModeSays) {
    const SweepCase& c = GetParam();
    const Outcome clean = play(0);
    ASSERT_EQ(clean.failures, 0) << clean.transcript;
    ASSERT_FALSE(clean.calls.empty()) << c.name << " made no automation call";
    const std::vector<int> failing = callsToFail(c, static_cast<int>(clean.calls.size()));
    for (const int i : failing) {
        const FaultPlan::Call& call = clean.calls[static_cast<std::size_t>(i) - 1];
        const std::string where =
            std::string(c.name) + ", call " + std::to_string(i) + " " + call.host + " " + call.type + "." + call.member;
        std::string member = call.member;
        if (member.back() == '=') member.pop_back();
        const std::string injected = "Method '" + member + "' of object '" + call.type + "' failed";
        const Outcome run = play(i);
        EXPECT_EQ(run.failures, 0) << where << "\n" << run.transcript;
        int boxes = 0;
        for (const auto& m : run.messages) {
            const bool known = std::any_of(clean.messages.begin(), clean.messages.end(),
                                           [&](const auto& k) { return k.prompt == m.prompt; });
            if (known) continue;
            ++boxes;
            if (c.exactText) {
                EXPECT_NE(m.prompt.find(injected), std::string::npos) << where << ": another error surfaced";
            }
        }
        EXPECT_LE(boxes, c.silent ? 0 : 1) << where << "\n" << run.transcript;
        // Nothing the command leaves alone when it works may change when it fails.
        for (const auto& [key, text] : run.before) {
            const auto cleanAfter = clean.after.find(key);
            if (cleanAfter == clean.after.end() || cleanAfter->second != text) continue;  // the command's target
            const auto now = run.after.find(key);
            EXPECT_TRUE(now != run.after.end() && now->second == text) << where << ": " << key << " changed or lost";
        }
    }
    std::cout << "[ sweep    ] " << c.name << ": " << failing.size() << " of " << clean.calls.size()
              << " call(s) failed one at a time\n";
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultSweepTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SweepCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessaline::scenario
