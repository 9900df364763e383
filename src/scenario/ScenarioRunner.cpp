#include "scenario/ScenarioRunner.h"

#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "automation/Excel.h"
#include "automation/FilePath.h"
#include "automation/sim/SimOffice.h"
#include "scenario/Session.h"

namespace tessaline::scenario {

namespace {

using shell::Form1;

// A check or condition: the query words, the comparison and the expected text.
struct Comparison {
    std::vector<Word> query;
    std::string op = "=";
    std::string expected = "True";
};

bool isOperator(const Word& word) {
    return !word.quoted && (word.text == "=" || word.text == "!=" || word.text == "has");
}

Comparison comparisonOf(const std::vector<Word>& words, std::size_t first, bool needsOperator) {
    Comparison comparison;
    std::size_t i = first;
    while (i < words.size() && !isOperator(words[i])) comparison.query.push_back(words[i++]);
    if (comparison.query.empty()) throw CommandError("missing the query");
    if (i == words.size()) {
        if (needsOperator) throw CommandError("missing the comparison (=, != or has) and the expected text");
        return comparison;
    }
    comparison.op = words[i].text;
    if (i + 2 != words.size()) throw CommandError("one expected text must follow " + comparison.op + "; quote it");
    comparison.expected = words[i + 1].text;
    return comparison;
}

bool holds(const Comparison& comparison, const std::string& actual) {
    if (comparison.op == "=") return actual == comparison.expected;
    if (comparison.op == "!=") return actual != comparison.expected;
    return actual.find(comparison.expected) != std::string::npos;
}

// Lines of a value, indented under the command that produced it.
void writeIndented(std::ostream& out, const std::string& text) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        out << "    " << text.substr(start, end - start) << '\n';
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// An item of a list box: its 0-based index, or the first item showing the text (quote a text of digits).
int listItemOf(const shell::ListBox& list, const Word& word) {
    const std::string& text = word.text;
    if (!word.quoted && !text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
        const int index = words::toInt(text, "an item");
        if (index >= list.ListCount()) throw CommandError(list.Name() + " has no item " + text);
        return index;
    }
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.List(i) == text) return i;
    }
    throw CommandError("no item of " + list.Name() + " shows \"" + text + "\"");
}

int mouseButton(const std::string& text) {
    if (words::equalsIgnoringCase(text, "left")) return shell::vbbutton::Left;
    if (words::equalsIgnoringCase(text, "right")) return shell::vbbutton::Right;
    if (words::equalsIgnoringCase(text, "middle")) return shell::vbbutton::Middle;
    return words::toInt(text, "a mouse button");
}

int msgBoxAnswer(const std::string& text) {
    if (words::equalsIgnoringCase(text, "yes")) return shell::vbmsg::ResultYes;
    if (words::equalsIgnoringCase(text, "no")) return shell::vbmsg::ResultNo;
    if (words::equalsIgnoringCase(text, "ok")) return shell::vbmsg::ResultOK;
    if (words::equalsIgnoringCase(text, "cancel")) return shell::vbmsg::ResultCancel;
    throw CommandError("a message box is answered yes, no, ok or cancel, not \"" + text + "\"");
}

void expectWords(const Command& command, std::size_t min, std::size_t max) {
    const std::size_t n = command.words.size() - 1;
    if (n < min || n > max) {
        throw CommandError("\"" + command.words[0].text + "\" takes " + std::to_string(min) +
                           (max > min ? " to " + std::to_string(max) : std::string()) + " word(s) after it");
    }
}

