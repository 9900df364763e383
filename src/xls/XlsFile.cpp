#include "xls/XlsFile.h"

namespace tessaline::xls {

WorkbookData readWorkbook(const std::string& path) {
    throw XlsError("Cannot read workbook '" + path + "': reading .xls files is not yet available");
}

void writeWorkbook(const std::string& path, const WorkbookData&) {
    throw XlsError("Cannot write workbook '" + path + "': writing .xls files is not yet available");
}

}  // namespace tessaline::xls
