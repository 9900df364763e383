#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "automation/Excel.h"
#include "automation/sim/CallGate.h"
#include "automation/sim/SimRange.h"

namespace tessaline::automation::sim {

class SimWorkbook;

// The filled cells of a sheet. Only non-empty cells are stored, so a sheet of a few hundred thousand
// values costs what they cost. The cells sit in a table indexed by row number, each row holding its filled
// columns in order, so reading or writing a sheet row by row costs the same at every row; a second index,
// one bit per row for each column in use, answers "next filled cell down or up a column" without walking
// the rows in between, and costs the same whatever order cells are written or cleared in.
class CellStore {
public:
    const Variant* find(int row, int column) const;
    bool filled(int row, int column) const { return find(row, column) != nullptr; }
    // Stores a value; an Empty value removes the cell.
    void set(int row, int column, const Variant& value);
    void erase(const CellRect& rect);
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }

    // The first filled row of `column` in [from, to] (to >= from: searching down; to < from: up).
    std::optional<int> nextInColumn(int column, int from, int to) const;
    // The first filled column of `row` in [from, to] (to >= from: right; to < from: left).
    std::optional<int> nextInRow(int row, int from, int to) const;
    bool anyInRow(int row, int left, int right) const { return nextInRow(row, left, right).has_value(); }
    bool anyInColumn(int column, int top, int bottom) const { return nextInColumn(column, top, bottom).has_value(); }

    // Visits the filled cells of `rect` row by row, left to right, while `visit` returns true.
    void forEach(const CellRect& rect, const std::function<bool(int, int, const Variant&)>& visit) const;
    // The smallest block holding every filled cell; nothing when the sheet is empty.
    std::optional<CellRect> bounds() const;
    // Grows with every change, so a view can tell at a glance whether it shows the cells as they are.
    std::uint64_t revision() const { return revision_; }

private:
    struct Cell {
        int column;
        Variant value;
    };
    using Row = std::vector<Cell>;  // by column

    // The filled rows of one column, a bit per row of the sheet (8 KB while the column holds a cell).
    class ColumnIndex {
    public:
        bool empty() const { return count_ == 0; }
        void add(int row);
        void remove(int row);
        void removeRows(int top, int bottom);
        std::optional<int> next(int from, int to) const;

    private:
        std::vector<std::uint64_t> bits_;
        int count_ = 0;
    };

    const Row* rowAt(int row) const;

    // rows_[r] holds row r (index 0 unused); grown up to the last row ever filled, at most xl::MaxRows + 1.
    std::vector<Row> rows_;
    // columns_[c] indexes column c; grown like rows_.
    std::vector<ColumnIndex> columns_;
    std::size_t size_ = 0;
    std::uint64_t revision_ = 0;
};

class SimWorksheet final : public Worksheet, public std::enable_shared_from_this<SimWorksheet> {
public:
    SimWorksheet(std::weak_ptr<SimWorkbook> parent, std::string name);

    CellStore& cells() { return cells_; }
    const CellStore& cells() const { return cells_; }
    // Records a change of the sheet's contents in its workbook (Saved becomes False).
    void markChanged();
    const std::string& name() const { return name_; }
    void setParent(std::weak_ptr<SimWorkbook> parent);
    const GatePtr& gate() const { return gate_; }

    std::string Name() override;
    void SetName(const std::string& name) override;
    int Index() override;
    WorkbookPtr Parent() override;
    RangePtr Range(const std::string& address) override;
    RangePtr Range(const RangePtr& cell1, const RangePtr& cell2) override;
    RangePtr Cells(int row, int column) override;
    RangePtr UsedRange() override;
    void Activate() override;

    std::shared_ptr<SimRange> rangeOf(std::vector<CellRect> areas);

private:
    std::shared_ptr<SimWorkbook> lockParent() const;
    void pass(const char* member) const { sim::pass(gate_, "Worksheet", member); }

    std::weak_ptr<SimWorkbook> parent_;
    GatePtr gate_;  // the Excel's
    std::string name_;
    CellStore cells_;
};

// Whether `name` may name a worksheet: 1 to 31 characters, none of : \ / ? * [ ].
bool isValidSheetName(const std::string& name);

}  // namespace tessaline::automation::sim
