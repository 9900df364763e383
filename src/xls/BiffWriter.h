#pragma once

#include "xls/CompoundFile.h"
#include "xls/XlsFile.h"

namespace tessaline::xls {

// The BIFF8 workbook stream for the given cells. Throws FormatError for content an .xls file cannot hold:
// a bad sheet name, a cell outside 65536 rows by 256 columns, text over 32767 characters, a number that is
// not finite, or no sheet at all.
Bytes buildWorkbookStream(const WorkbookData& workbook);

}  // namespace tessaline::xls
