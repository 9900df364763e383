#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shell/Control.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::sources {

// The name a module line declares when it reads as a parameterless Sub ("Sub Macro1()", "Private Sub
// Test()"): the text after the first "Sub " with every "()" removed. Nothing for any other line, including
// Subs with parameters or with anything after the "()".
std::optional<std::string> ParameterlessSubName(std::string_view line);

// One shortening step of a macro list entry: path!module.proc becomes module.proc, module.proc becomes
// proc, anything else stays as it is.
std::string ShrinkEntry(const std::string& entry);

// The check box shows the list when ticked and hides it otherwise, uncovering the code pane below.
void ShowMacroList_Click(shell::Form1& form);
// Puts the selected macro into the callback cell of the control grid's current row.
void ListMacros_Click(shell::Form1& form);
// The right button opens MenuListMacros.
void ListMacros_MouseDown(shell::Form1& form, const shell::MouseEvent& mouse);
void HideMacroList_Click(shell::Form1& form);
// Fills the list with the parameterless Subs of the host's standard modules, as path!module.proc.
void Refresh_Click(shell::Form1& form);
void Shrink_Click(shell::Form1& form);

}  // namespace tessaline::sources
