#include "sources/MacroList.h"

#include <memory>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/FaultPlan.h"
#include "automation/VbRuntime.h"
#include "automation/Vbe.h"
#include "shell/ErrorModes.h"
#include "shell/Form1.h"

namespace tessaline::sources {

namespace {

namespace vb = automation::vb;

constexpr int kCallbackColumn = 9;
constexpr int kProgressPanel = 6;
// The list scrolls sideways this far beyond its own width, so long paths can be read to their end.
constexpr int kExtraHorizontalExtent = 100;

// `HostApp.VBE`, late bound: only an application that has a VBA editor answers it.
automation::VbePtr vbeOf(const automation::ObjectPtr& host) {
    if (!host) throw automation::objectNotSet();
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(host);
    if (!excel) throw automation::noSuchMember();
    return excel->VBE();
}

void addMacrosOfModule(shell::Form1& form, automation::VBComponent& component, const std::string& fileName) {
    std::string moduleName;
    if (!shell::resume(form, [&] { moduleName = component.Name(); })) return;
    std::shared_ptr<automation::CodeModule> module;
    if (!shell::resume(form, [&] { module = component.CodeModule(); }) || !module) return;
    int lineCount = 0;
    if (!shell::resume(form, [&] { lineCount = module->CountOfLines(); })) return;
    if (lineCount <= 0) return;
    // One read serves every line: the module does not change while it is being scanned.
    std::vector<std::string> lines;
    if (!shell::resume(form, [&] { lines = vb::Split(module->Lines(1, lineCount), "\r\n"); })) return;

    for (int i = 0; i < lineCount; ++i) {
        if (i >= static_cast<int>(lines.size())) {
            form.Err = shell::errorOf(automation::subscriptOutOfRange());
            continue;
        }
        std::optional<std::string> name;
        shell::resume(form, [&] { name = ParameterlessSubName(lines[static_cast<std::size_t>(i)]); });
        if (!name) continue;
        shell::resume(form, [&] { form.ListMacros.AddItem(fileName + "!" + moduleName + "." + *name); });
    }
}

void addMacrosOfProject(shell::Form1& form, automation::VBProject& project) {
    // Locked projects cannot be read; a project whose protection cannot even be asked is passed over too.
    if (!shell::resumeIf(form, [&] { return project.Protection() == automation::vbext::ProtectionNone; })) return;
    // A path that cannot be read is left empty rather than borrowed from the project before.
    std::string fileName;
    shell::resume(form, [&] { fileName = project.FileName(); });
    std::vector<std::shared_ptr<automation::VBComponent>> components;
    if (!shell::resume(form, [&] { components = shell::obj(project.VBComponents()).Enumerate(); })) return;
    for (const auto& component : components) {
        if (!component) continue;
        if (!shell::resumeIf(form, [&] { return component->Type() == automation::vbext::ComponentStdModule; })) {
            continue;
        }
        addMacrosOfModule(form, *component, fileName);
    }
}

}  // namespace

std::optional<std::string> ParameterlessSubName(std::string_view line) {
    // Case-sensitive on purpose: "sub lower()" is not how the editor writes a declaration.
    if (!vb::Like(line, "*Sub *()")) return std::nullopt;
    const std::vector<std::string> pieces = vb::Split(vb::Trim(line), "Sub ");
    if (pieces.size() < 2) return std::nullopt;
    return vb::Replace(pieces[1], "()", "");
}

std::string ShrinkEntry(const std::string& entry) {
    if (vb::Like(entry, "*!*")) return vb::Split(entry, "!")[1];
    if (vb::Like(entry, "*.*")) return vb::Split(entry, ".")[1];
    return entry;
}

// Mode none.
void ShowMacroList_Click(shell::Form1& form) {
    // The list lies above the code pane in the same place, so hiding it is what shows the pane.
    form.ListMacros.SetVisible(form.ShowMacroList.Value() == shell::vbcheck::Checked);
}

// Report mode.
void ListMacros_Click(shell::Form1& form) {
    shell::report(form, [&] {
        // A click that selects nothing picks nothing; it must not wipe a callback the user typed.
        if (form.ListMacros.ListIndex() < 0) return;
        shell::FlexGrid& grid = form.ListAllCommandControls;
        const int row = grid.Row();
        // With only the header row the current cell is a header cell, and its caption is no place for a macro.
        if (row < grid.FixedRows()) throw automation::AutomationError(shell::flexerr::BadRowValue, "Invalid Row value");
        grid.SetTextMatrix(row, kCallbackColumn, form.ListMacros.Text());
    });
}

// Report mode.
void ListMacros_MouseDown(shell::Form1& form, const shell::MouseEvent& mouse) {
    shell::report(form, [&] {
        if (mouse.button == shell::vbbutton::Right) form.PopupMenu(form.menu("MenuListMacros"));
    });
}

// Mode none. The check box's own click handling does the hiding.
void HideMacroList_Click(shell::Form1& form) { form.ShowMacroList.SetValue(shell::vbcheck::Unchecked); }

// Resume mode: whatever the host refuses is skipped, and the list keeps what could be read. A host that has
// quit is another matter: nothing it held can be read any more, and an empty list without a word would read
// as a host without macros. Its error ends the refresh with the error report box, as a failure ends the
// handlers that report, and the job is not marked completed.
void Refresh_Click(shell::Form1& form) {
    form.Err.Clear();  // as VB's On Error Resume Next does on entry
    shell::resume(form, [&] { form.StatusBar1.SetPanelText(kProgressPanel, "Waiting"); });
    shell::resume(form, [&] { form.ListMacros.Clear(); });

    // Outlook's explorer and the editor object have no VBA projects of their own to offer.
    if (shell::resumeIf(form, [&] { return form.HostApp && !form.Outlook.Value() && !form.VBE.Value(); })) {
        std::vector<std::shared_ptr<automation::VBProject>> projects;
        if (shell::resume(form, [&] { projects = shell::obj(vbeOf(form.HostApp)->VBProjects()).Enumerate(); })) {
            for (const auto& project : projects) {
                if (project) addMacrosOfProject(form, *project);
            }
        }
        if (automation::isServerGone(form.Err.Number)) {
            form.reportError(automation::AutomationError(form.Err.Number, form.Err.Description));
            return;
        }
    }

    shell::resume(form, [&] { form.ListMacros.SetHorizontalExtent(form.ListMacros.Width() + kExtraHorizontalExtent); });
    shell::resume(form, [&] { form.StatusBar1.SetPanelText(kProgressPanel, "Completed"); });
}

// Mode none.
void Shrink_Click(shell::Form1& form) {
    for (int i = 0; i < form.ListMacros.ListCount(); ++i) {
        const std::string entry = form.ListMacros.List(i);
        const std::string shortened = ShrinkEntry(entry);
        if (shortened != entry) form.ListMacros.SetList(i, shortened);
    }
}

}  // namespace tessaline::sources
