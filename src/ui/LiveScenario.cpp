#include "ui/LiveScenario.h"

#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <ostream>

#include "automation/sim/SimOffice.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "ui/HostWindow.h"
#include "ui/MainWindow.h"

namespace tessaline::ui {

LiveScenario::LiveScenario(std::ostream& transcript, scenario::RunnerOptions options, bool hostWindows)
    : withHostWindows_(hostWindows) {
    options.sessionStarted = [this](shell::Form1& form, automation::OfficeMachine& office, shell::ScriptedUi& ui) {
        started(form, office, ui);
    };
    options.sessionEnding = [this] { ending(); };
    options.beforeCommand = [this](const scenario::Script&, const scenario::Command&) {
        commandStart_ = std::chrono::steady_clock::now();
    };
    options.afterCommand = [this](const scenario::Script& script, const scenario::Command& command) {
        // A script changes the Office from outside the window too (host clicks, a host started): the host
        // windows look after every command, as they do after every event of the window.
        if (hostWindows_) hostWindows_->requestRefresh();
        settle();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - commandStart_;
        timings_.push_back({script.file, command.line, command.source, took.count()});
    };
    runner_ = std::make_unique<scenario::ScenarioRunner>(transcript, std::move(options));
}

LiveScenario::~LiveScenario() { runner_.reset(); }

void LiveScenario::settle() {
    // Each round runs what the round before posted: a refresh lays out, the layout asks for a paint.
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void LiveScenario::started(shell::Form1& form, automation::OfficeMachine& office, shell::ScriptedUi& ui) {
    window_ = std::make_unique<MainWindow>(form);
    window_->show();
    // The program's window lets its events run at every DoEvents of a long job.
    ui.eventsRun = [] { QCoreApplication::processEvents(); };
    if (auto* sim = dynamic_cast<automation::sim::SimOffice*>(&office); sim != nullptr && withHostWindows_) {
        hostWindows_ = std::make_unique<HostWindows>(*sim);
        hostWindows_->follow(form);
        hostWindows_->keepAbove(window_.get());
        hostWindows_->refresh();
    }
    settle();
}

void LiveScenario::ending() {
    hostWindows_.reset();
    window_.reset();
    settle();
}

void LiveScenario::printTimings(std::ostream& out) const {
    const Timing* slowest = nullptr;
    char ms[32];
    for (const Timing& timing : timings_) {
        std::snprintf(ms, sizeof ms, "%.3f", timing.ms);
        out << timing.file << ':' << timing.line << "  " << timing.command << "  " << ms << " ms\n";
        if (slowest == nullptr || timing.ms > slowest->ms) slowest = &timing;
    }
    if (slowest == nullptr) {
        out << "slowest: 0 ms at -:0\n";
        return;
    }
    std::snprintf(ms, sizeof ms, "%.3f", slowest->ms);
    out << "slowest: " << ms << " ms at " << slowest->file << ':' << slowest->line << '\n';
}

}  // namespace tessaline::ui
