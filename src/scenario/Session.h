#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/OfficeMachine.h"
#include "scenario/Script.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace tessaline::scenario {

// A command the runner cannot carry out as written: unknown words, a missing control, a bad number.
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The in-memory Office, the scripted dialogs and the window on them, as one script sees them.
class RunnerSession {
public:
    explicit RunnerSession(std::unique_ptr<automation::OfficeMachine> office);
    ~RunnerSession();
    RunnerSession(const RunnerSession&) = delete;
    RunnerSession& operator=(const RunnerSession&) = delete;

    automation::OfficeMachine& office() { return *office_; }
    shell::ScriptedUi& ui() { return ui_; }
    shell::Form1& form() { return *form_; }

    // Points the window at a fresh temporary program folder holding copies of the program's own files (the
    // .xls and .ppt files directly in `copyFrom`; nothing when it is empty), so a script may open and change
    // workbooks without touching the shipped ones. The folder goes with the session. Returns the names
    // copied, sorted.
    std::vector<std::string> useFreshProgramFolder(const std::string& copyFrom);
    // The program folder the window started with.
    const std::string& startingProgramFolder() const { return startingProgramFolder_; }

    // Dialogs already written to the transcript, so each is reported once.
    std::size_t messagesReported = 0;
    std::size_t inputsReported = 0;
    std::size_t popupsReported = 0;
    // The last popup was dismissed and its choice is still open to a `choose`.
    bool popupOpenForChoice = false;

private:
    std::unique_ptr<automation::OfficeMachine> office_;
    shell::ScriptedUi ui_;
    std::unique_ptr<shell::Form1> form_;
    std::string startingProgramFolder_;
    std::filesystem::path freshFolder_;
};

// Helpers shared by the actions and the state queries.
namespace words {
// The text of words[index]; throws CommandError naming `what` when it is missing.
const std::string& at(const std::vector<Word>& words, std::size_t index, const char* what);
int toInt(const std::string& text, const char* what);
std::string boolText(bool value);
bool equalsIgnoringCase(const std::string& a, const std::string& b);
// "1.2.3" -> {1, 2, 3}.
std::vector<int> indexPath(const std::string& text);
// A key by number or by name (Backspace, Delete, Esc, Enter, ...); a quoted single character is that
// character. Digits are always a key code.
int keyCode(const Word& word);
std::vector<int> codePoints(const std::string& text);
}  // namespace words

// The window's controls as scripts name them: their own names, plus "bars" and "controls" for the two grids.
shell::Control& controlNamed(shell::Form1& form, const std::string& name);
shell::FlexGrid& gridNamed(shell::Form1& form, const std::string& name);
// A row given as a number, or as a text found in column 1 (bar names), else column 2 (captions).
int rowOf(const shell::FlexGrid& grid, const Word& word);

// The text a state query gives (docs/scenario.md lists them); throws CommandError for a query it does not
// know and lets automation errors through.
std::string evaluate(RunnerSession& session, const std::vector<Word>& query);

}  // namespace tessaline::scenario
