#pragma once

#include <string>

#include "xls/XlsFile.h"

// The readable text form of a shipped workbook, from which the build makes the .xls file.
//
//   # a comment (only before the first sheet)
//   === SheetName            starts a sheet; "=== SheetName (active)" makes it the active one
//   A1<TAB>B1<TAB>...        one line per row from row 1; an empty line is an empty row
//
// Cells are read as Excel reads typed input: a number becomes a number, TRUE or FALSE in any letter case a
// Boolean, anything else text; a leading apostrophe keeps the rest as text. "\n" and "\r" inside a cell
// stand for line breaks and "\\" for a backslash.
namespace tessaline::xls {

// Throws XlsError naming the source and the line for malformed input.
WorkbookData parseWorkbookSource(const std::string& text, const std::string& sourceName);

}  // namespace tessaline::xls