// A text box edits itself: the characters the form lets through land in its text.
void typeInto(Form1& form, shell::Control& control, int key) {
    form.userKeyPress(control, key);
    auto* box = dynamic_cast<shell::TextBox*>(&control);
    if (!box || form.isUnloaded() || key == 27) return;
    std::string text = box->Text();
    if (key == 8) {
        if (text.empty()) return;
        std::size_t end = text.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text.erase(end);
    } else {
        const auto c = static_cast<unsigned>(key);
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    box->SetText(text);
}

// A person working in Excel's own window: opening, activating, typing into cells, saving. It goes through
// Excel's automation members as the window does, and is not Tessaline's doing, so no planned fault counts
// or fires on it.
void workbookAction(RunnerSession& session, const Command& command) {
    const std::vector<Word>& w = command.words;
    const std::string& what = words::at(w, 1, "open, activate, type, clear, save or close");
    automation::OfficeMachine& office = session.office();
    const auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(office.host("Excel"));
    if (!excel) throw CommandError("Excel is not running");
    const automation::FaultPlan::Pause pause(office.faultPlan());
    // A relative path is a file of the program folder, where the workbooks of a script live.
    const auto inProgramFolder = [&](const std::string& path) {
        const std::filesystem::path given = automation::filePath(path);
        if (given.is_absolute() || session.form().App.Path.empty()) return path;
        return automation::pathText(automation::filePath(session.form().App.Path) / given);
    };
    const auto book = [&] { return excel->Workbooks()->Item(w[2].text); };
    if (what == "open") {
        expectWords(command, 2, 2);
        excel->Workbooks()->Open(inProgramFolder(w[2].text));
    } else if (what == "activate") {
        expectWords(command, 2, 3);
        if (w.size() == 4) {
            book()->Worksheets(w[3].text)->Activate();
        } else {
            book()->Activate();
        }
    } else if (what == "type") {
        if (w.size() < 6) throw CommandError("\"workbook type\" takes BOOK SHEET CELL and one or more texts");
        const automation::RangePtr first = book()->Worksheets(w[3].text)->Range(w[4].text);
        // Each further text goes one cell to the right, as a person types with Tab between cells.
        for (std::size_t i = 5; i < w.size(); ++i) {
            first->Offset(0, static_cast<int>(i - 5))->SetValue(automation::Variant(w[i].text));
        }
    } else if (what == "clear") {
        expectWords(command, 4, 4);
        book()->Worksheets(w[3].text)->Range(w[4].text)->ClearContents();
    } else if (what == "save") {
        expectWords(command, 2, 3);
        if (w.size() == 4) {
            book()->SaveAs(inProgramFolder(w[3].text));
        } else {
            book()->Save();
        }
    } else if (what == "close") {
        expectWords(command, 2, 2);
        book()->Close();
    } else {
        throw CommandError("\"workbook\" is followed by open, activate, type, clear, save or close");
    }
}

}  // namespace

ScenarioRunner::ScenarioRunner(std::ostream& transcript, RunnerOptions options)
    : out_(transcript), options_(std::move(options)) {}

ScenarioRunner::~ScenarioRunner() { endSession(); }

shell::Form1* ScenarioRunner::form() { return session_ ? &session_->form() : nullptr; }
automation::OfficeMachine* ScenarioRunner::office() { return session_ ? &session_->office() : nullptr; }
shell::ScriptedUi* ScenarioRunner::ui() { return session_ ? &session_->ui() : nullptr; }

int ScenarioRunner::runFile(const std::string& path) {
    Script script;
    try {
        script = loadScript(path);
    } catch (const std::exception& e) {
        out_ << path << ": " << e.what() << '\n';
        ++failures_;
        return 1;
    }
    return run(script);
}

void ScenarioRunner::reset() { endSession(); }

void ScenarioRunner::endSession() {
    if (session_ && options_.sessionEnding) options_.sessionEnding();
    session_.reset();
}

int ScenarioRunner::run(const Script& script) {
    const int failuresBefore = failures_;
    const int checksBefore = checks_;
    blocks_.clear();
    out_ << "== " << script.file << '\n';
    for (const Command& command : script.commands) execute(script, command);
    if (!blocks_.empty()) {
        out_ << script.file << ": an \"if\" is not closed by \"end\"\n";
        ++failures_;
        blocks_.clear();
    }
    const int failed = failures_ - failuresBefore;
    out_ << "== " << script.file << ": " << (checks_ - checksBefore) << " check(s), "
         << (failed == 0 ? std::string("all passed") : std::to_string(failed) + " failure(s)") << '\n';
    return failed;
}

bool ScenarioRunner::running() const {
    if (blocks_.empty()) return true;
    const Block& block = blocks_.back();
    return block.enclosingRuns && block.condition != block.inElse;
}

void ScenarioRunner::fail(const Script& script, const Command& command, const std::string& message) {
    ++failures_;
    out_ << script.file << ":" << command.line << ": FAILED " << command.source << '\n';
    writeIndented(out_, message);
}

