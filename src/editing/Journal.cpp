#include "editing/Journal.h"

#include <algorithm>
#include <unordered_map>

#include "editing/BarRestore.h"
#include "shell/CommandbarGrid.h"
#include "shell/ErrorModes.h"
#include "shell/Form1.h"

namespace tessaline::editing {

namespace {

// Excel's icon viewer is relabelled in place by a double-click, which its outline does not show.
constexpr const char* kIconViewer = "FaceIDViewer";

bool sameBars(const std::vector<std::shared_ptr<const BarSnapshot>>& a,
              const std::vector<std::shared_ptr<const BarSnapshot>>& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) { return x == y || *x == *y; });
}

}  // namespace

Journal::Journal(shell::Form1& form) : form_(form) {}

Journal::HostJournal* Journal::attached(bool create) {
    // A host that quit and was let go is gone with its journal.
    std::erase_if(journals_, [this](const HostJournal& j) { return j.host.expired() && &j != open_; });
    if (!form_.HostApp) return nullptr;
    for (HostJournal& j : journals_) {
        if (j.host.lock() == form_.HostApp) return &j;
    }
    if (!create) return nullptr;
    journals_.push_back(HostJournal{form_.HostApp, {}, false, {}, {}});
    return &journals_.back();
}

std::vector<Journal::Outline> Journal::outline() {
    std::vector<Outline> out;
    for (const automation::CommandBarPtr& bar : form_.HostCommandBars()->Enumerate()) {
        out.push_back(Outline{bar->Name(), bar->Type(), bar->Enabled(), bar->Visible(), bar->Position(), bar->Width(),
                              bar->Controls()->Count()});
    }
    return out;
}

Journal::Outline Journal::outlineOf(const BarSnapshot& bar) {
    return Outline{
        bar.name, bar.type, bar.enabled, bar.visible, bar.position, bar.width, static_cast<int>(bar.controls.size())};
}

Journal::HostState Journal::readAll() {
    HostState state;
    for (const automation::CommandBarPtr& bar : form_.HostCommandBars()->Enumerate()) {
        auto snapshot = std::make_shared<const BarSnapshot>(snapshotBar(*bar));
        state.outline.push_back(outlineOf(*snapshot));
        state.bars.push_back(std::move(snapshot));
    }
    return state;
}

automation::ChangeCounting* Journal::counting(automation::CommandBars& bars) {
    return dynamic_cast<automation::ChangeCounting*>(&bars);
}

Journal::HostState Journal::readChanged(automation::CommandBars& bars, const automation::ChangeCounting& counting,
                                        const HostState* known) {
    HostState state;
    const std::vector<automation::CommandBarPtr> all = bars.Enumerate();
    state.outline.reserve(all.size());
    state.bars.reserve(all.size());
    state.seen.reserve(all.size());
    // Bars mostly stay where they were; after one was made or deleted the others are found by identity.
    std::unordered_map<const automation::CommandBar*, std::size_t> knownAt;
    bool indexed = false;
    auto sameBar = [&](std::size_t k, const automation::CommandBarPtr& bar) {
        return k < known->seen.size() && known->seen[k].bar.lock() == bar;
    };
    for (std::size_t i = 0; i < all.size(); ++i) {
        const automation::CommandBarPtr& bar = all[i];
        const std::optional<std::uint64_t> count = counting.changeCount(*bar);
        std::optional<std::size_t> at;
        if (known != nullptr && count) {
            if (sameBar(i, bar)) {
                at = i;
            } else {
                if (!indexed) {
                    for (std::size_t k = 0; k < known->seen.size(); ++k) {
                        if (const auto b = known->seen[k].bar.lock()) knownAt.emplace(b.get(), k);
                    }
                    indexed = true;
                }
                const auto found = knownAt.find(bar.get());
                if (found != knownAt.end() && sameBar(found->second, bar)) at = found->second;
            }
        }
        if (at && known->seen[*at].count == count) {
            state.bars.push_back(known->bars[*at]);
            state.outline.push_back(known->outline[*at]);
        } else {
            BarPtr snapshot = std::make_shared<const BarSnapshot>(snapshotBar(*bar));
            // A bar changed and changed back is the very bar it was, which keeps comparisons short.
            if (at && *snapshot == *known->bars[*at]) snapshot = known->bars[*at];
            state.outline.push_back(outlineOf(*snapshot));
            state.bars.push_back(std::move(snapshot));
        }
        state.seen.push_back(Seen{bar, count});
    }
    return state;
}

