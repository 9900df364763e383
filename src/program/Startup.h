#pragma once

#include <memory>

namespace tessaline::automation {
class Desktop;
}

namespace tessaline::shell {
class Form1;
class Ui;
}  // namespace tessaline::shell

namespace tessaline::program {

// Builds the main window on `desktop` the one way the program starts: every subsystem's handlers attached,
// then Form_Load run. The window, the scenario runner and tests all start through here so they meet the
// same wiring.
std::unique_ptr<shell::Form1> openMainWindow(automation::Desktop& desktop, shell::Ui& ui);

}  // namespace tessaline::program
