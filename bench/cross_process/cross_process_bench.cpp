// The walks that make many automation calls, timed twice in one run: against the in-memory Office in this
// process and against the same content served by tessaline-office.exe in a process of its own, as the tool
// meets real Office. Across processes an operation costs what its calls cost, so each row also gives how many
// calls crossed to the server. Debian ships Google Benchmark only as a Linux library, so this Windows program
// keeps its own small loop: each operation runs until it has taken `--min-time` seconds (at least once) and
// the median run is reported.
//
//   tessaline-cross-process-bench.exe [--min-time SECONDS] [--content FOLDER]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/FilePath.h"
#include "automation/Office.h"
#include "automation/OfficeMachine.h"
#include "automation/com/Dispatch.h"
#include "automation/com/RemoteOffice.h"
#include "automation/com/Text.h"
#include "automation/com/Win32.h"
#include "automation/sim/SimOffice.h"
#include "program/Handlers.h"
#include "shell/CommandbarGrid.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "sources/Capture.h"
#include "sources/SourceWorkbooks.h"

namespace {

namespace fs = std::filesystem;
using tessaline::automation::OfficeMachine;
using tessaline::automation::com::Dispatch;
using tessaline::shell::Form1;
using Clock = std::chrono::steady_clock;

double minTime = 2.0;

// The window attached to Excel, with a program folder of its own holding a copy of the toolbar source, as
// the user leaves it after "打开源文件".
struct Side {
    Side(std::unique_ptr<OfficeMachine> machine, const fs::path& programFiles, const std::string& name)
        : office(std::move(machine)) {
        folder = fs::temp_directory_path() / ("tessaline-xbench-" + name + "-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(programFiles / tessaline::sources::ToolbarSourceName,
                      folder / tessaline::sources::ToolbarSourceName);
        fs::copy_file(programFiles / "Menubar.xls", folder / "Menubar.xls");
        tessaline::shell::AppProperties app = tessaline::shell::AppProperties::current();
        app.Path = tessaline::automation::pathText(folder);
        form = std::make_unique<Form1>(*office, ui, app);
        tessaline::program::attachSubsystemHandlers(*form);
        form->load();
        form->userClick(form->Excel);
        // A capture reports into the host's sheet of the menu-bar workbook, which a recording of the menu bar
        // makes.
        tessaline::sources::menuMenubarOpen_Click(*form);
        tessaline::sources::menuMenubarRefresh_Click(*form);
        tessaline::sources::OpenSourceFile_Click(*form);
        for (const auto& box : ui.messages)
            std::printf("  (%s set-up: message box: %s)\n", name.c_str(), box.prompt.c_str());
    }
    ~Side() {
        form.reset();
        office.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    Side(const Side&) = delete;
    Side& operator=(const Side&) = delete;

    int barRow(const std::string& name) const {
        for (int r = 1; r < form->ListAllCommandbars.Rows(); ++r) {
            if (form->ListAllCommandbars.TextMatrix(r, 1) == name) return r;
        }
        return -1;
    }

    std::unique_ptr<OfficeMachine> office;
    tessaline::shell::ScriptedUi ui;
    std::unique_ptr<Form1> form;
    fs::path folder;
};

struct Result {
    double medianMs = 0;
    int runs = 0;
    std::uint64_t callsPerRun = 0;
    std::string error;
};

// `setUp` runs untimed before each run, `run` is timed.
Result measure(const std::function<void()>& run, const std::function<void()>& setUp = {}) {
    Result result;
    std::vector<double> times;
    double total = 0;
    try {
        do {
            if (setUp) setUp();
            const std::uint64_t callsBefore = Dispatch::callsMade();
            const auto start = Clock::now();
            run();
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            result.callsPerRun = Dispatch::callsMade() - callsBefore;
            times.push_back(ms);
            total += ms / 1000.0;
        } while (total < minTime && times.size() < 1000);
    } catch (const std::exception& e) {
        result.error = e.what();
        return result;
    }
    std::sort(times.begin(), times.end());
    result.medianMs = times[times.size() / 2];
    result.runs = static_cast<int>(times.size());
    return result;
}

void report(const char* name, const char* side, const Result& r, const std::string& items) {
    if (!r.error.empty()) {
        std::printf("%-30s %-14s ERROR %s\n", name, side, r.error.c_str());
        return;
    }
    std::printf("%-30s %-14s %12.3f ms %6d runs %10llu calls  %s\n", name, side, r.medianMs, r.runs,
                static_cast<unsigned long long>(r.callsPerRun), items.c_str());
    std::fflush(stdout);
}

void benchmarkSide(Side& s, const char* side) {
    Form1& form = *s.form;

    const int bars = form.HostCommandBars()->Count();
    const Result listing = measure([&] { tessaline::shell::ListCommandbars(form); });
    report("ListCommandbars", side, listing, std::to_string(bars) + " bars");

    const int row = s.barRow("Standard");
    if (row > 0) {
        form.userClickCell(form.ListAllCommandbars, row, 1);
        const Result click = measure([&] { form.userClickCell(form.ListAllCommandbars, row, 1); });
        report("ListBarControls/Standard", side, click,
               std::to_string(form.ListAllCommandControls.Rows() - 1) + " controls");
    }

    const Result recording = measure([&] { tessaline::sources::UpdateToolbarSource(form); });
    report("UpdateToolbarSource", side, recording,
           form.SourceSheet ? std::to_string(form.SourceSheet->Range("A1")->CurrentRegion()->RowsCount()) + " rows"
                            : "no sheet");

    std::unique_ptr<tessaline::sources::Capture> capture;
    int hooks = 0;
    const Result hooking = measure(
        [&] {
            capture->menuCommandbarCapture_Click();
            hooks = capture->CapturedButtons().Count();
        },
        [&] {
            if (capture) capture->menuNormal_Click();
            capture = std::make_unique<tessaline::sources::Capture>(form);
        });
    report("CaptureToolbars (hook all)", side, hooking, std::to_string(hooks) + " hooks");
    if (capture) {
        capture.reset();
        const Result release = measure([&] { capture->menuNormal_Click(); },
                                       [&] {
                                           capture = std::make_unique<tessaline::sources::Capture>(form);
                                           capture->menuCommandbarCapture_Click();
                                       });
        report("ReleaseHooks", side, release, std::to_string(hooks) + " hooks");
        capture.reset();
    }

    auto bars1 = form.HostCommandBars();
    const Result read = measure([&] { (void)bars1->Count(); });
    report("CommandBars.Count (1 read)", side, read, "");
    // A walk that reported errors measured something else than it should.
    for (const auto& box : s.ui.messages) std::printf("  (%s: message box: %s)\n", side, box.prompt.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::string content;
    bool inProcessOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = tessaline::automation::com::toUtf8(std::wstring_view(argv[i]));
        if (arg == "--min-time" && i + 1 < argc) {
            minTime = std::stod(tessaline::automation::com::toUtf8(std::wstring_view(argv[++i])));
        } else if (arg == "--in-process-only") {
            inProcessOnly = true;
        } else if (arg == "--content" && i + 1 < argc) {
            content = tessaline::automation::com::toUtf8(std::wstring_view(argv[++i]));
        } else {
            std::fprintf(
                stderr,
                "usage: tessaline-cross-process-bench [--min-time SECONDS] [--content FOLDER] [--in-process-only]\n");
            return 2;
        }
    }
    if (content.empty()) content = tessaline::automation::sim::SimOffice::defaultFolder();
    const fs::path programFiles = tessaline::automation::executableFile().parent_path();

    try {
        {
            Side in(tessaline::automation::sim::SimOffice::load(content), programFiles, "in");
            benchmarkSide(in, "in-process");
        }
        if (!inProcessOnly) {
            tessaline::automation::com::RemoteOffice::Options options;
            options.contentFolder = content;
            Side out(std::make_unique<tessaline::automation::com::RemoteOffice>(options), programFiles, "out");
            benchmarkSide(out, "cross-process");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cross-process bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
