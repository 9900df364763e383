#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::editing {

// The control grid's popup menu: each command acts on the control of the grid's current row, inside the
// open popup when one is open.

// Writes the row's editable cells back to the control, each property on its own; a refused one is skipped.
void ModifyControl_Click(shell::Form1& form);
// Deletes the control and lists the bar again. Traps nothing.
void DeleteControl_Click(shell::Form1& form);
// The four moves trap nothing: a move past either end is refused by the host and reported by the
// dispatcher. None of them lists the bar again.
void MoveToTop_Click(shell::Form1& form);
void MoveToPrevious_Click(shell::Form1& form);
void MoveToNext_Click(shell::Form1& form);
void MoveToBottom_Click(shell::Form1& form);
// Asks for "bar name,position" and copies the control there; a failure shows the error report box.
void CopyTo_Click(shell::Form1& form);

}  // namespace tessaline::editing
