#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "automation/Variant.h"
#include "xls/CompoundFile.h"

// A walk over the records of a BIFF5/BIFF8 workbook stream. It checks the record structure, finds the
// sheets, the active tab and encryption, and settles every cell of a BIFF8 workbook. Only BIFF5 text, kept
// in the workbook's code page, is left to a code-page aware reader.
namespace tessaline::xls {

struct ScannedCell {
    int row = 0;     // 0-based
    int column = 0;  // 0-based
    // Set when the walk settled the value itself (an empty Variant: the cell is empty); otherwise the
    // cell holds code-page text still to be decoded.
    std::optional<automation::Variant> value;
};

struct ScannedSheet {
    std::string name;       // decoded for BIFF8 only
    std::uint8_t type = 0;  // 0 worksheet, 2 chart, 1 macro sheet, 6 VB module
    std::uint32_t offset = 0;
    std::vector<ScannedCell> cells;
};

struct ScannedWorkbook {
    int biffVersion = 8;  // 5 or 8
    bool encrypted = false;
    int activeTab = 0;  // index into sheets
    std::vector<ScannedSheet> sheets;
};

// Throws FormatError when the stream is not a BIFF5/BIFF8 workbook or its records are damaged.
ScannedWorkbook scanWorkbookStream(const Bytes& stream);

}  // namespace tessaline::xls
