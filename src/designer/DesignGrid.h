#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// Entering design mode (checked) locks the bar grid and restarts the control grid as a design table of one
// empty row; leaving it only unlocks the bar grid, so the design rows stay until the next listing.
void DesignMode_Click(shell::Form1& form);

// The row commands keep the heading row and at least one design row:
// - DeleteLine on the only design row empties that row instead of removing it (the table then looks as it
//   does on entering design mode); with the heading row current it does nothing.
// - InsertLine with the heading row current (no design row chosen yet) inserts above the first design row.
void DeleteLine_Click(shell::Form1& form);
void InsertLine_Click(shell::Form1& form);
void AddLine_Click(shell::Form1& form);

}  // namespace tessaline::designer
