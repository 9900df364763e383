#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::editing {

// The item list of the combo box in the control grid's current row. Adding, filling from the macro list
// and clearing stop at the first failure with the error report box; deleting one item ignores failures.
void AddItemforCombobox_Click(shell::Form1& form);
void AddMacroNames_Click(shell::Form1& form);
void DeleteItemforCombobox_Click(shell::Form1& form);
void ClearItems_Click(shell::Form1& form);

}  // namespace tessaline::editing
