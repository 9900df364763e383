#include "editing/ControlOperations.h"

#include <string>
#include <vector>

#include "automation/VbRuntime.h"
#include "editing/SelectedControl.h"
#include "shell/CommandbarGrid.h"
#include "shell/Form1.h"

namespace tessaline::editing {

namespace {

void moveSelected(shell::Form1& form, int before) {
    automation::CommandBarPtr bar = ListedBar(form);
    SelectedControl(form)->Move(bar, before);
}

}  // namespace

// Resume mode, one step per property.
void ModifyControl_Click(shell::Form1& form) {
    shell::FlexGrid& grid = form.ListAllCommandControls;
    const bool rowTaken =
        shell::resume(form, [&] { form.RowCounter = static_cast<std::int16_t>(automation::vb::CInt(grid.Row())); });
    automation::ControlPtr control;
    // With no control at the row there is nothing to write to; the control of an earlier command must not
    // receive this row's cells.
    if (!rowTaken) return;
    try {
        control = ShownControlAtRow(form, form.RowCounter);
    } catch (const StaleRowError& e) {
        // Writing the row would change another control than the one it shows: say so instead.
        form.reportError(e);
        return;
    } catch (const std::exception& e) {
        form.Err = shell::errorOf(e);
        return;
    }
    form.CurrentControl = control;

    const int row = form.RowCounter;
    auto cell = [&grid, row](int col) { return grid.TextMatrix(row, col); };
    using automation::vb::CBool;
    shell::resume(form, [&] { control->SetCaption(cell(2)); });
    shell::resume(form, [&] { control->SetBeginGroup(CBool(cell(4))); });
    shell::resume(form, [&] { control->SetEnabled(CBool(cell(6))); });
    shell::resume(form, [&] { control->SetVisible(CBool(cell(7))); });
    shell::resume(form, [&] { control->SetProperty("FaceId", cell(8)); });
    shell::resume(form, [&] {
        // The grid shows no callback for anything but a button, so a blank cell there says nothing about the
        // control's macro; writing it back would silently erase a combo box's OnAction.
        const std::string macro = cell(9);
        if (macro.empty() && control->Type() != automation::mso::ControlButton) return;
        control->SetOnAction(macro);
    });
    shell::resume(form, [&] { control->SetTooltipText(cell(10)); });
    shell::resume(form, [&] { control->SetProperty("Style", cell(11)); });
    shell::resume(form, [&] { control->SetProperty("ShortcutText", cell(12)); });
}

// Mode none.
void DeleteControl_Click(shell::Form1& form) {
    ShownControlAtRow(form, form.ListAllCommandControls.Row())->Delete();
    shell::ListAllCommandbars_Click(form);
}

// Mode none.
void MoveToTop_Click(shell::Form1& form) { moveSelected(form, 1); }

// Mode none.
void MoveToPrevious_Click(shell::Form1& form) { moveSelected(form, form.ListAllCommandControls.Row() - 1); }

// Mode none. Before counts places as they are before the move, so one place down is two ahead.
void MoveToNext_Click(shell::Form1& form) { moveSelected(form, form.ListAllCommandControls.Row() + 2); }

// Mode none.
void MoveToBottom_Click(shell::Form1& form) { moveSelected(form, ListedControls(form)->Count() + 1); }

// Report mode.
void CopyTo_Click(shell::Form1& form) {
    shell::report(form, [&] {
        const std::string text =
            form.ui().InputBox("输入目标工具栏的名称和插入序号,例如: Formatting,3 ", "对话框", "Standard,1");
        if (text.empty()) return;
        automation::ControlPtr control = SelectedControl(form);
        if (text.find(',') != std::string::npos) {
            const std::vector<std::string> pieces = automation::vb::Split(text, ",");
            automation::CommandBarPtr target = form.HostCommandBars()->Item(pieces[0]);
            const double position = automation::vb::Val(pieces[1]);
            control->Copy(target, position);
        } else {
            control->Copy(form.HostCommandBars()->Item(text));
        }
    });
}

}  // namespace tessaline::editing
