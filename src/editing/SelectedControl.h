#pragma once

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
// Item `row` of the listed collection. Raises what the host raises for a row that holds no control.
automation::ControlPtr ControlAtRow(shell::Form1& form, int row);
// The control of the grid's current row.
automation::ControlPtr SelectedControl(shell::Form1& form);

}  // namespace tessaline::editing
