#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::editing {

// Wires the bar and control operations to their menu items. Call before Form1::load().
void attachHandlers(shell::Form1& form);

}  // namespace tessaline::editing
