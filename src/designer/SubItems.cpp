#include "designer/SubItems.h"

#include "shell/ControlGrid.h"
#include "shell/Form1.h"

namespace tessaline::designer {

namespace {

automation::PopupPtr selectedTopLevelPopup(shell::Form1& form) {
    const int row = form.ListAllCommandControls.Row();
    automation::ControlPtr control = shell::obj(shell::obj(form.CurrentBar).Controls()).Item(row);
    return shell::obj(control).AsPopup();
}

}  // namespace

// Resume mode.
void OpenSubItem_Click(shell::Form1& form) {
    shell::FlexGrid& grid = form.ListAllCommandControls;
    shell::resume(form, [&] { form.CurrentPopup = selectedTopLevelPopup(form); });
    shell::resume(form, [&] { grid.Clear(); });
    shell::resume(form, [&] { grid.SetRows(1); });
    form.RowCounter = 1;
    shell::resume(form, [&] { shell::SetControlGridHeaders(form); });
    shell::resume(form, [&] { form.StatusBar1.SetPanelText(3, shell::obj(form.CurrentPopup).Caption()); });
    shell::resume(form, [&] {
        const automation::ControlsPtr items = shell::obj(form.CurrentPopup).Controls();
        const bool any = shell::obj(items).Count() > 0;
        shell::ListControls(form, *items);
        // A finished For Each leaves its loop variable empty; one that never ran leaves it alone.
        if (any) form.CurrentControl = nullptr;
    });
}

// Mode none: a row without a popup raises, and the dispatcher reports it.
void CreateSubItem_Click(shell::Form1& form) {
    form.CurrentPopup = selectedTopLevelPopup(form);
    form.StatusBar1.SetPanelText(5, form.CurrentPopup->Caption());
    // Runs the design-mode switch, which restarts the grid with one design row; when the box is checked
    // already nothing runs and the grid keeps its rows.
    form.DesignMode.SetValue(shell::vbcheck::Checked);
}

}  // namespace tessaline::designer
