#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/Excel.h"

namespace tessaline::automation::sim {

class SimWorksheet;

// One rectangular block of cells, 1-based and inclusive on every side.
struct CellRect {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;

    long long cellCount() const { return static_cast<long long>(bottom - top + 1) * (right - left + 1); }
    bool contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    bool operator==(const CellRect& other) const = default;
};

// Column letters of a 1-based column number ("A", "Z", "AA", "IV").
std::string columnLetters(int column);

// Parses one address as Worksheet.Range takes it: areas separated by commas, each a cell ("B7", "$B$7"), a
// block ("A1:K30"), whole columns ("A:C") or whole rows ("1:3"). Empty when the text is not an address of
// this sheet size.
std::optional<std::vector<CellRect>> parseAddress(const std::string& address);

// The same cells as `areas`, each once, as disjoint blocks: touching blocks are merged and the blocks are
// ordered top to bottom, then left to right.
std::vector<CellRect> normalizedAreas(const std::vector<CellRect>& areas);

// A set of cells of one worksheet. Ranges are cheap values over the sheet's sparse cell store; every call
// reads the store as it is at that moment.
class SimRange final : public Range {
public:
    SimRange(std::shared_ptr<SimWorksheet> sheet, std::vector<CellRect> areas);

    const std::vector<CellRect>& areas() const { return areas_; }
    const std::shared_ptr<SimWorksheet>& sheet() const { return sheet_; }

    WorksheetPtr Worksheet() override;
    Variant Value() override;
    void SetValue(const Variant& value) override;
    std::string Text() override;
    RangePtr CurrentRegion() override;
    int RowsCount() override;
    int ColumnsCount() override;
    int Count() override;
    int AreasCount() override;
    RangePtr Area(int index) override;
    std::vector<RangePtr> Cells() override;
    RangePtr Cell(int row, int column) override;
    int Row() override;
    int Column() override;
    std::string Address(bool rowAbsolute = true, bool columnAbsolute = true) override;
    RangePtr Offset(int rows, int columns) override;
    RangePtr End(int direction) override;
    RangePtr Find(const Variant& what, const Optional& lookIn = std::nullopt) override;
    void ClearContents() override;

private:
    RangePtr single(int row, int column) const;
    void pass(const char* member) const;
    Variant value() const;

    std::shared_ptr<SimWorksheet> sheet_;
    std::vector<CellRect> areas_;
};

}  // namespace tessaline::automation::sim
