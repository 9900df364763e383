// Start: the in-memory Office read from its content folder and the main window opened on it (every handler
// attached, Form_Load run), as the program does before it shows anything. On the shipped content and on the
// whole Office with Excel grown 10 and 100 times (its bars, and Standard's controls, see GeneratedContent.h).
// The window's Qt side is not part of it; `tessaline --screenshot` measured with /usr/bin/time adds it and
// gives the memory (docs/performance.md).
#include <benchmark/benchmark.h>

#include <exception>
#include <map>
#include <memory>
#include <string>

#include "GeneratedContent.h"
#include "automation/Excel.h"
#include "automation/sim/SimOffice.h"
#include "program/Startup.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace {

using tessaline::automation::sim::SimOffice;
using tessaline::bench::GeneratedContent;

std::string contentFolder(int factor) {
    if (factor == 1) return SimOffice::defaultFolder();
    static std::map<int, std::unique_ptr<GeneratedContent>> generated;
    auto& slot = generated[factor];
    if (!slot) slot = std::make_unique<GeneratedContent>(SimOffice::defaultFolder(), factor, "Standard", factor, true);
    return slot->folder();
}

// Argument: how many times the shipped Excel's bars (and Standard's controls) the content holds.
void BM_Start(benchmark::State& state) {
    const std::string folder = contentFolder(static_cast<int>(state.range(0)));
    int bars = 0;
    try {
        for (auto _ : state) {
            auto office = SimOffice::load(folder);
            tessaline::shell::ScriptedUi ui;
            auto form = tessaline::program::openMainWindow(*office, ui);
            state.PauseTiming();  // the teardown is not part of the start
            const auto excel =
                std::dynamic_pointer_cast<tessaline::automation::ExcelApplication>(office->host("Excel"));
            bars = excel ? excel->CommandBars()->Count() : 0;
            form.reset();
            office.reset();
            state.ResumeTiming();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.counters["excel_bars"] = bars;
}
BENCHMARK(BM_Start)->ArgName("x")->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
