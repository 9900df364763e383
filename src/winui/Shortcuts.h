#pragma once

#include "automation/com/Win32.h"

#include <optional>
#include <string>

namespace tessaline::winui {

// A menu item's shortcut in its portable text form ("Ctrl+Z", "Ctrl+Shift+F5", "Del") as a Win32
// accelerator: modifiers and a virtual key. Empty for a text that names no key this window knows.
std::optional<ACCEL> acceleratorOf(const std::string& shortcut);

}  // namespace tessaline::winui
