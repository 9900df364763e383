#pragma once

#include <chrono>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "scenario/ScenarioRunner.h"

namespace tessaline::ui {

class HostWindows;
class MainWindow;

// Plays scenario scripts through the real window, with the host windows beside it, as a person meets them:
// after every command the Qt events run and the windows paint, and the time a command took until then is
// kept. Dialogs are still answered by the script. Needs a QApplication (the offscreen platform will do).
class LiveScenario {
public:
    struct Timing {
        std::string file;
        int line = 0;
        std::string command;  // as written
        double ms = 0;
    };

    LiveScenario(std::ostream& transcript, scenario::RunnerOptions options, bool hostWindows = true);
    ~LiveScenario();
    LiveScenario(const LiveScenario&) = delete;
    LiveScenario& operator=(const LiveScenario&) = delete;

    scenario::ScenarioRunner& runner() { return *runner_; }
    // Every command timed since the last clearTimings(), in the order they ran.
    const std::vector<Timing>& timings() const { return timings_; }
    void clearTimings() { timings_.clear(); }
    // One line per command ("file:line  command  N ms"), then "slowest: N ms at FILE:LINE".
    void printTimings(std::ostream& out) const;

    // The windows of the script running now; nullptr between scripts (and for host windows when off).
    MainWindow* window() const { return window_.get(); }
    HostWindows* hostWindows() const { return hostWindows_.get(); }

    // Lets every pending event run, deferred deletions and paints included.
    static void settle();

private:
    void started(shell::Form1& form, automation::OfficeMachine& office, shell::ScriptedUi& ui);
    void ending();

    bool withHostWindows_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<HostWindows> hostWindows_;
    std::vector<Timing> timings_;
    std::chrono::steady_clock::time_point commandStart_;
    std::unique_ptr<scenario::ScenarioRunner> runner_;  // last: its session goes before the windows' owner
};

}  // namespace tessaline::ui
