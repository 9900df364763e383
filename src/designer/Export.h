#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// Writes the IDs of the listed collection (the open popup's items, else the current bar's controls), read
// from the host, into IDString as "3,21,109". An empty collection leaves IDString as it was.
void ExportID_Click(shell::Form1& form);
// Copies every cell of the control grid, header row included, to the active sheet of the open designer
// workbook "Tessaline.xls" in the running Excel, after clearing that sheet's used range. Without a running
// Excel or the open workbook nothing is written and nothing is reported.
void ExportToExcel_Click(shell::Form1& form);

}  // namespace tessaline::designer
