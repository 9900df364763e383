#include "sources/SourceWorkbooks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Desktop.h"
#include "automation/Excel.h"
#include "automation/VbRuntime.h"
#include "automation/Vbe.h"
#include "shell/ErrorModes.h"
#include "shell/Form1.h"
#include "shell/HostLink.h"

namespace tessaline::sources {

namespace {

namespace vb = automation::vb;
using automation::ControlPtr;

constexpr int kProgressPanel = 6;
// Controls of a popup three levels down are recorded, their contents are not.
constexpr int kDeepestColumn = 4;

// Host entries that lead only to dialogs or lists of their own; walking into them gains nothing.
constexpr std::array<const char*, 6> kSkippedCaptions = {"&*",       "<动词*",    "其他控件*",
                                                         "Utility*", "对象(&O)*", "权限(&M)*"};

std::shared_ptr<automation::ExcelApplication> runningExcel(shell::Form1& form) {
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(form.desktop().GetObject("Excel.Application"));
    if (!excel) throw automation::noSuchMember();
    return excel;
}

// `SourceHost.CommandBars`, late bound.
automation::CommandBarsPtr sourceBars(shell::Form1& form) {
    auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(form.SourceHost);
    if (!form.SourceHost) throw automation::objectNotSet();
    if (!host) throw automation::noSuchMember();
    return host->CommandBars();
}

// The controls of a popup, late bound: a control that is not a popup has no Controls.
automation::ControlsPtr popupControls(automation::CommandBarControl& control) {
    return shell::obj(control.AsPopup()).Controls();
}

// How a writer runs its statements: UpdateToolbarSource skips a failing one and goes on; RefreshMenubarSource
// lets the first failure end the whole procedure.
struct StatementMode {
    std::function<bool(const std::function<void()>&)> run;
    std::function<bool(const std::function<bool()>&)> test;

    static StatementMode resuming(shell::Form1& form) {
        return {[&form](const std::function<void()>& step) { return shell::resume(form, step); },
                [&form](const std::function<bool()>& condition) { return shell::resumeIf(form, condition); }};
    }
    static StatementMode throwing() {
        return {[](const std::function<void()>& step) {
                    step();
                    return true;
                },
                [](const std::function<bool()>& condition) { return condition(); }};
    }
};

// Writes one walk into a sheet, a row per recorded item. The row is a 16-bit counter; a walk that would
// need a row past 32767 stops there instead of writing the remaining items over its last row.
class SourceWriter {
public:
    SourceWriter(automation::WorksheetPtr sheet, StatementMode mode, std::int16_t firstRow)
        : sheet_(std::move(sheet)), mode_(std::move(mode)), SourceRow(firstRow) {}

    bool full() const { return full_; }

    void writeBar(automation::CommandBar& bar) {
        if (!advance()) return;
        writeCell(sourcecol::BarName, [&] { return automation::Variant(bar.Name()); });
        writeCell(sourcecol::Index, [&] { return automation::Variant(bar.Index()); });
        automation::ControlsPtr controls;
        if (!mode_.run([&] { controls = bar.Controls(); })) return;
        writeControls(controls, 2);
    }

    void writeControls(const automation::ControlsPtr& controls, int column) {
        std::vector<ControlPtr> items;
        if (!mode_.run([&] { items = shell::obj(controls).Enumerate(); })) return;
        for (const ControlPtr& control : items) {
            if (full_) return;
            if (!mode_.test([&] { return !IsSkippedControl(shell::obj(control)); })) continue;
            writeControl(*control, column);
        }
    }

private:
    void writeControl(automation::CommandBarControl& control, int column) {
        if (!advance()) return;
        writeCell(column, [&] { return automation::Variant(control.Caption()); });
        writeCell(sourcecol::Index, [&] { return automation::Variant(control.Index()); });
        writeCell(sourcecol::Id, [&] { return automation::Variant(control.Id()); });
        if (column >= kDeepestColumn) return;
        if (!mode_.test([&] { return IsPopupControl(control); })) return;
        automation::ControlsPtr children;
        if (!mode_.run([&] { children = popupControls(control); })) return;
        writeControls(children, column + 1);
    }

    bool advance() {
        if (full_) return false;
        if (SourceRow == INT16_MAX) {
            full_ = true;
            return false;
        }
        ++SourceRow;
        return true;
    }

