// The toolbar capture: hooking every toolbar button of Excel ("获取工具栏"), releasing the hooks again
// ("恢复正常"), and a click on a hooked button, which reaches every hook of the buttons that share its Id and
// climbs to its bar for the report. Runs on the
// shipped Excel and on generated content 10 and 100 times as large, so that the time per hook shows whether
// hooking grows linearly with the host, and the click's time how it grows with the hooks it must pass.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "GeneratedContent.h"
#include "automation/Excel.h"
#include "automation/sim/SimOffice.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "sources/Capture.h"
#include "sources/SourcesHandlers.h"

namespace {

namespace fs = std::filesystem;
using tessaline::automation::sim::SimOffice;
using tessaline::bench::GeneratedContent;
using tessaline::shell::Form1;
using tessaline::shell::ScriptedUi;
using tessaline::sources::Capture;

// The bar grown in the generated content.
const char* const kGrownBar = "Standard";

// The window attached to Excel with a menu-bar workbook open, as before a capture. A toolbar capture only
// selects the host's sheet of it, so an empty workbook saved under that name into a temporary folder does.
struct Session {
    explicit Session(int factor) {
        if (factor == 1) {
            office = SimOffice::loadDefault();
        } else {
            content = std::make_unique<GeneratedContent>(SimOffice::defaultFolder(), factor, kGrownBar, factor);
            office = SimOffice::load(content->folder());
        }
        form = std::make_unique<Form1>(*office, ui);
        tessaline::sources::attachHandlers(*form);
        form->load();
        folder = fs::temp_directory_path() /
                 ("tessaline-capture-bench-" + std::to_string(::getpid()) + "-" + std::to_string(factor));
        fs::create_directories(folder);
        auto excel = std::dynamic_pointer_cast<tessaline::automation::ExcelApplication>(office->host("Excel"));
        auto book = excel->Workbooks()->Add();
        book->AddWorksheet("Excel");
        book->SaveAs((folder / "MenuBar.xls").string());
        form->userClick(form->Excel);
    }
    ~Session() {
        form.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::unique_ptr<GeneratedContent> content;
    std::unique_ptr<SimOffice> office;
    ScriptedUi ui;
    std::unique_ptr<Form1> form;
    fs::path folder;
};

Session& session(int factor) {
    static std::map<int, std::unique_ptr<Session>> sessions;
    auto& slot = sessions[factor];
    if (!slot) slot = std::make_unique<Session>(factor);
    return *slot;
}

void reportPerItem(benchmark::State& state, const char* name, int items) {
    state.SetItemsProcessed(state.iterations() * items);
    state.counters[name] = items;
    state.counters["per_item"] =
        benchmark::Counter(items, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Argument: how many times the shipped Excel's bars the host holds. Each iteration is one "获取工具栏" into a
// fresh set of hooks; releasing them is not timed.
void BM_CaptureToolbars(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)));
    int hooks = 0;
    try {
        for (auto _ : state) {
            Capture capture(*s.form);
            capture.menuCommandbarCapture_Click();
            hooks = capture.CapturedButtons().Count();
            state.PauseTiming();
            capture.menuNormal_Click();
            state.ResumeTiming();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    if (!s.ui.messages.empty()) {
        state.SkipWithError(("the capture reported: " + s.ui.messages.front().prompt).c_str());
        return;
    }
    reportPerItem(state, "hooks", hooks);
}
BENCHMARK(BM_CaptureToolbars)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// "恢复正常" after hooking every toolbar button: each hook lets go of its button on its own.
void BM_ReleaseHooks(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)));
    int hooks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Capture capture(*s.form);
        capture.menuCommandbarCapture_Click();
        hooks = capture.CapturedButtons().Count();
        state.ResumeTiming();
        capture.menuNormal_Click();
    }
    reportPerItem(state, "hooks", hooks);
}
BENCHMARK(BM_ReleaseHooks)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// A click on Standard's "保存(&S)" with every toolbar button hooked. Save's Id is shared by several bars'
// buttons, and the host calls every hook of that Id; each rebuilds the same report.
void BM_ClickHookedButton(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)));
    Capture capture(*s.form);
    capture.menuCommandbarCapture_Click();
    const int hooks = capture.CapturedButtons().Count();
    s.office->clearActionLog();
    try {
        for (auto _ : state) {
            s.office->clickButton("Excel", kGrownBar, {3});
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    if (s.form->Code.Text().rfind("ID:=3\r\n", 0) != 0 || !s.office->actionLog().empty()) {
        state.SkipWithError("the click was not captured");
        return;
    }
    state.counters["hooks"] = hooks;
    capture.menuNormal_Click();
}
BENCHMARK(BM_ClickHookedButton)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
