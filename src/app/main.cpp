// tessaline: the window on the in-memory Office. See usage() for the options of headless use.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/sim/SimOffice.h"
#include "program/Startup.h"
#include "scenario/ScenarioRunner.h"
#include "shell/AppProperties.h"
#include "shell/Form1.h"
#include "ui/HostWindow.h"
#include "ui/LiveScenario.h"
#include "ui/MainWindow.h"
#include "ui/QtUi.h"
#include "ui/SheetView.h"
#include "ui/Text.h"
#include "ui/WindowPicture.h"

namespace {

struct Options {
    std::string screenshot;
    std::string scenario;
    bool hostWindows = true;
    bool live = false;
    bool timings = false;
    bool shippedContent = false;
};

void usage(std::ostream& out) {
    out << "usage: tessaline [--scenario SCRIPT.scn] [--screenshot FILE.png] [--no-host-windows]\n"
           "                 [--shipped-content]\n"
           "With no options the window opens on the in-memory Office, beside a window for each of the\n"
           "Office's running hosts that shows its bars and can be clicked. The hosts' bars are kept as the\n"
           "user leaves them, in the user's data folder, and found again at the next start; not with\n"
           "--scenario, --screenshot or --shipped-content, nor when the environment variable\n"
           "TESSALINE_OFFICE_CONTENT names the content (see docs/kept-customisations.md).\n"
           "  --screenshot FILE  save a PNG picture of the window after start-up and exit; nothing is shown\n"
           "  --scenario SCRIPT  run the scenario script headless (dialogs answered by the script), print its\n"
           "                     transcript and exit, 0 when every check passed; with --screenshot the\n"
           "                     picture shows the window as the script left it\n"
           "  --live             with --scenario: play the script through the real window and the host\n"
           "                     windows, letting their events run and painting after every command\n"
           "  --timings          with --live: print each command's time and the slowest one\n"
           "  --no-host-windows  open the Tessaline window alone\n"
           "  --shipped-content  start every host from the shipped content; the kept bars are neither read\n"
           "                     nor written in this run\n"
           "  --help             show this text\n"
           "Without a display the headless options use Qt's offscreen platform.\n";
}

// Returns 0 to go on, otherwise the exit code.
int parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return -1;
        }
        if (arg == "--no-host-windows") {
            options.hostWindows = false;
            continue;
        }
        if (arg == "--live" || arg == "--timings") {
            (arg == "--live" ? options.live : options.timings) = true;
            continue;
        }
        if (arg == "--shipped-content") {
            options.shippedContent = true;
            continue;
        }
        if ((arg == "--screenshot" || arg == "--scenario") && i + 1 < argc) {
            (arg == "--screenshot" ? options.screenshot : options.scenario) = argv[++i];
            continue;
        }
        std::cerr << "tessaline: unexpected argument " << arg << '\n';
        usage(std::cerr);
        return 2;
    }
    return 0;
}

int runScenario(const Options& options) {
    tessaline::scenario::RunnerOptions runnerOptions;
    runnerOptions.screenshot = [](tessaline::shell::Form1& form, const std::string& path) {
        if (!tessaline::ui::saveWindowPicture(form, path)) throw std::runtime_error("could not save " + path);
    };
    std::unique_ptr<tessaline::scenario::ScenarioRunner> headlessRunner;
    std::unique_ptr<tessaline::ui::LiveScenario> live;
    if (options.live) {
        live = std::make_unique<tessaline::ui::LiveScenario>(std::cout, runnerOptions, options.hostWindows);
    } else {
        headlessRunner = std::make_unique<tessaline::scenario::ScenarioRunner>(std::cout, runnerOptions);
    }
    tessaline::scenario::ScenarioRunner& runner = live ? live->runner() : *headlessRunner;
    runner.runFile(options.scenario);
    if (live && options.timings) live->printTimings(std::cout);
    if (!options.screenshot.empty()) {
        tessaline::shell::Form1* form = runner.form();
        if (form == nullptr || !tessaline::ui::saveWindowPicture(*form, options.screenshot)) {
            std::cerr << "tessaline: could not save " << options.screenshot << '\n';
            return 1;
        }
    }
    return runner.failures() == 0 ? 0 : 1;
}

