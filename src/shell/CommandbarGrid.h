#pragma once

#include <string>

#include "shell/Control.h"

namespace tessaline::automation {
class CommandBar;
}

namespace tessaline::shell {

class Form1;

void SetCommandbarGridHeaders(Form1& form);
// One bar's row of the bar grid: its nine values joined by TAB characters.
std::string CommandbarRowText(automation::CommandBar& bar);
// Fills the bar grid from HostApp.CommandBars and selects the first bar. Traps nothing.
void ListCommandbars(Form1& form);
void ListAllCommandbars_Click(Form1& form);
void ListAllCommandbars_MouseDown(Form1& form, const MouseEvent& mouse);

}  // namespace tessaline::shell
