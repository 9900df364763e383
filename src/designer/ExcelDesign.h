#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// The designer workbook "Tessaline.xls" in the program's folder keeps a design in a worksheet: row 1 holds
// the control grid's headings, every row below one control, columns A to M standing for grid columns 0 to 12.
// The export to Excel writes it; the batch add reads it back.

// Opens the designer workbook in the running Excel and brings Excel to the front. Needs no attached host.
void MenuExcelDesign_Click(shell::Form1& form);
// The file menu's way to the same command.
void menuDesignerxls_Click(shell::Form1& form);

// Adds one control at the end of the target (CurrentPopup, else CurrentBar) for each row of the designer
// workbook's active sheet, from row 2 to the end of the block of cells around A1. Each control's macro stub
// goes to the code pane, which loses what it held; the bar grid's click handling then lists the bar again.
void BatchAddfromExcel_Click(shell::Form1& form);

// Copies the host's controls named by ID in IDString ("3,19,21") to the end of CurrentBar, even while a
// popup is open. A text that does not begin with a digit is ignored. IDs that match no control, and copies
// the host refuses, are passed over so the rest still go; one error report names them at the end.
void BatchCopy_Click(shell::Form1& form);

}  // namespace tessaline::designer
