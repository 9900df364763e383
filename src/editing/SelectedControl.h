#pragma once

#include "automation/AutomationError.h"
#include "automation/Office.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::editing {

// The control operations all act where the control grid looks: inside the open popup when one is open,
// else on the top level of the current bar. Grid row n shows item n of that collection.

// The collection the grid lists. Raises 91 when no bar is current.
automation::ControlsPtr ListedControls(shell::Form1& form);
// The bar that holds that collection: the open popup's own bar, else the current bar.
automation::CommandBarPtr ListedBar(shell::Form1& form);
// The grid row no longer shows the control now at its index: the collection changed since it was listed
// (a move, a copy into the same bar, a popup left with a double-click on panel 5).
class StaleRowError : public automation::AutomationError {
public:
    StaleRowError();
};

// Item `row` of the listed collection. Raises what the host raises for a row that holds no control.
automation::ControlPtr ControlAtRow(shell::Form1& form, int row);
// The same for the commands that write a row's cells or delete: raises StaleRowError when the row's ID
// cell names another control than the one now at that index, so that one control's row is never written
// onto another and a control the user does not see is never deleted. (The moves keep acting on the index,
// so that a control can be moved again without listing the bar in between.)
automation::ControlPtr ShownControlAtRow(shell::Form1& form, int row);
// The control of the grid's current row.
automation::ControlPtr SelectedControl(shell::Form1& form);

}  // namespace tessaline::editing