void Journal::run(const std::function<void()>& command) {
    if (depth_ == 0) commandStarting();
    ++depth_;
    try {
        command();
    } catch (...) {
        if (--depth_ == 0) commandEnded();
        throw;
    }
    if (--depth_ == 0) commandEnded();
}

void Journal::commandStarting() {
    open_ = nullptr;
    HostJournal* j = attached(true);
    if (j == nullptr) return;
    try {
        currentBefore_.clear();
        if (form_.CurrentBar) currentBefore_ = form_.CurrentBar->Name();
        const automation::CommandBarsPtr bars = form_.HostCommandBars();
        if (const automation::ChangeCounting* counts = counting(*bars)) {
            j->last = readChanged(*bars, *counts, j->known ? &j->last : nullptr);
            j->known = true;
        } else if (!j->known || outline() != j->last.outline) {
            j->last = readAll();
            j->known = true;
        }
        before_ = j->last;
        open_ = j;
    } catch (...) {
        // A host that no longer answers has quit: its journal goes.
        std::erase_if(journals_, [j](const HostJournal& other) { return &other == j; });
    }
}

void Journal::commandEnded() {
    HostJournal* j = open_;
    open_ = nullptr;
    if (j == nullptr || attached(false) != j) return;
    try {
        std::string currentAfter;
        if (form_.CurrentBar) currentAfter = form_.CurrentBar->Name();
        HostState after;
        const automation::CommandBarsPtr hostBars = form_.HostCommandBars();
        const automation::ChangeCounting* counts = counting(*hostBars);
        const std::vector<automation::CommandBarPtr> bars =
            counts != nullptr ? std::vector<automation::CommandBarPtr>{} : hostBars->Enumerate();
        if (counts != nullptr) after = readChanged(*hostBars, *counts, &before_);
        for (std::size_t i = 0; i < bars.size(); ++i) {
            automation::CommandBar& bar = *bars[i];
            const Outline o{bar.Name(),     bar.Type(),  bar.Enabled(),          bar.Visible(),
                            bar.Position(), bar.Width(), bar.Controls()->Count()};
            // The same bar at the same place with the same outline is carried over, unless the command may
            // have changed it within.
            const bool samePlace = i < before_.outline.size() && before_.outline[i] == o;
            const bool suspect = o.name == currentBefore_ || o.name == currentAfter || o.name == kIconViewer;
            if (samePlace && !suspect) {
                after.bars.push_back(before_.bars[i]);
            } else {
                auto snapshot = std::make_shared<const BarSnapshot>(snapshotBar(bar));
                const bool unchanged = samePlace && *snapshot == *before_.bars[i];
                after.bars.push_back(unchanged ? before_.bars[i] : std::move(snapshot));
            }
            after.outline.push_back(o);
        }
        j->last = after;
        if (!sameBars(before_.bars, after.bars)) {
            j->undo.push_back(Entry{std::move(before_.bars), std::move(after.bars)});
            j->redo.clear();
        }
    } catch (...) {
        // Read again in full before the next command.
        j->known = false;
    }
    before_ = {};
}

void Journal::undo() { step(true); }
void Journal::redo() { step(false); }

