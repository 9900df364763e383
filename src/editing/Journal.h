#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/ChangeCounting.h"
#include "automation/Object.h"
#include "editing/BarSnapshot.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::editing {

// The undo journal: what each command did to the attached host's bars, so that "撤销" and "重做" can take
// the host back and forth.
//
// The journal does not ask the commands what they change. It wraps every command of the window (menu and
// popup-menu items, buttons, double-clicks) and compares the host's bars before and after it; so every
// command that changes a host is covered, one that failed halfway is recorded as far as it went, and one
// that changes nothing leaves no entry. Reading every control of a host is costly over automation, so the
// journal keeps the host's bars as last read and, around a command, reads only what may have changed: a
// cheap outline of every bar (name, type, visibility, position, width, number of controls), and in full
// the bars whose outline changed, the current bar before and after and the icon viewer. A bar whose
// outline changed outside any command makes the next command read the whole host again. A host that counts
// the changes of its bars (automation::ChangeCounting, the in-memory Office) spares all that: around a
// command the journal reads in full the bars whose count moved, whoever moved it, and nothing else.
//
// Undo and redo bring the host to the recorded state with restoreBars, then list the grids again with the
// same bar and row current. One journal per host object; a host that quits takes its journal with it.
class Journal {
public:
    explicit Journal(shell::Form1& form);

    // Runs a command inside the journal. Nested commands (a popup menu's item inside the right click that
    // opened it) are part of the outermost one.
    void run(const std::function<void()>& command);

    // Report mode. Says in status panel 6 what was done ("已撤销", "无可撤销", ...).
    void undo();
    void redo();

private:
    using BarPtr = std::shared_ptr<const BarSnapshot>;
    struct Outline {
        std::string name;
        int type = 0;
        bool enabled = true;
        bool visible = false;
        int position = 0;
        int width = 0;
        int count = 0;
        bool operator==(const Outline&) const = default;
    };
    // Which bar a snapshot was read from and its change count then (hosts that count only).
    struct Seen {
        std::weak_ptr<automation::CommandBar> bar;
        std::optional<std::uint64_t> count;
    };
    struct HostState {
        std::vector<Outline> outline;
        std::vector<BarPtr> bars;
        std::vector<Seen> seen;
    };
    struct Entry {
        std::vector<BarPtr> before;
        std::vector<BarPtr> after;
    };
    struct HostJournal {
        std::weak_ptr<automation::Object> host;
        HostState last;
        bool known = false;
        std::vector<Entry> undo;
        std::vector<Entry> redo;
    };

    HostJournal* attached(bool create);
    std::vector<Outline> outline();
    HostState readAll();
    // The host's bars now, read in full where their count moved since `known` (everywhere without it).
    HostState readChanged(automation::CommandBars& bars, const automation::ChangeCounting& counting,
                          const HostState* known);
    static automation::ChangeCounting* counting(automation::CommandBars& bars);
    static Outline outlineOf(const BarSnapshot& bar);
    void commandStarting();
    void commandEnded();
    void step(bool back);
    void relist();

    shell::Form1& form_;
    std::vector<HostJournal> journals_;
    int depth_ = 0;
    HostJournal* open_ = nullptr;
    HostState before_;
    std::string currentBefore_;
};

// Creates the window's journal, wraps every command already attached to the window with it, and attaches
// "撤销" and "重做". Call after every subsystem has attached its handlers.
void attachJournal(shell::Form1& form);

}  // namespace tessaline::editing