// Only a person's own runs keep the bars: scripts, pictures and content named on purpose start from their
// content, so that nothing a user made reaches them.
std::string keptFolder(const Options& options, bool headless) {
    const char* content = std::getenv("TESSALINE_OFFICE_CONTENT");
    if (headless || options.shippedContent || (content != nullptr && *content != '\0')) return {};
    return tessaline::automation::sim::SimOffice::defaultKeptFolder();
}

// Says what went wrong while keeping the bars on the error stream and, with a parent, in a box. True when
// there was something to say.
bool tellKeepingProblems(tessaline::automation::sim::SimOffice& office, QWidget* parent) {
    const std::vector<std::string> problems = office.takeKeepingProblems();
    if (problems.empty()) return false;
    std::string text;
    for (const auto& problem : problems) {
        std::cerr << "tessaline: " << problem << '\n';
        text += (text.empty() ? "" : "\n\n") + problem;
    }
    if (parent == nullptr) return true;
    auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(), tessaline::ui::toQ(text),
                                QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int code = parse(argc, argv, options); code != 0) return code < 0 ? 0 : code;
    if ((options.live && options.scenario.empty()) || (options.timings && !options.live)) {
        std::cerr << "tessaline: --live goes with --scenario, --timings with --live\n";
        usage(std::cerr);
        return 2;
    }
    const bool headless = !options.screenshot.empty() || !options.scenario.empty();
    if (headless && !std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tessaline::shell::kProductName.data(),
                                                       static_cast<qsizetype>(tessaline::shell::kProductName.size())));
    QApplication::setFont(tessaline::ui::MainWindow::uiFont());
    if (!options.scenario.empty()) return runScenario(options);

    std::unique_ptr<tessaline::automation::sim::SimOffice> office;
    try {
        office = tessaline::automation::sim::SimOffice::loadKeeping(tessaline::automation::sim::SimOffice::defaultFolder(),
                                                                    keptFolder(options, headless));
    } catch (const std::exception& e) {
        // Without its Office the program has nothing to work on; say why and stop.
        std::cerr << "tessaline: " << e.what() << '\n';
        if (!headless) {
            QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), tessaline::ui::toQ(e.what()));
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
        return 1;
    }

    tessaline::ui::QtUi ui{std::string(tessaline::shell::kProductName)};
    // Form_Load asks for the topmost window before the window exists; QtUi applies it once it does.
    const std::unique_ptr<tessaline::shell::Form1> form = tessaline::program::openMainWindow(*office, ui);
    if (!options.screenshot.empty()) {
        if (tessaline::ui::saveWindowPicture(*form, options.screenshot)) return 0;
        std::cerr << "tessaline: could not save " << options.screenshot << '\n';
        return 1;
    }

    tessaline::ui::MainWindow window(*form);
    ui.setWindow(&window);
    window.show();
    // The Office's own windows, so that host buttons can be clicked (and captured) from the desktop.
    std::unique_ptr<tessaline::ui::HostWindows> hostWindows;
    if (options.hostWindows) {
        hostWindows = std::make_unique<tessaline::ui::HostWindows>(*office);
        hostWindows->follow(*form);
        hostWindows->keepAbove(&window);
        hostWindows->refresh();
    }
    // A damaged kept file was set aside as the hosts started: say so once the window is there.
    QTimer::singleShot(0, &window, [&office, &window] { tellKeepingProblems(*office, &window); });
    // Office writes its toolbar file only as it quits; writing what changed every few seconds as well means a
    // crash loses little, and unchanged bars cost only a comparison.
    QTimer keepTimer;
    if (office->keeping()) {
        // A file that cannot be written is shown once; a box every few seconds would help nobody.
        QObject::connect(&keepTimer, &QTimer::timeout, &window, [&office, &window, told = false]() mutable {
            office->keepBars();
            told = tellKeepingProblems(*office, told ? nullptr : &window) || told;
        });
        keepTimer.start(10000);
    }
    const int status = QApplication::exec();
    // The in-memory Excel ends with the program; what a person typed into its workbooks is not lost unasked.
    if (hostWindows) {
        if (tessaline::ui::HostWindow* excel = hostWindows->window("Excel"); excel && excel->sheetView()) {
            excel->sheetView()->offerToSaveChanges();
        }
    }
    office->keepBars();
    tellKeepingProblems(*office, nullptr);
    return status;
}
