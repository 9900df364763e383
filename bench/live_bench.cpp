// What a person feels: each interaction of the goal list played through the real window with the host windows
// on (`tessaline --scenario --live`), on the shipped content and on generated content with 10 and 100 times
// Excel's bars and Standard's controls (GeneratedContent.h). A benchmark's time is the slowest command of
// its interaction, from the command until the windows have caught up and painted; what leads up to the
// interaction is played untimed before it, on a fresh Office and window every iteration.
//
//   build/bench/live_bench --benchmark_filter=/1x     # the shipped content only
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "GeneratedContent.h"
#include "automation/sim/SimOffice.h"
#include "scenario/Script.h"
#include "ui/LiveScenario.h"

namespace {

using tessaline::automation::sim::SimOffice;
using tessaline::bench::GeneratedContent;

struct Interaction {
    const char* name;
    std::string setup;     // played untimed
    std::string measured;  // the slowest of these commands is the figure
};

std::string designRows(int rows) {
    std::string script =
        "option Excel\nanswer input 设计工具栏\npopup choose CreateToolbar\nrightclick bars\nclick bars 设计工具栏 1\n"
        "check DesignMode\n";
    for (int row = 1; row <= rows; ++row) {
        if (row > 1) script += "popup choose AddLine\nrightclick controls\n";
        const std::string r = std::to_string(row);
        script += "click controls " + r + " 2\ntype controls 按钮" + r + "\nclick controls " + r +
                  " 5\ntype controls 1\nclick controls " + r + " 8\ntype controls " + std::to_string(58 + row) + "\n";
    }
    return script;
}

const std::string kStandard = "option Excel\nclick bars Standard 1\n";
const std::string kCaptured = "programfolder copy\noption Excel\nmenu menuMenubarOpen\nmenu menuCommandbarCapture\n";
const std::string kRecorded =
    "programfolder copy\noption Excel\npopup choose OpenSourceFile\nrightclick Frame1\ncheck Chk_Treeview\n"
    "popup choose MenuUpdateSource\nrightclick Frame1\n";

const std::vector<Interaction>& interactions() {
    static const std::vector<Interaction> all = {
        {"ChooseHost", "option Word\n", "option Excel\n"},
        {"ClickBar", "option Excel\n", "click bars Standard 1\nclick bars Formatting 1\n"},
        {"Modify", kStandard + "click controls 3 2\nkeydown controls Delete\ntype controls 保存工作簿(&S)\n",
         "popup choose ModifyControl\nrightclick controls\n"},
        {"Design20Rows", designRows(20), "popup choose AddToLast\nrightclick controls\n"},
        {"FaceIdViewerBuild", kStandard, "dblclick controls 1 8\n"},
        {"FaceIdViewerRelabel", kStandard + "dblclick controls 1 8\n", "dblclick controls 3 8\n"},
        {"RecordTree", kRecorded.substr(0, kRecorded.find("popup choose MenuUpdateSource")),
         "popup choose MenuUpdateSource\nrightclick Frame1\n"},
        {"LoadTree", kRecorded, "popup choose Fill\nrightclick TreeView1\n"},
        {"Search", kRecorded, "type IDString 另存为\nclick SearchCommandbar\n"},
        {"HookAllButtons", "programfolder copy\noption Excel\nmenu menuMenubarOpen\n", "menu menuCommandbarCapture\n"},
        {"ReleaseAllButtons", kCaptured, "menu menuNormal\n"},
        {"HookedClick", kCaptured, "host click Excel Standard 12.3\nhost click Excel Standard 3\n"},
    };
    return all;
}

// The content of each size, made once and shared by every benchmark of that size.
const std::string& contentFolder(int factor) {
    static std::map<int, std::unique_ptr<GeneratedContent>> made;
    static const std::string shipped = SimOffice::defaultFolder();
    if (factor == 1) return shipped;
    auto& content = made[factor];
    if (!content) content = std::make_unique<GeneratedContent>(SimOffice::defaultFolder(), factor, "Standard", factor);
    static std::map<int, std::string> folders;
    return folders[factor] = content->folder();
}

void playInteraction(benchmark::State& state, const Interaction& interaction, int factor) {
    tessaline::scenario::RunnerOptions options;
    options.contentFolder = contentFolder(factor);
    options.programFiles = TESSALINE_WORKBOOK_DIR;
    const tessaline::scenario::Script setup = tessaline::scenario::parseScript(interaction.setup, "setup");
    const tessaline::scenario::Script measured = tessaline::scenario::parseScript(interaction.measured, "measured");
    double slowest = 0;
    for (auto _ : state) {
        std::ostringstream transcript;
        tessaline::ui::LiveScenario live(transcript, options);
        if (live.runner().run(setup) != 0) {
            state.SkipWithError(("the setup failed:\n" + transcript.str()).c_str());
            return;
        }
        live.clearTimings();
        if (live.runner().run(measured) != 0) {
            state.SkipWithError(("the interaction failed:\n" + transcript.str()).c_str());
            return;
        }
        double ms = 0;
        for (const auto& timing : live.timings()) ms = std::max(ms, timing.ms);
        slowest = std::max(slowest, ms);
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["slowest_ms"] = slowest;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    for (const int factor : {1, 10, 100}) {
        for (const Interaction& interaction : interactions()) {
            const std::string name = std::string("Live/") + interaction.name + "/" + std::to_string(factor) + "x";
            benchmark::RegisterBenchmark(
                name.c_str(),
                [&interaction, factor](benchmark::State& state) { playInteraction(state, interaction, factor); })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(factor == 1    ? 5
                             : factor == 10 ? 3
                                            : 1);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
