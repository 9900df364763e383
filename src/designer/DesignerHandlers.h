#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// Wires the design mode switch, the design menu's row and apply commands, the sub-item and export commands
// of the control menu and the code pane's menu. Call before Form1::load().
void attachHandlers(shell::Form1& form);

}  // namespace tessaline::designer
