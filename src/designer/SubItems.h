#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// Both take the popup at the grid's current row from the top level of CurrentBar, also while a popup's
// sub items are listed: they go one level down, never further.

// Makes that popup CurrentPopup and lists its sub items. When the row holds no popup, CurrentPopup keeps
// what it held and that popup's items are listed (none when it holds nothing).
void OpenSubItem_Click(shell::Form1& form);
// Makes that popup CurrentPopup and starts a design for it. Raises when the row holds no popup.
void CreateSubItem_Click(shell::Form1& form);

}  // namespace tessaline::designer
