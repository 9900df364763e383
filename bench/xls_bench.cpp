// Reading and writing a workbook the size of a large recorded command-bar tree: 30,000 rows by 11 columns,
// laid out like the control grid (numbers, captions, Booleans, macro names).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "xls/XlsFile.h"

namespace {

using tessaline::automation::Variant;
using tessaline::xls::WorkbookData;

WorkbookData gridWorkbook() {
    WorkbookData book;
    book.sheets.push_back({"Excel", {}});
    auto& cells = book.sheets[0].cells;
    for (int row = 1; row <= 30000; ++row) {
        cells[{row, 1}] = Variant(static_cast<double>(row));
        cells[{row, 2}] = Variant(static_cast<double>(row % 4000 + 1));
        cells[{row, 3}] = Variant("控件标题 " + std::to_string(row) + "(&C)");
        cells[{row, 4}] = Variant(row % 3 == 0);
        cells[{row, 5}] = Variant(row % 7 == 0);
        cells[{row, 6}] = Variant(static_cast<double>(row % 2 == 0 ? 1 : 10));
        cells[{row, 7}] = Variant(true);
        cells[{row, 8}] = Variant(row % 5 != 0);
        cells[{row, 9}] = Variant(static_cast<double>(row % 3000));
        cells[{row, 10}] = Variant("Macro_" + std::to_string(row % 500));
        cells[{row, 11}] = Variant("提示语 " + std::to_string(row % 1000) + ".5");
    }
    return book;
}

std::string benchPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("tessaline-bench-") + name)).string();
}

void BM_WriteWorkbook30000x11(benchmark::State& state) {
    const WorkbookData book = gridWorkbook();
    const std::string path = benchPath("write.xls");
    for (auto _ : state) {
        tessaline::xls::writeWorkbook(path, book);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteWorkbook30000x11)->Unit(benchmark::kMillisecond);

void BM_ReadWorkbook30000x11(benchmark::State& state) {
    const std::string path = benchPath("read.xls");
    tessaline::xls::writeWorkbook(path, gridWorkbook());
    std::size_t cells = 0;
    for (auto _ : state) {
        const WorkbookData book = tessaline::xls::readWorkbook(path);
        cells = book.sheets[0].cells.size();
        benchmark::DoNotOptimize(cells);
    }
    state.counters["cells"] = static_cast<double>(cells);
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadWorkbook30000x11)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
