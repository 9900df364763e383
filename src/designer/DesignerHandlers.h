#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// Wires the design mode switch, the design menu's row and apply commands, the sub-item and export commands
// of the control menu and the code pane's menu, the designer workbook's commands (design menu and file menu)
// and the batch copy button. Call before Form1::load().
void attachHandlers(shell::Form1& form);

}  // namespace tessaline::designer
