// The two long walks of the source workbooks: recording the attached Excel's whole command-bar tree into its
// sheet of the toolbar source ("更新源", UpdateToolbarSource), and loading the tree viewer from that sheet
// ("加载"). Each runs on the window attached to the in-memory Excel at the shipped content's size and on
// generated content with 10 and 100 times its bars; 100 times needs more rows than the 16-bit row counter
// reaches, so that walk stops at row 32767 and the counters show it.
#include <benchmark/benchmark.h>

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
#include "sources/SourceWorkbooks.h"
#include "sources/TreeViewer.h"

namespace {

using tessaline::automation::sim::SimOffice;
using tessaline::bench::GeneratedContent;
using tessaline::shell::Form1;
using tessaline::shell::ScriptedUi;
namespace fs = std::filesystem;

// The window attached to Excel, with a program folder of its own holding a copy of the toolbar source, which
// is open in Excel as "打开源文件" leaves it.
struct Session {
    explicit Session(int barFactor) {
        if (barFactor == 1) {
            office = SimOffice::loadDefault();
        } else {
            content = std::make_unique<GeneratedContent>(SimOffice::defaultFolder(), barFactor, "Standard", 1);
            office = SimOffice::load(content->folder());
        }
        folder = fs::temp_directory_path() /
                 ("tessaline-bench-sources-" + std::to_string(::getpid()) + "-" + std::to_string(barFactor));
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(fs::path(TESSALINE_WORKBOOK_DIR) / tessaline::sources::ToolbarSourceName,
                      folder / tessaline::sources::ToolbarSourceName);
        form = std::make_unique<Form1>(*office, ui);
        form->App.Path = folder.string();
        form->load();
        form->userClick(form->Excel);
        tessaline::sources::OpenSourceFile_Click(*form);
    }
    ~Session() {
        form.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The rows of the host's sheet: the block around A1 ends at the last recorded row.
    int recordedRows() { return form->SourceSheet->Range("A1")->CurrentRegion()->RowsCount(); }

    std::unique_ptr<GeneratedContent> content;
    std::unique_ptr<SimOffice> office;
    fs::path folder;
    ScriptedUi ui;
    std::unique_ptr<Form1> form;
};

Session& session(int barFactor) {
    static std::map<int, std::unique_ptr<Session>> sessions;
    auto& slot = sessions[barFactor];
    if (!slot) slot = std::make_unique<Session>(barFactor);
    return *slot;
}

void reportRows(benchmark::State& state, int rows) {
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["rows"] = rows;
    // Seconds per row, shown with an SI prefix (e.g. 1.2u = 1.2 microseconds).
    state.counters["per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Argument: how many times the shipped Excel's bars the host holds.
void BM_UpdateToolbarSource(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)));
    const std::size_t messagesBefore = s.ui.messages.size();
    try {
        for (auto _ : state) {
            tessaline::sources::UpdateToolbarSource(*s.form);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    if (!s.form->SourceSheet) {
        state.SkipWithError("no sheet was selected");
        return;
    }
    reportRows(state, s.recordedRows());
    state.counters["bars"] = s.form->HostCommandBars()->Count();
    // A walk cut short at the last row reports it once per run.
    state.counters["stopped_at_row_limit"] = s.form->StatusBar1.PanelText(6) != "Completed";
    state.counters["errors_shown"] = static_cast<double>(s.ui.messages.size() - messagesBefore);
}
BENCHMARK(BM_UpdateToolbarSource)->ArgName("x")->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// Argument as above; the sheet is recorded once before the timed loads.
void BM_LoadTreeViewer(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)));
    tessaline::sources::UpdateToolbarSource(*s.form);
    const std::size_t messagesBefore = s.ui.messages.size();
    for (auto _ : state) {
        tessaline::sources::Fill_Click(*s.form);
    }
    if (s.ui.messages.size() != messagesBefore || s.form->StatusBar1.PanelText(6) != "Completed") {
        state.SkipWithError("the load did not complete");
        return;
    }
    reportRows(state, s.form->TreeView1.Nodes().Count());
}
BENCHMARK(BM_LoadTreeViewer)->ArgName("x")->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
