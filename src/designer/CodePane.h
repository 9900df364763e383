#pragma once

#include <string>

#include "shell/Control.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// The VBA stub written for a new control whose OnAction reads `macroName`: a Sub of that name that shows
// its own name. Three lines, each ended by CR LF, so stubs can be joined back to back.
std::string MacroStub(const std::string& macroName);

void RichTextBox1_MouseDown(shell::Form1& form, const shell::MouseEvent& mouse);
void menuCopyCode_Click(shell::Form1& form);
void menuSelectAll_Click(shell::Form1& form);
void menuClearCallback_Click(shell::Form1& form);

}  // namespace tessaline::designer