RunnerSession& ScenarioRunner::session(const Script& script) {
    if (!session_) startOffice(script, options_.contentFolder);
    return *session_;
}

void ScenarioRunner::startOffice(const Script& script, const std::string& folder) {
    endSession();
    std::unique_ptr<automation::OfficeMachine> office;
    const auto start = [&](const std::string& from) -> std::unique_ptr<automation::OfficeMachine> {
        if (options_.startOffice) return options_.startOffice(from);
        if (from.empty()) return automation::sim::SimOffice::loadDefault();
        return automation::sim::SimOffice::load(from);
    };
    try {
        if (folder.empty()) {
            office = start("");
            out_ << "    (the in-memory Office starts from " << automation::sim::SimOffice::defaultFolder() << ")\n";
        } else {
            // A folder named in a script is looked up beside the script first.
            std::filesystem::path path = automation::filePath(folder);
            if (path.is_relative() && !script.folder.empty() &&
                std::filesystem::is_directory(automation::filePath(script.folder) / path)) {
                path = automation::filePath(script.folder) / path;
            }
            office = start(automation::pathText(path));
            out_ << "    (the in-memory Office starts from " << automation::pathText(path) << ")\n";
        }
    } catch (const std::exception& e) {
        throw CommandError(std::string("the in-memory Office could not start: ") + e.what());
    }
    session_ = std::make_unique<RunnerSession>(std::move(office));
    if (options_.sessionStarted) options_.sessionStarted(session_->form(), session_->office(), session_->ui());
    reportDialogs();
}

void ScenarioRunner::reportDialogs() {
    if (!session_) return;
    RunnerSession& s = *session_;
    const shell::ScriptedUi& ui = s.ui();
    for (; s.messagesReported < ui.messages.size(); ++s.messagesReported) {
        const auto& box = ui.messages[s.messagesReported];
        out_ << "    [message box " << quoted(box.prompt) << " titled " << quoted(box.title) << ", flags "
             << box.buttons << ", answered " << box.answer << "]\n";
    }
    for (; s.inputsReported < ui.inputs.size(); ++s.inputsReported) {
        const auto& box = ui.inputs[s.inputsReported];
        out_ << "    [input box " << quoted(box.prompt) << " titled " << quoted(box.title) << ", default "
             << quoted(box.defaultText) << ", answered " << quoted(box.answer) << "]\n";
    }
    for (; s.popupsReported < ui.popups.size(); ++s.popupsReported) {
        const auto& popup = ui.popups[s.popupsReported];
        // Names for the script writer, captions for the reader: "ModifyControl 修改".
        std::string items;
        for (const auto& item : popup.visibleItems) {
            if (!items.empty()) items += ", ";
            const std::string& caption = s.form().menu(item).Caption();
            items += caption == "-" ? "-" : item + " " + caption;
        }
        out_ << "    [popup " << popup.menu << ": " << items << " -> "
             << (popup.chosen.empty() ? "dismissed" : popup.chosen) << "]\n";
        s.popupOpenForChoice = popup.chosen.empty();
    }
}

bool ScenarioRunner::condition(const Script& script, const Command& command, std::size_t first) {
    try {
        const Comparison comparison = comparisonOf(command.words, first, false);
        return holds(comparison, evaluate(session(script), comparison.query));
    } catch (const std::exception& e) {
        fail(script, command, e.what());
        return false;
    }
}

