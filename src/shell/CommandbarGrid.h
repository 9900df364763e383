#pragma once

#include "shell/Control.h"

namespace tessaline::shell {

class Form1;

void SetCommandbarGridHeaders(Form1& form);
// Fills the bar grid from HostApp.CommandBars and selects the first bar. Traps nothing.
void ListCommandbars(Form1& form);
void ListAllCommandbars_Click(Form1& form);
void ListAllCommandbars_MouseDown(Form1& form, const MouseEvent& mouse);

}  // namespace tessaline::shell