void Journal::step(bool back) {
    HostJournal* j = attached(false);
    if (j == nullptr || (back ? j->undo : j->redo).empty()) {
        form_.StatusBar1.SetPanelText(6, back ? "无可撤销" : "无可重做");
        return;
    }
    std::vector<Entry>& from = back ? j->undo : j->redo;
    Entry entry = from.back();
    from.pop_back();
    const std::vector<BarPtr> bars = back ? entry.before : entry.after;
    std::vector<BarSnapshot> target;
    for (const auto& bar : bars) target.push_back(*bar);
    // The entry moves to the other side even when the host refuses a step, so that what was restored
    // can be taken back again.
    (back ? j->redo : j->undo).push_back(std::move(entry));
    HostState previous = std::move(j->last);
    j->last = {};
    const bool restored = shell::report(form_, [&] { restoreBars(*form_.HostCommandBars(), target); });
    // Restored, the host is as recorded; otherwise it is read again before the next command. A host that
    // counts changes tells which bars the restore touched, whether it went through or not: only those are
    // read again.
    j->known = restored;
    if (restored) {
        j->last.bars = bars;
        j->last.outline.clear();
        for (const BarPtr& b : bars) j->last.outline.push_back(outlineOf(*b));
    }
    try {
        const automation::CommandBarsPtr hostBars = form_.HostCommandBars();
        if (const automation::ChangeCounting* counts = counting(*hostBars)) {
            j->last = readChanged(*hostBars, *counts, &previous);
            j->known = true;
        }
    } catch (...) {
        j->known = false;
    }
    relist();
    form_.StatusBar1.SetPanelText(6, back ? "已撤销" : "已重做");
}

// The grids show the host as it is now, with the bar that was current current again (or the first bar when
// it is gone) and the same row of the control grid; an open popup is closed.
void Journal::relist() {
    std::string barName;
    int barRow = 0;
    const int controlRow = form_.ListAllCommandControls.Row();
    const int controlCol = form_.ListAllCommandControls.Col();
    shell::resume(form_, [&] {
        barName = shell::obj(form_.CurrentBar).Name();
        barRow = form_.ListAllCommandbars.Row();
    });
    shell::resume(form_, [&] { shell::ListCommandbars(form_); });
    shell::FlexGrid& grid = form_.ListAllCommandbars;
    int row = 0;
    if (barRow > 0 && barRow < grid.Rows() && grid.TextMatrix(barRow, 1) == barName) row = barRow;
    for (int r = 1; row == 0 && r < grid.Rows(); ++r) {
        if (grid.TextMatrix(r, 1) == barName) row = r;
    }
    if (row == 0) return;
    shell::resume(form_, [&] {
        grid.SetRow(row);
        grid.SetCol(1);
        shell::ListAllCommandbars_Click(form_);
        // The row the user was on stays current, so that the next command acts where it did.
        shell::FlexGrid& controls = form_.ListAllCommandControls;
        if (controlRow > 0 && controlRow < controls.Rows() && controlCol > 0 && controlCol < controls.Cols()) {
            controls.SetRow(controlRow);
            controls.SetCol(controlCol);
        }
    });
}

void attachJournal(shell::Form1& form) {
    auto journal = std::make_shared<Journal>(form);
    auto wrap = [journal](std::function<void()>& handler) {
        if (!handler) return;
        handler = [journal, inner = std::move(handler)] { journal->run(inner); };
    };
    std::function<void(shell::MenuItem&)> wrapMenu = [&](shell::MenuItem& item) {
        wrap(item.onClick);
        for (const auto& child : item.children()) wrapMenu(*child);
    };
    for (const auto& top : form.menuBar()) wrapMenu(*top);
    // The buttons and double-clicks that act on the host: 批量追加到, the icon viewer.
    wrap(form.BatchCopy.onClick);
    wrap(form.ListAllCommandControls.onDblClick);
    // A right click opens the popup menus, whose items are commands of their own; they run inside it.
    auto wrapMouse = [journal](std::function<void(const shell::MouseEvent&)>& handler) {
        if (!handler) return;
        handler = [journal, inner = std::move(handler)](const shell::MouseEvent& mouse) {
            journal->run([&] { inner(mouse); });
        };
    };
    wrapMouse(form.ListAllCommandbars.onMouseDown);
    wrapMouse(form.ListAllCommandControls.onMouseDown);
    wrapMouse(form.Frame1.onMouseDown);
    form.menu("menuUndo").onClick = [journal] { journal->undo(); };
    form.menu("menuRedo").onClick = [journal] { journal->redo(); };
}

}  // namespace tessaline::editing
