#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::program {

// Attaches the handlers of every subsystem above the shell (editing, designer, sources) to the window's
// menus and controls. Call before Form1::load().
void attachSubsystemHandlers(shell::Form1& form);

}  // namespace tessaline::program
