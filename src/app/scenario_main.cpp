// tessaline-scenario: runs scenario scripts against the window on the in-memory Office, headless, and
// prints the transcript. Exits 0 when every check passed, 1 when any failed, 2 on a bad command line.
#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "scenario/ScenarioRunner.h"
#include "ui/WindowPicture.h"

namespace {

void usage(std::ostream& out) {
    out << "usage: tessaline-scenario [--content FOLDER] SCRIPT.scn...\n"
           "Runs each script on a fresh in-memory Office (its default content, or FOLDER) and prints what it\n"
           "did and saw. The script language is described in docs/scenario.md.\n";
}

}  // namespace

int main(int argc, char** argv) {
    tessaline::scenario::RunnerOptions options;
    std::vector<std::string> scripts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        if (arg == "--content") {
            if (i + 1 == argc) {
                usage(std::cerr);
                return 2;
            }
            options.contentFolder = argv[++i];
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
