#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::sources {

// Wires the macro list: its check box, the list's click and right button, and the commands of
// MenuListMacros. Call before Form1::load().
void attachHandlers(shell::Form1& form);

}  // namespace tessaline::sources
