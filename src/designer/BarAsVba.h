#pragma once

#include <string>
#include <vector>

#include "editing/BarSnapshot.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// VBA that builds a bar again: a Sub that adds the bar with CommandBars.Add (name, position, menu-bar
// flag), then each control with Controls.Add (Type, the Id of a built-in command, Before) and the
// properties that differ from what that Add gives, sub items recursively and combo-box lists. Lines end
// with CR LF.
//
// What a new control starts with is known for a custom one (Id 1: empty texts, FaceId 0, visible,
// enabled); a built-in command brings its own look, which the bar may have changed, so every property of
// such a control is written, except an empty OnAction (writing it would make the control lose its
// built-in command) and ShortcutText without a macro (the host refuses it). A popup added by Id brings
// its command's sub items: the code deletes them and adds the bar's own. Width is written for edit and
// combo boxes only; buttons and popups take the width the host gives their caption and icon.
std::string BarAsVba(const editing::BarSnapshot& bar);

// The same for the sub items of one popup, addressed from its top-level bar by 1-based index path
// (`path` = {1, 4}: CommandBars(barName).Controls(1).Controls(4)): its items are replaced by the popup's.
std::string PopupAsVba(const std::string& barName, const std::vector<int>& path,
                       const std::vector<editing::ControlSnapshot>& subItems);

// A VBA string literal: the text in quotes, quotes doubled.
std::string VbaString(const std::string& text);

// "生成VBA代码": writes into the code pane the procedure for the open popup, or else for the current bar.
// Report mode: a bar or control that cannot be read ends the command with the error report box and leaves
// the code pane as it was.
void menuBarAsVba_Click(shell::Form1& form);

}  // namespace tessaline::designer
