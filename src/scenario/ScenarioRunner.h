#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "scenario/Script.h"

namespace tessaline::automation {
class OfficeMachine;
}
namespace tessaline::shell {
class Form1;
class ScriptedUi;
}  // namespace tessaline::shell

namespace tessaline::scenario {

class RunnerSession;

struct RunnerOptions {
    // The content folder the in-memory Office starts from when a script does not name one; empty means
    // the Office's own default.
    std::string contentFolder;
    // Where `programfolder copy` takes the program's own files from; empty means the folder the window
    // starts with (the executable's, where the build puts the shipped workbooks).
    std::string programFiles;
    // Saves a picture of the window; without it `screenshot` fails, as nothing could draw the window.
    std::function<void(shell::Form1& form, const std::string& path)> screenshot;
    // Starts the Office a script runs against from a content folder (empty: the default content). Unset,
    // the in-memory Office starts inside this process; the Windows runner serves it from a process of its
    // own and attaches over COM.
    std::function<std::unique_ptr<automation::OfficeMachine>(const std::string& folder)> startOffice;
    // Called around every command that runs (not around `if`, `else`, `end`, `echo` nor skipped commands).
    // A live window lets its events run and paints in afterCommand, so that the time between the two is
    // what the command cost a person.
    std::function<void(const Script& script, const Command& command)> beforeCommand;
    std::function<void(const Script& script, const Command& command)> afterCommand;
    // Told when a script's window and Office have started, and just before they go.
    std::function<void(shell::Form1& form, automation::OfficeMachine& office, shell::ScriptedUi& ui)> sessionStarted;
    std::function<void()> sessionEnding;
};

// Runs scenario scripts (docs/scenario.md) against the window on the in-memory Office, with every dialog
// answered from the script. It writes a transcript of what it did and what it saw, and counts the checks
// that failed and the commands that could not be carried out.
class ScenarioRunner {
public:
    explicit ScenarioRunner(std::ostream& transcript, RunnerOptions options = {});
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    // Runs every command of the script in order; a failure is reported and the next command runs. The
    // script goes on with the Office and window the runner holds (started on first need). Returns the
    // number of failures of this script.
    int run(const Script& script);
    // Reads and runs a script file; an unreadable file counts as one failure.
    int runFile(const std::string& path);
    // Forgets the Office and the window, so the next script starts afresh.
    void reset();

    // Totals over every script run so far.
    int failures() const { return failures_; }
    int checks() const { return checks_; }

    // The window and the Office the last script left behind; nullptr before anything started them.
    shell::Form1* form();
    automation::OfficeMachine* office();
    shell::ScriptedUi* ui();

private:
    // An open `if`: whether its commands run, and how far it has come.
    struct Block {
        bool enclosingRuns = true;
        bool condition = false;
        bool inElse = false;
    };

    bool running() const;
    void execute(const Script& script, const Command& command);
    void executeAction(const Script& script, const Command& command);
    bool condition(const Script& script, const Command& command, std::size_t first);
    void startOffice(const Script& script, const std::string& folder);
    void endSession();
    RunnerSession& session(const Script& script);
    void reportDialogs();
    void fail(const Script& script, const Command& command, const std::string& message);

    std::ostream& out_;
    RunnerOptions options_;
    std::unique_ptr<RunnerSession> session_;
    std::vector<Block> blocks_;
    int failures_ = 0;
    int checks_ = 0;
};

}  // namespace tessaline::scenario
