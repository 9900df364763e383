// tessaline-scenario: runs scenario scripts against the window on the in-memory Office, headless, and
// prints the transcript. Exits 0 when every check passed, 1 when any failed, 2 on a bad command line.
#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "scenario/ScenarioRunner.h"

#ifdef _WIN32
#include <windows.h>

#include "automation/com/RemoteOffice.h"
#include "automation/com/Text.h"
#include "automation/sim/SimOffice.h"
#else
#include <QApplication>

#include "ui/WindowPicture.h"
#endif

namespace {

void usage(std::ostream& out) {
    out << "usage: tessaline-scenario [--content FOLDER] SCRIPT.scn...\n"
           "Runs each script on a fresh in-memory Office (its default content, or FOLDER) and prints what it\n"
           "did and saw. The script language is described in docs/scenario.md.\n";
}

// The command line as UTF-8 words, without the program name.
int runScenarios(const std::vector<std::string>& args, tessaline::scenario::RunnerOptions options) {
    std::vector<std::string> scripts;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        if (arg == "--content") {
            if (i + 1 == args.size()) {
                usage(std::cerr);
                return 2;
            }
            options.contentFolder = args[++i];
        } else if (arg.rfind("--", 0) == 0) {
            std::cerr << "unknown option " << arg << '\n';
            usage(std::cerr);
            return 2;
        } else {
            scripts.push_back(arg);
        }
    }
    if (scripts.empty()) {
        usage(std::cerr);
        return 2;
    }

    tessaline::scenario::ScenarioRunner runner(std::cout, options);
    // Each script starts from a fresh Office, so no script leans on what another left behind.
    for (const std::string& script : scripts) {
        runner.reset();
        runner.runFile(script);
    }
    std::cout << runner.checks() << " check(s) in " << scripts.size() << " script(s), " << runner.failures()
              << " failure(s)\n";
    return runner.failures() == 0 ? 0 : 1;
}

}  // namespace

#ifdef _WIN32

// No window can be drawn here, so `screenshot` reports that it is unavailable.
int wmain(int argc, wchar_t** argv) {
    // The transcript is UTF-8, as are captions in it.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(tessaline::automation::com::toUtf8(std::wstring_view(argv[i])));
    tessaline::scenario::RunnerOptions options;
    // Every script runs against tessaline-office.exe (beside this program) in a process of its own, attached
    // over COM as the tool attaches to Office.
    options.startOffice = [](const std::string& folder) -> std::unique_ptr<tessaline::automation::OfficeMachine> {
        tessaline::automation::com::RemoteOffice::Options office;
        office.contentFolder = folder.empty() ? tessaline::automation::sim::SimOffice::defaultFolder() : folder;
        return std::make_unique<tessaline::automation::com::RemoteOffice>(office);
    };
    return runScenarios(args, options);
}

#else

int main(int argc, char** argv) {
    tessaline::scenario::RunnerOptions options;
    // Qt is started only for a screenshot, so scripts without one run where Qt could not start at all.
    std::unique_ptr<QApplication> app;
    options.screenshot = [&](tessaline::shell::Form1& form, const std::string& path) {
        if (!app) {
            const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
            if (!std::getenv("QT_QPA_PLATFORM") && !display) setenv("QT_QPA_PLATFORM", "offscreen", 1);
            app = std::make_unique<QApplication>(argc, argv);
        }
        if (!tessaline::ui::saveWindowPicture(form, path)) throw std::runtime_error("could not save " + path);
    };
    return runScenarios(std::vector<std::string>(argv + 1, argv + argc), options);
}

#endif
