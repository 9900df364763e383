#include "editing/SelectedControl.h"

#include <string>

#include "shell/ErrorModes.h"
#include "shell/Form1.h"

namespace tessaline::editing {

automation::ControlsPtr ListedControls(shell::Form1& form) {
    if (form.CurrentPopup) return form.CurrentPopup->Controls();
    return shell::obj(form.CurrentBar).Controls();
}

automation::CommandBarPtr ListedBar(shell::Form1& form) {
    // A popup is addressed through its own bar: that is where its sub items live.
    if (form.CurrentPopup) return form.CurrentPopup->CommandBar();
    if (!form.CurrentBar) throw automation::objectNotSet();
    return form.CurrentBar;
}

StaleRowError::StaleRowError()
    : automation::AutomationError(automation::vberr::InvalidCall, "此行显示的控件已不在该位置，请重新列出控件后再操作。") {}

automation::ControlPtr ControlAtRow(shell::Form1& form, int row) {
    automation::ControlPtr control = shell::obj(ListedControls(form)).Item(row);
    if (!control) throw automation::objectNotSet();
    return control;
}

automation::ControlPtr ShownControlAtRow(shell::Form1& form, int row) {
    automation::ControlPtr control = ControlAtRow(form, row);
    const std::string& shownId = form.ListAllCommandControls.TextMatrix(row, 1);
    if (!shownId.empty() && shownId != std::to_string(control->Id())) throw StaleRowError();
    return control;
}

automation::ControlPtr SelectedControl(shell::Form1& form) {
    return ControlAtRow(form, form.ListAllCommandControls.Row());
}

}  // namespace tessaline::editing