void ScenarioRunner::execute(const Script& script, const Command& command) {
    if (!command.error.empty()) {
        fail(script, command, command.error);
        return;
    }
    const std::string& verb = command.words.front().text;
    if (verb == "if") {
        Block block;
        block.enclosingRuns = running();
        if (block.enclosingRuns) {
            out_ << script.file << ":" << command.line << "  " << command.source << '\n';
            block.condition = condition(script, command, 1);
            out_ << "    " << (block.condition ? "yes" : "no") << '\n';
        }
        blocks_.push_back(block);
        return;
    }
    if (verb == "else" || verb == "end") {
        if (blocks_.empty() || (verb == "else" && blocks_.back().inElse)) {
            fail(script, command, "\"" + verb + "\" without an open \"if\"");
            return;
        }
        if (verb == "else") {
            blocks_.back().inElse = true;
        } else {
            blocks_.pop_back();
        }
        return;
    }
    if (!running()) return;

    if (verb == "echo") {
        std::string text;
        for (std::size_t i = 1; i < command.words.size(); ++i) text += (i > 1 ? " " : "") + command.words[i].text;
        out_ << text << '\n';
        return;
    }
    out_ << script.file << ":" << command.line << "  " << command.source << '\n';
    if (options_.beforeCommand) options_.beforeCommand(script, command);
    try {
        executeAction(script, command);
    } catch (const CommandError& e) {
        fail(script, command, e.what());
    } catch (const std::exception& e) {
        fail(script, command, std::string("error: ") + e.what());
    }
    if (options_.afterCommand) options_.afterCommand(script, command);
    reportDialogs();
}

