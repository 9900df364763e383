#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "automation/Variant.h"

// Excel 97-2003 (BIFF8) workbook files: the cell contents the tool keeps in its workbooks.
namespace tessaline::xls {

struct SheetData {
    std::string name;
    // Keyed by (row, column), both 1-based. Only non-empty cells are stored: text, numbers, Booleans.
    std::map<std::pair<int, int>, automation::Variant> cells;
};

struct WorkbookData {
    std::vector<SheetData> sheets;
    int activeSheet = 0;  // 0-based index into sheets
};

// A file that cannot be read or written; the message names the file and what is wrong with it.
class XlsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

WorkbookData readWorkbook(const std::string& path);
void writeWorkbook(const std::string& path, const WorkbookData& workbook);

}  // namespace tessaline::xls
