#include "designer/ApplyDesign.h"

#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/VbRuntime.h"
#include "designer/CodePane.h"
#include "shell/CommandbarGrid.h"
#include "shell/Form1.h"

namespace tessaline::designer {

namespace {

enum class Placement { First, Last, Replace };

automation::ControlsPtr targetControls(shell::Form1& form) {
    automation::ControlsPtr controls =
        form.CurrentPopup ? form.CurrentPopup->Controls() : shell::obj(form.CurrentBar).Controls();
    if (!controls) throw automation::objectNotSet();
    return controls;
}

// Resume mode throughout: a failing step is skipped silently and the next one runs.
void applyDesign(shell::Form1& form, Placement placement) {
    shell::FlexGrid& grid = form.ListAllCommandControls;

    if (placement == Placement::Replace) {
        std::vector<automation::ControlPtr> existing;
        shell::resume(form, [&] { existing = targetControls(form)->Enumerate(); });
        for (const automation::ControlPtr& control : existing) {
            form.CurrentControl = control;
            shell::resume(form, [&] { control->Delete(); });
        }
    }

    std::string code;
    // The rows are counted once: nothing below changes the grid until the final listing.
    const int rows = grid.Rows();
    int added = 0;
    for (int r = grid.FixedRows(); r < rows; ++r) {
        auto cell = [&grid, r](int col) { return grid.TextMatrix(r, col); };

        automation::ControlPtr control;
        const bool ok = shell::resume(form, [&] {
            automation::ControlsPtr controls = targetControls(form);
            // At the front (and when replacing) a control goes right after those this command added before
            // it, not at its grid row: a row that added nothing must not leave a gap, or on a short target
            // push every later row out of range.
            const int before = placement == Placement::Last ? controls->Count() + 1 : added + 1;
            // The type cell goes to the host as text; the host converts it to its control-type value.
            control = controls->Add(automation::Variant(cell(5)), std::nullopt, std::nullopt, before);
            if (!control) throw automation::objectNotSet();
        });
        if (!ok) continue;
        ++added;
        const DesignCell cellText = [&cell](int col) { return automation::Variant(cell(col)); };
        ApplyDesignRow(form, control, cellText, code);
    }

    shell::resume(form, [&] { form.RichTextBox1.SetText(code); });
    shell::resume(form, [&] { shell::ListAllCommandbars_Click(form); });
}

}  // namespace

void ApplyDesignRow(shell::Form1& form, const automation::ControlPtr& control, const DesignCell& cell,
                    std::string& code) {
    form.CurrentControl = control;

    using automation::vb::CBool;
    using automation::vb::CStr;
    shell::resume(form, [&] { control->SetCaption(CStr(cell(2))); });
    shell::resume(form, [&] { control->SetBeginGroup(CBool(cell(4))); });
    shell::resume(form, [&] { control->SetEnabled(CBool(cell(6))); });
    shell::resume(form, [&] { control->SetVisible(CBool(cell(7))); });
    shell::resume(form, [&] { control->SetProperty("FaceId", cell(8)); });
    shell::resume(form, [&] { control->SetOnAction(CStr(cell(9))); });
    shell::resume(form, [&] { control->SetTooltipText(CStr(cell(10))); });
    shell::resume(form, [&] { control->SetProperty("Style", cell(11)); });
    // After OnAction: the host takes a shortcut text only on a button that has a macro.
    shell::resume(form, [&] { control->SetProperty("ShortcutText", cell(12)); });

    // A button popup runs no macro of its own, so it gets no stub. The stub names the macro as the host
    // stored it, not as it was typed.
    if (shell::resumeIf(form, [&] { return control->Type() != automation::mso::ControlButtonPopup; })) {
        shell::resume(form, [&] { code += MacroStub(control->OnAction()); });
        shell::resume(form, [&] { form.ShowMacroList.SetValue(shell::vbcheck::Unchecked); });
    }
}

void AddtoFirst_Click(shell::Form1& form) { applyDesign(form, Placement::First); }

void AddToLast_Click(shell::Form1& form) { applyDesign(form, Placement::Last); }

void ReplaceOriginal_Click(shell::Form1& form) { applyDesign(form, Placement::Replace); }

}  // namespace tessaline::designer
