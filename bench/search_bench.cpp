// The search of "搜索工具栏" over Excel's recorded command-bar tree: the host's sheet of the toolbar source
// written by "更新源" from the shipped Excel (118 bars, about 1800 recorded rows) and from generated content
// with 10 times its bars. One search is one pass over the sheet's region (two for a two-part key) plus a
// host lookup per found bar, so the time per region cell shows whether it grows linearly with the sheet.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>

#include "GeneratedContent.h"
#include "automation/Excel.h"
#include "automation/sim/SimOffice.h"
#include "editing/EditingHandlers.h"
#include "editing/Search.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "sources/SourceWorkbooks.h"

namespace {

using tessaline::automation::ExcelApplication;
using tessaline::automation::sim::SimOffice;
using tessaline::bench::GeneratedContent;
using tessaline::shell::Form1;
using tessaline::shell::ScriptedUi;

// The window attached to Excel, with the toolbar source open (saved into a folder of its own) and Excel's
// whole tree recorded into its sheet "Excel" by the program's own writer.
struct Session {
    explicit Session(int barFactor) {
        if (barFactor == 1) {
            office = SimOffice::loadDefault();
        } else {
            content = std::make_unique<GeneratedContent>(SimOffice::defaultFolder(), barFactor, "Standard", 1);
            office = SimOffice::load(content->folder());
        }
        static std::atomic<int> serial{0};
        folder = std::filesystem::temp_directory_path() /
                 ("tessaline-bench-search-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(folder);

        form = std::make_unique<Form1>(*office, ui);
        tessaline::editing::attachHandlers(*form);
        form->load();
        form->userClick(form->Excel);

        auto excel = std::dynamic_pointer_cast<ExcelApplication>(office->host("Excel"));
        auto book = excel->Workbooks()->Add();
        book->Worksheets(1)->SetName("Excel");
        book->SaveAs((folder / tessaline::editing::SearchedWorkbookName).string());
        tessaline::sources::UpdateToolbarSource(*form);
        sheet = book->Worksheets(std::string("Excel"));
        regionCells = sheet->Range("A1")->CurrentRegion()->Count();
        recordedRows = sheet->Range("A1")->CurrentRegion()->RowsCount();
    }
    ~Session() {
        form.reset();
        office.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::unique_ptr<GeneratedContent> content;
    std::unique_ptr<SimOffice> office;
    std::filesystem::path folder;
    ScriptedUi ui;
    std::unique_ptr<Form1> form;
    tessaline::automation::WorksheetPtr sheet;
    int regionCells = 0;
    int recordedRows = 0;
};

Session& session(int barFactor) {
    static std::map<int, std::unique_ptr<Session>> sessions;
    auto& slot = sessions[barFactor];
    if (!slot) slot = std::make_unique<Session>(barFactor);
    return *slot;
}

// Argument 0: how many times the shipped Excel's bars the host holds.
void runSearch(benchmark::State& state, const std::string& key, int passes) {
    Session& s = session(static_cast<int>(state.range(0)));
    Form1& form = *s.form;
    if (s.recordedRows < 100) {
        state.SkipWithError("the host's tree was not recorded");
        return;
    }
    form.IDString.SetText(key);
    for (auto _ : state) {
        form.userClick(form.SearchCommandbar);
    }
    if (form.StatusBar1.PanelText(6) != "Completed" || !s.ui.messages.empty()) {
        state.SkipWithError("the search did not complete quietly");
        return;
    }
    const int found = form.ListAllCommandbars.Rows() - 1;
    state.SetItemsProcessed(state.iterations() * s.regionCells * passes);
    state.counters["rows"] = s.recordedRows;
    state.counters["found"] = found;
    // Seconds per region cell visited, shown with an SI prefix (e.g. 1.2u = 1.2 microseconds).
    state.counters["per_cell"] = benchmark::Counter(
        s.regionCells * passes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A caption many bars hold: every match climbs to its bar and most bars are listed.
void BM_SearchCommonCaption(benchmark::State& state) { runSearch(state, "粘贴", 1); }
BENCHMARK(BM_SearchCommonCaption)->ArgName("x")->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// A caption one bar holds: nearly the bare cost of the pass.
void BM_SearchRareCaption(benchmark::State& state) { runSearch(state, "XML 扩展包", 1); }
BENCHMARK(BM_SearchRareCaption)->ArgName("x")->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// A caption and an Index: each caption that matches also reads its row's Index.
void BM_SearchCaptionAndIndex(benchmark::State& state) { runSearch(state, "图表,3", 1); }
BENCHMARK(BM_SearchCaptionAndIndex)->ArgName("x")->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Two captions: two passes and an intersection of the two sets of bars.
void BM_SearchTwoCaptions(benchmark::State& state) { runSearch(state, "粘贴,批注", 2); }
BENCHMARK(BM_SearchTwoCaptions)->ArgName("x")->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// A key Like cannot read is seen once, not once per cell.
void BM_SearchUnreadableKey(benchmark::State& state) { runSearch(state, "[剪", 1); }
BENCHMARK(BM_SearchUnreadableKey)->ArgName("x")->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