    void writeCell(int column, const std::function<automation::Variant()>& value) {
        mode_.run([&] { shell::obj(shell::obj(sheet_).Cells(SourceRow, column)).SetValue(value()); });
    }

    automation::WorksheetPtr sheet_;
    StatementMode mode_;
    std::int16_t SourceRow;
    bool full_ = false;
};

// Switches screen updating back on after a writer stopped early, so Excel is not left frozen.
void restoreScreenUpdating(shell::Form1& form) {
    shell::resume(form, [&] { shell::obj(form.ExcelApp).SetScreenUpdating(true); });
}

void finishWalk(shell::Form1& form, const SourceWriter& writer) {
    restoreScreenUpdating(form);
    if (writer.full()) {
        // The sheet holds only part of the tree: say so rather than call the walk completed.
        form.reportError(automation::overflow());
        return;
    }
    shell::resume(form, [&] { form.StatusBar1.SetPanelText(kProgressPanel, "Completed"); });
}

// The name under which the chosen host's menu bar goes: Excel's worksheet menu bar, the editor's "菜单条",
// "menu bar" everywhere else. Empty with Void (or no option) chosen.
std::string menuBarNameOfChosenHost(shell::Form1& form) {
    if (form.Void.Value()) return {};
    if (form.Excel.Value()) return "Worksheet menu bar";
    if (form.VBE.Value()) return "菜单条";
    if (form.Word.Value() || form.PowerPoint.Value() || form.Access.Value() || form.Outlook.Value()) {
        return "menu bar";
    }
    return {};
}

}  // namespace

bool IsSkippedControl(automation::CommandBarControl& control) {
    const std::string caption = control.Caption();
    if (caption.empty()) return true;
    // Read once: a capture asks this of every control of the host.
    static const std::vector<vb::LikePattern> patterns = [] {
        std::vector<vb::LikePattern> compiled;
        for (const char* pattern : kSkippedCaptions) compiled.emplace_back(vb::LCase(pattern));
        return compiled;
    }();
    const std::string lowered = vb::LCase(caption);
    return std::any_of(patterns.begin(), patterns.end(), [&](const auto& p) { return p.matches(lowered); });
}

bool IsPopupControl(automation::CommandBarControl& control) {
    const int type = control.Type();
    return type == automation::mso::ControlPopup || type == automation::mso::ControlGraphicPopup ||
           type == automation::mso::ControlButtonPopup || type == automation::mso::ControlSplitButtonPopup;
}

// Report mode.
bool OpenSourceSheet(shell::Form1& form, const std::string& workbookName) {
    bool selected = false;
    const bool ranToEnd = shell::report(form, [&] {
        form.StatusBar1.SetPanelText(kProgressPanel, "Waiting");
        form.ExcelApp = runningExcel(form);
        form.ExcelApp->SetScreenUpdating(false);

        struct HostChoice {
            const shell::OptionButton& option;
            const char* progId;
            const char* name;
        };
        if (form.Void.Value()) {
            form.SourceHost = nullptr;
            form.HostName.clear();
            return;
        }
        const HostChoice choices[] = {{form.Excel, "Excel.Application", "Excel"},
                                      {form.Word, "Word.Application", "Word"},
                                      {form.PowerPoint, "PowerPoint.Application", "PowerPoint"},
                                      {form.Access, "Access.Application", "Access"},
                                      {form.Outlook, "Outlook.Application", "Outlook"},
                                      {form.VBE, "Excel.Application", "VBE"}};
        const HostChoice* chosen = nullptr;
        for (const HostChoice& choice : choices) {
            if (choice.option.Value()) {
                chosen = &choice;
                break;
            }
        }
        if (!chosen) return;

        automation::ObjectPtr host = form.desktop().GetObject(chosen->progId);
        if (&chosen->option == &form.Outlook) {
            auto outlook = std::dynamic_pointer_cast<automation::OutlookApplication>(host);
            if (!outlook) throw automation::noSuchMember();
            host = outlook->ActiveExplorer();
        } else if (&chosen->option == &form.VBE) {
            auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(host);
            if (!excel) throw automation::noSuchMember();
            host = excel->VBE();
        }
        form.SourceHost = std::move(host);
        form.HostName = chosen->name;

        form.SourceSheet = shell::obj(shell::obj(form.ExcelApp->Workbooks()).Item(workbookName))
                               .Worksheets(automation::Variant(form.HostName));
        selected = true;
    });
    return ranToEnd && selected;
}

// Resume mode: a failing statement is skipped. A sheet this call did not select is never touched, and the
// sheet is cleared only once the host's bars could be read, so a recording is not lost to a host that
// cannot be walked.
void UpdateToolbarSource(shell::Form1& form) {
    if (!OpenSourceSheet(form, ToolbarSourceName)) {
        restoreScreenUpdating(form);
        return;
    }
    std::vector<automation::CommandBarPtr> bars;
    try {
        bars = shell::obj(sourceBars(form)).Enumerate();
    } catch (const std::exception& e) {
        restoreScreenUpdating(form);
        form.reportError(e);
        return;
    }
    shell::resume(form, [&] { shell::obj(shell::obj(form.SourceSheet).UsedRange()).ClearContents(); });

    SourceWriter writer(form.SourceSheet, StatementMode::resuming(form), 0);
    for (const automation::CommandBarPtr& bar : bars) {
        if (writer.full()) break;
        if (!shell::resumeIf(form, [&] { return vb::LCase(shell::obj(bar).Name()) != vb::LCase("Built-in Menus"); })) {
            continue;
        }
        writer.writeBar(*bar);
    }
    finishWalk(form, writer);
}

// Report mode: the first failure ends it with the error report box.
void RefreshMenubarSource(shell::Form1& form, const std::string& barName) {
    if (!OpenSourceSheet(form, MenubarSourceName)) {
        restoreScreenUpdating(form);
        return;
    }
    std::unique_ptr<SourceWriter> writer;
    const bool ranToEnd = shell::report(form, [&] {
        // The host's sheet is looked up again by name, not taken from SourceSheet.
        automation::WorksheetPtr sheet = shell::obj(shell::obj(form.ExcelApp->Workbooks()).Item(MenubarSourceName))
                                             .Worksheets(automation::Variant(form.HostName));
        // The bar is found and read before the old recording is cleared, so a bar the host cannot give
        // leaves the last recording in place for the menu-bar capture.
        automation::CommandBarPtr bar = shell::obj(sourceBars(form)).Item(automation::Variant(barName));
        shell::obj(shell::obj(bar).Controls()).Count();
        shell::obj(shell::obj(sheet).UsedRange()).ClearContents();
        // Row 1 stays empty: the bar goes into row 2, its controls below.
        writer = std::make_unique<SourceWriter>(sheet, StatementMode::throwing(), 1);
        writer->writeBar(shell::obj(bar));
    });
    if (!ranToEnd || !writer) {
        restoreScreenUpdating(form);
        return;
    }
    finishWalk(form, *writer);
}

// Resume mode: every failure is ignored.
void OpenSourceWorkbook(shell::Form1& form, const std::string& fileName) {
    shell::resume(form, [&] { form.ExcelApp = runningExcel(form); });
    bool open = false;
    shell::resume(form, [&] { open = shell::obj(form.ExcelApp).Workbooks()->Item(fileName) != nullptr; });
    form.Err.silentFailure.clear();
    if (!open &&
        !shell::resume(form, [&] { shell::obj(form.ExcelApp).Workbooks()->Open(form.App.Path + "\\" + fileName); })) {
        form.Err.silentFailure = fileName + ": " + form.Err.Description;
    }
    shell::resume(form, [&] { shell::ActivateHostWindow(form, "Xlmain"); });
}

void OpenSourceFile_Click(shell::Form1& form) { OpenSourceWorkbook(form, ToolbarSourceName); }

void menuTreeviewxls_Click(shell::Form1& form) { OpenSourceWorkbook(form, ToolbarSourceName); }

void MenuUpdateSource_Click(shell::Form1& form) { UpdateToolbarSource(form); }

void menuMenubarOpen_Click(shell::Form1& form) { OpenSourceWorkbook(form, MenubarSourceFileName); }

void menuMenubarRefresh_Click(shell::Form1& form) {
    const std::string barName = menuBarNameOfChosenHost(form);
    if (barName.empty()) return;
    RefreshMenubarSource(form, barName);
}

}  // namespace tessaline::sources