void ScenarioRunner::executeAction(const Script& script, const Command& command) {
    const std::vector<Word>& w = command.words;
    const std::string& verb = w[0].text;
    const auto text = [&](std::size_t i, const char* what) -> const std::string& { return words::at(w, i, what); };

    if (verb == "office") {
        expectWords(command, 0, 1);
        startOffice(script, w.size() > 1 ? w[1].text : options_.contentFolder);
        return;
    }
    if (verb == "print" || verb == "expect") {
        const Comparison comparison = comparisonOf(w, 1, verb == "expect");
        if (verb == "print" && w.size() - 1 != comparison.query.size()) {
            throw CommandError("\"print\" takes a query only");
        }
        if (verb == "expect") ++checks_;
        RunnerSession& looked = session(script);
        // Looking is not the tool's doing: no planned fault counts or fires on it.
        const automation::FaultPlan::Pause pause(looked.office().faultPlan());
        const std::string actual = evaluate(looked, comparison.query);
        if (verb == "print") {
            writeIndented(out_, actual);
        } else if (!holds(comparison, actual)) {
            const char* how = comparison.op == "="    ? "expected: "
                              : comparison.op == "!=" ? "expected not: "
                                                      : "expected to contain: ";
            fail(script, command, std::string(how) + quoted(comparison.expected) + "\nactual:   " + quoted(actual));
        }
        return;
    }

    RunnerSession& s = session(script);
    Form1& form = s.form();
    shell::ScriptedUi& ui = s.ui();
    automation::OfficeMachine& office = s.office();

    if (verb == "host") {
        const std::string& what = text(1, "start, stop or click");
        if (what == "start" || what == "stop") {
            expectWords(command, 2, 2);
            if (what == "stop") {
                office.stopHost(w[2].text);
            } else if (!office.startHost(w[2].text)) {
                throw CommandError(w[2].text + " is not installed in this Office");
            }
            return;
        }
        if (what == "click") {
            expectWords(command, 4, 4);
            if (!office.clickButton(w[2].text, w[3].text, words::indexPath(w[4].text))) {
                out_ << "    (nobody can click it: it is hidden or disabled)\n";
            }
            return;
        }
        throw CommandError("\"host\" is followed by start, stop or click");
    }
    if (verb == "workbook") {
        workbookAction(s, command);
        return;
    }
    if (verb == "programfolder") {
        expectWords(command, 1, 1);
        if (w[1].text != "copy" && w[1].text != "empty") throw CommandError("\"programfolder\" takes copy or empty");
        const std::string from = options_.programFiles.empty() ? s.startingProgramFolder() : options_.programFiles;
        const std::vector<std::string> names = s.useFreshProgramFolder(w[1].text == "copy" ? from : "");
        std::string list;
        for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
        out_ << "    (the program folder is now a fresh temporary folder" << (list.empty() ? "" : " with " + list)
             << ")\n";
        return;
    }
    if (verb == "explorer") {
        expectWords(command, 1, 1);
        if (w[1].text != "open" && w[1].text != "close") throw CommandError("\"explorer\" takes open or close");
        office.setOutlookExplorer(w[1].text == "open");
        return;
    }
    if (verb == "option") {
        expectWords(command, 1, 1);
        shell::Control& control = controlNamed(form, w[1].text);
        if (!dynamic_cast<shell::OptionButton*>(&control)) throw CommandError(w[1].text + " is not a host option");
        form.userClick(control);
        return;
    }
    if (verb == "click" || verb == "dblclick" || verb == "rightclick") {
        expectWords(command, 1, 3);
        shell::Control& control = controlNamed(form, w[1].text);
        if (w.size() == 3) {
            auto* list = dynamic_cast<shell::ListBox*>(&control);
            if (!list || verb != "click") throw CommandError("a cell is given by its row and its column");
            // A click on a list item selects it first, then the list's Click runs, as the view does it.
            const int index = listItemOf(*list, w[2]);
            form.dispatch([&] { list->SetListIndex(index); });
            form.userClick(*list);
            return;
        }
        if (w.size() == 4) {
            auto* grid = dynamic_cast<shell::FlexGrid*>(&control);
            if (!grid) throw CommandError("\"" + w[1].text + "\" is not a grid; cells belong to grids");
            const int row = rowOf(*grid, w[2]);
            const int col = words::toInt(w[3].text, "a column");
            if (row < 0 || row >= grid->Rows() || col < 0 || col >= grid->Cols()) {
                throw CommandError("the cell " + std::to_string(row) + "," + std::to_string(col) +
                                   " is outside the grid");
            }
            // The right button never moves the current cell: the handlers act on the row chosen before.
            if (verb == "rightclick") {
                form.userMouseDown(control, shell::vbbutton::Right);
                return;
            }
            form.userClickCell(*grid, row, col);
            if (verb == "dblclick") form.userDblClick(control);
            return;
        }
        if (verb == "rightclick") {
            form.userMouseDown(control, shell::vbbutton::Right);
        } else if (verb == "dblclick") {
            form.userDblClick(control);
        } else {
            form.userClick(control);
        }
        return;
    }
    if (verb == "mousedown") {
        expectWords(command, 2, 5);
        const int shift = w.size() > 3 ? words::toInt(w[3].text, "a shift state") : 0;
        const float x = w.size() > 4 ? static_cast<float>(words::toInt(w[4].text, "x")) : 0.0F;
        const float y = w.size() > 5 ? static_cast<float>(words::toInt(w[5].text, "y")) : 0.0F;
        form.userMouseDown(controlNamed(form, w[1].text), mouseButton(w[2].text), shift, x, y);
        return;
    }
    if (verb == "keydown") {
        expectWords(command, 2, 3);
        const int shift = w.size() > 3 ? words::toInt(w[3].text, "a shift state") : 0;
        const int key = words::keyCode(w[2]);
        // KeyDown hears virtual-key codes, which are 1 to 254; characters arrive through keypress.
        if (key < 1 || key > 254) throw CommandError("no key has the code " + std::to_string(key) + " (1 to 254)");
        if (shift < 0 || shift > 7) throw CommandError("the shift state is 0 to 7 (Shift 1, Ctrl 2, Alt 4)");
        form.userKeyDown(controlNamed(form, w[1].text), key, shift);
        return;
    }
    if (verb == "keypress") {
        expectWords(command, 2, 2);
        typeInto(form, controlNamed(form, w[1].text), words::keyCode(w[2]));
        return;
    }
    if (verb == "type") {
        expectWords(command, 2, 2);
        shell::Control& control = controlNamed(form, w[1].text);
        for (int point : words::codePoints(w[2].text)) typeInto(form, control, point);
        return;
    }
    if (verb == "formkey") {
        expectWords(command, 1, 1);
        form.formKeyPress(words::keyCode(w[1]));
        return;
    }
    if (verb == "check" || verb == "uncheck") {
        expectWords(command, 1, 1);
        auto* box = dynamic_cast<shell::CheckBox*>(&controlNamed(form, w[1].text));
        if (!box) throw CommandError("\"" + w[1].text + "\" is not a check box");
        // The user clicks only when the box is not already as wanted; each click toggles it.
        const int wanted = verb == "check" ? shell::vbcheck::Checked : shell::vbcheck::Unchecked;
        if (box->Value() != wanted) form.userClick(*box);
        return;
    }
    if (verb == "menu") {
        expectWords(command, 1, 1);
        try {
            form.clickMenu(w[1].text);
        } catch (const std::invalid_argument&) {
            throw CommandError("the window has no menu item named \"" + w[1].text + "\"");
        }
        return;
    }
    if (verb == "undo" || verb == "redo") {
        expectWords(command, 0, 0);
        form.clickMenu(verb == "undo" ? "menuUndo" : "menuRedo");
        return;
    }
    if (verb == "popup") {
        const std::string& what = text(1, "choose or dismiss");
        if (what == "choose") {
            expectWords(command, 2, 2);
            ui.queuePopupChoice(w[2].text);
        } else if (what == "dismiss") {
            expectWords(command, 1, 1);
            ui.queuePopupChoice("");
        } else {
            throw CommandError("\"popup\" is followed by choose ITEM or dismiss");
        }
        return;
    }
    if (verb == "choose") {
        expectWords(command, 1, 1);
        if (ui.popups.empty() || !s.popupOpenForChoice) {
            throw CommandError("no popup menu is waiting for a choice; queue one with \"popup choose\" instead");
        }
        const auto& shown = ui.popups.back().visibleItems;
        bool offered = false;
        for (const auto& item : shown) offered = offered || item == w[1].text;
        if (!offered || form.menu(w[1].text).isSeparator()) {
            throw CommandError("the popup " + ui.popups.back().menu + " does not offer \"" + w[1].text + "\"");
        }
        s.popupOpenForChoice = false;
        // The same as choosing it while the menu was open: the command runs as an event of its own.
        form.clickMenu(w[1].text);
        return;
    }
    if (verb == "answer") {
        const std::string& what = text(1, "input or msgbox");
        expectWords(command, 2, 2);
        if (what == "input") {
            if (!w[2].quoted && w[2].text == "cancel") {
                ui.queueInputCancel();
            } else {
                ui.queueInput(w[2].text);
            }
        } else if (what == "msgbox") {
            ui.queueMsgBoxAnswer(msgBoxAnswer(w[2].text));
        } else {
            throw CommandError("\"answer\" is followed by input or msgbox");
        }
        return;
    }
    if (verb == "paneldblclick") {
        expectWords(command, 1, 1);
        const int panel = words::toInt(w[1].text, "a panel");
        if (panel < 1 || panel > form.StatusBar1.PanelCount()) {
            throw CommandError("the status bar has no panel " + w[1].text + " (it has 1 to " +
                               std::to_string(form.StatusBar1.PanelCount()) + ")");
        }
        form.userPanelDblClick(panel);
        return;
    }
    if (verb == "fail") {
        automation::FaultPlan* plan = office.faultPlan();
        if (!plan) throw CommandError("this Office cannot be told to fail calls");
        if (w.size() == 2 && w[1].text == "clear") {
            plan->clear();
            return;
        }
        if (w.size() != 4 && w.size() != 5 && w.size() != 7) {
            throw CommandError("\"fail\" takes HOST TYPE MEMBER [WHICH] [NUMBER TEXT], or clear");
        }
        automation::FaultPlan::Fault fault;
        fault.host = w[1].text;
        fault.type = w[2].text;
        fault.member = w[3].text;
        if (w.size() >= 5 && !automation::FaultPlan::parseOccurrences(w[4].text, fault.first, fault.last)) {
            throw CommandError("\"" + w[4].text + "\" is not an occurrence: 3, 3-5, 11+ or *");
        }
        if (w.size() == 7) {
            fault.error = automation::AutomationError(words::toInt(w[5].text, "an error number"), w[6].text);
        }
        plan->add(std::move(fault));
        return;
    }
    if (verb == "nodeclick") {
        expectWords(command, 1, 1);
        if (!form.TreeView1.Nodes().Exists(w[1].text)) throw CommandError("the tree has no node keyed " + w[1].text);
        form.userNodeClick(form.TreeView1.Nodes().Item(w[1].text));
        return;
    }
    if (verb == "screenshot") {
        expectWords(command, 1, 1);
        if (!options_.screenshot) throw CommandError("this runner cannot draw the window; run tessaline-scenario");
        options_.screenshot(form, w[1].text);
        out_ << "    (saved " << w[1].text << ")\n";
        return;
    }
    throw CommandError("unknown command \"" + verb + "\"");
}

}  // namespace tessaline::scenario
