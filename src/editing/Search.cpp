#include "editing/Search.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/VbRuntime.h"
#include "shell/CommandbarGrid.h"
#include "shell/Form1.h"

namespace tessaline::editing {

namespace {

using automation::RangePtr;
using ExcelPtr = std::shared_ptr<automation::ExcelApplication>;
using shell::obj;
using shell::resume;
using shell::resumeIf;

ExcelPtr runningExcel(shell::Form1& form) {
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(form.desktop().GetObject("Excel.Application"));
    if (!excel) throw automation::noSuchMember();
    return excel;
}

// "*" & part & "*" as Like reads it. A part with an unclosed '[' makes a pattern Like refuses; the condition
// then counts as not met for every cell, so such a key finds nothing rather than everything.
class CaptionPattern {
public:
    CaptionPattern(shell::Form1& form, const std::string& part) : pattern_("*" + part + "*") {
        readable_ = resumeIf(form, [&] {
            automation::vb::Like("", pattern_);
            return true;
        });
    }

    // Only captions take part: the walk that records the sheet never writes an empty caption, and the empty
    // cells beside a caption would otherwise match "**" and lead to whatever lies above them.
    bool matches(automation::Range& cell) const {
        if (!readable_) return false;
        const automation::Variant value = cell.Value();
        if (value.isEmpty()) return false;
        return automation::vb::Like(automation::vb::CStr(value), pattern_);
    }

private:
    std::string pattern_;
    bool readable_ = false;
};

// The recorded Index (a number) against the digits typed after the comma (a text): equal as numbers when
// the text reads as one, else as texts.
bool sameIndex(const automation::Variant& recorded, const std::string& typed) {
    if (recorded.isNumber()) {
        try {
            return recorded.toDouble() == automation::vb::CDbl(typed);
        } catch (const automation::AutomationError&) {
            return false;
        }
    }
    return !recorded.isEmpty() && automation::vb::CStr(recorded) == typed;
}

// One pass over the region, top row first and left to right: the set of bar-name cells under which a
// matching control is recorded. From a caption, End(xlToLeft) reaches column A of its row (empty on a
// control row) and End(xlUp) climbs from there to the nearest bar name. Nothing when no cell matches.
RangePtr collectBars(shell::Form1& form, const ExcelPtr& excel, const std::vector<RangePtr>& cells,
                     const std::function<bool(automation::Range&)>& matches) {
    std::vector<RangePtr> bars;
    std::set<std::pair<int, int>> seen;
    for (const RangePtr& cell : cells) {
        resume(form, [&] {
            if (cell->Column() == 1) return;
            if (!resumeIf(form, [&] { return matches(*cell); })) return;
            const RangePtr bar = obj(cell->End(automation::xl::ToLeft)).End(automation::xl::Up);
            // Union keeps each cell once anyway; skipping the repeats spares a call per matching control.
            if (seen.emplace(obj(bar).Row(), bar->Column()).second) bars.push_back(bar);
        });
    }
    if (bars.empty()) return nullptr;
    if (bars.size() == 1) return bars.front();
    RangePtr found = bars.front();
    resume(form, [&] { found = obj(excel).Union(bars); });
    return found;
}

RangePtr findBars(shell::Form1& form, const ExcelPtr& excel, const automation::WorksheetPtr& sheet,
                  const std::string& key) {
    std::vector<RangePtr> cells;
    if (!resume(form, [&] { cells = obj(obj(obj(sheet).Range("A1")).CurrentRegion()).Cells(); })) return nullptr;

    const std::vector<std::string> parts = automation::vb::Split(key, ",");
    if (resumeIf(form, [&] { return automation::vb::Like(key, "*,[0-9]"); })) {
        const CaptionPattern caption(form, parts[0]);
        const std::string& index = parts[1];
        return collectBars(form, excel, cells, [&](automation::Range& cell) {
            return caption.matches(cell) && sameIndex(obj(cell.End(automation::xl::ToRight)).Value(), index);
        });
    }
    if (resumeIf(form, [&] { return automation::vb::Like(key, "*,*"); })) {
        const CaptionPattern first(form, parts[0]);
        const CaptionPattern second(form, parts[1]);
        RangePtr set1 = collectBars(form, excel, cells, [&](automation::Range& cell) { return first.matches(cell); });
        RangePtr set2 = collectBars(form, excel, cells, [&](automation::Range& cell) { return second.matches(cell); });
        if (!set1 || !set2) return set1;
        RangePtr both;
        resume(form, [&] { both = obj(excel).Intersect(set1, set2); });
        return both;
    }
    const CaptionPattern caption(form, key);
    return collectBars(form, excel, cells, [&](automation::Range& cell) { return caption.matches(cell); });
}

// The bar a bar-name cell records. The name goes by its text, since a bar named with digits is stored as a
// number and a number would pick a bar by its position. Bars may share a name (Excel has two "Cell" bars) and
// the host answers a name with the first of them, so the Index recorded beside the name picks the right one
// while the bar there still carries that name; a recording older than the bars falls back to the name.
automation::CommandBarPtr recordedBar(shell::Form1& form, automation::Range& nameCell) {
    const std::string name = automation::vb::CStr(nameCell.Value());
    const automation::CommandBarsPtr bars = form.HostCommandBars();
    try {
        const automation::Variant index = obj(nameCell.End(automation::xl::ToRight)).Value();
        if (index.isNumber()) {
            automation::CommandBarPtr bar = bars->Item(index);
            if (obj(bar).Name() == name) return bar;
        }
    } catch (const automation::AutomationError&) {
        // No usable Index: the name alone decides.
    }
    return bars->Item(name);
}

// Fills the bar grid with the found bars, in the order the range enumerates its cells, and lists the
// controls of the first one.
void listFoundBars(shell::Form1& form, const RangePtr& found) {
    shell::FlexGrid& grid = form.ListAllCommandbars;
    resume(form, [&] { grid.SetRows(1); });
    form.RowCounter = 1;
    resume(form, [&] { shell::SetCommandbarGridHeaders(form); });
    std::vector<RangePtr> cells;
    resume(form, [&] { cells = obj(found).Cells(); });
    for (const RangePtr& cell : cells) {
        // One step per bar: a name the host no longer has (the recording is older than the bars) adds no
        // row, rather than repeating the bar before it.
        resume(form, [&] {
            const automation::CommandBarPtr bar = recordedBar(form, *cell);
            grid.AddItem(shell::CommandbarRowText(obj(bar)), form.RowCounter);
            form.incrementRowCounter();
        });
    }
    // With no row found there is no cell (1, 1): CurrentBar keeps its bar.
    resume(form, [&] { form.CurrentBar = form.HostCommandBars()->Item(grid.TextMatrix(1, 1)); });
    resume(form, [&] { form.StatusBar1.SetPanelText(2, obj(form.CurrentBar).Name()); });
    resume(form, [&] { shell::ListAllCommandbars_Click(form); });
}

}  // namespace

std::string SearchedSheetName(shell::Form1& form) {
    if (form.VBE.Value()) return "VBE";
    if (!form.HostApp) throw automation::objectNotSet();
    auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(form.HostApp);
    if (!host) throw automation::noSuchMember();
    const std::vector<std::string> words = automation::vb::Split(host->Name(), " ");
    if (words.size() >= 2) return words[1];
    // Outlook calls itself by one word, which is also its sheet's name.
    if (words.size() == 1) return words[0];
    throw automation::subscriptOutOfRange();
}

// Resume mode.
void SearchCommandbar_Click(shell::Form1& form) {
    resume(form, [&] { form.StatusBar1.SetPanelText(6, "Waiting..."); });
    std::string key;
    resume(form, [&] { key = automation::vb::Trim(form.IDString.Text()); });
    resume(form, [&] { form.ListAllCommandbars.Clear(); });
    if (!form.HostApp) return;

    // This search's own Excel: when none runs now, an Excel kept from earlier must not answer for it.
    ExcelPtr excel;
    resume(form, [&] {
        excel = runningExcel(form);
        form.ExcelApp = excel;
    });
    automation::WorksheetPtr sheet;
    resume(form, [&] {
        sheet = obj(obj(obj(excel).Workbooks()).Item(SearchedWorkbookName)).Worksheets(SearchedSheetName(form));
    });

    // An empty key, or one that starts with a digit (a control ID, say), is not searched.
    if (resumeIf(form, [&] { return automation::vb::Like(key, "[!0-9]*"); })) {
        listFoundBars(form, findBars(form, excel, sheet, key));
    }
    resume(form, [&] { form.StatusBar1.SetPanelText(6, "Completed"); });
}

}  // namespace tessaline::editing
