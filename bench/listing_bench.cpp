// The two listings every host choice and every bar click run: all bars into the bar grid (ListCommandbars)
// and one bar's controls into the control grid (a click on the bar's name). Each runs on the window attached
// to the in-memory Excel at the shipped content's size and on generated content 10 and 100 times as large,
// so the time per row shows whether a listing grows linearly with the host.
#include <benchmark/benchmark.h>

#include <exception>
#include <map>
#include <memory>
#include <string>

#include "GeneratedContent.h"
#include "automation/Office.h"
#include "automation/sim/SimOffice.h"
#include "shell/CommandbarGrid.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace {

using tessaline::automation::sim::SimOffice;
using tessaline::bench::GeneratedContent;
using tessaline::shell::Form1;
using tessaline::shell::ScriptedUi;

// The bar whose controls are listed, and grown in the generated content: the largest of the shipped Excel.
const char* const kListedBar = "Standard";

// The window on its own in-memory Office, attached to Excel as the user does it.
struct Session {
    Session(int barFactor, int controlFactor) {
        if (barFactor == 1 && controlFactor == 1) {
            office = SimOffice::loadDefault();
        } else {
            content =
                std::make_unique<GeneratedContent>(SimOffice::defaultFolder(), barFactor, kListedBar, controlFactor);
            office = SimOffice::load(content->folder());
        }
        form = std::make_unique<Form1>(*office, ui);
        form->load();
        form->userClick(form->Excel);
    }

    int barRow(const std::string& name) const {
        for (int r = 1; r < form->ListAllCommandbars.Rows(); ++r) {
            if (form->ListAllCommandbars.TextMatrix(r, 1) == name) return r;
        }
        return -1;
    }

    std::unique_ptr<GeneratedContent> content;
    std::unique_ptr<SimOffice> office;
    ScriptedUi ui;
    std::unique_ptr<Form1> form;
};

// Loading 100 times the shipped bars takes a while: each size is loaded once for all its runs.
Session& session(int barFactor, int controlFactor) {
    static std::map<std::pair<int, int>, std::unique_ptr<Session>> sessions;
    auto& slot = sessions[{barFactor, controlFactor}];
    if (!slot) slot = std::make_unique<Session>(barFactor, controlFactor);
    return *slot;
}

void reportRows(benchmark::State& state, int rows) {
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["rows"] = rows;
    // Seconds per row, shown with an SI prefix (e.g. 1.2u = 1.2 microseconds).
    state.counters["per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Argument: how many times the shipped Excel's bars the host holds. The listing also lists the first bar's
// controls (its current column is the name column), a constant handful of rows at every size.
void BM_ListCommandbars(benchmark::State& state) {
    const int factor = static_cast<int>(state.range(0));
    Session& s = session(factor, factor);
    Form1& form = *s.form;
    const int bars = form.HostCommandBars()->Count();
    try {
        for (auto _ : state) {
            tessaline::shell::ListCommandbars(form);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    if (form.ListAllCommandbars.Rows() != bars + 1) {
        state.SkipWithError("the bar grid does not hold one row per bar");
        return;
    }
    reportRows(state, bars);
}
BENCHMARK(BM_ListCommandbars)->ArgName("x")->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// Argument: how many times its shipped controls the listed bar holds (the host's bars grow alike).
void BM_ListBarControls(benchmark::State& state) {
    const int factor = static_cast<int>(state.range(0));
    Session& s = session(factor, factor);
    Form1& form = *s.form;
    const int row = s.barRow(kListedBar);
    if (row < 0) {
        state.SkipWithError("the listed bar is not in the bar grid");
        return;
    }
    const int controls = form.HostCommandBars()->Item(kListedBar)->Controls()->Count();
    for (auto _ : state) {
        form.userClickCell(form.ListAllCommandbars, row, 1);
    }
    if (form.ListAllCommandControls.Rows() != controls + 1 || !s.ui.messages.empty()) {
        state.SkipWithError("the control grid does not hold one row per control");
        return;
    }
    reportRows(state, controls);
}
BENCHMARK(BM_ListBarControls)->ArgName("x")->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// A bar with more controls than RowCounter, a 16-bit Integer, can count (1435 times Standard's 23 is 33005).
// Once RowCounter stops at 32767 every further control lands at that row, above the ones before it. The
// counters show how many rows the grid holds and how many of them no longer show the control whose Index
// is their row number.
void BM_ListBarControlsPastRowCounterLimit(benchmark::State& state) {
    Session& s = session(1, 1435);
    Form1& form = *s.form;
    const int row = s.barRow(kListedBar);
    if (row < 0) {
        state.SkipWithError("the listed bar is not in the bar grid");
        return;
    }
    const int controls = form.HostCommandBars()->Item(kListedBar)->Controls()->Count();
    for (auto _ : state) {
        form.userClickCell(form.ListAllCommandbars, row, 1);
    }
    const auto& grid = form.ListAllCommandControls;
    int misplaced = 0;
    for (int r = 1; r < grid.Rows(); ++r) {
        if (grid.TextMatrix(r, 0) != std::to_string(r)) ++misplaced;
    }
    reportRows(state, controls);
    state.counters["grid_rows"] = grid.Rows() - 1;
    state.counters["misplaced"] = misplaced;
    state.counters["RowCounter"] = form.RowCounter;
    state.counters["errors_shown"] = static_cast<double>(s.ui.messages.size());
}
BENCHMARK(BM_ListBarControlsPastRowCounterLimit)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
