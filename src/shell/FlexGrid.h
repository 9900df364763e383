#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/Control.h"

namespace tessaline::shell {

namespace flexerr {
constexpr int InvalidPropertyValue = 380;  // "Invalid property value"
constexpr int Subscript = 381;             // "Subscript out of range"
constexpr int BadRowValue = 30009;         // "Invalid Row value"
constexpr int BadColValue = 30010;         // "Invalid Col value"
constexpr int LastNonFixedRow = 30015;     // "Can not remove last non-fixed row"
}  // namespace flexerr

// A flex grid with VB's semantics: rows and columns are 0-based, the first FixedRows rows and FixedCols
// columns are header cells, Row/Col name the current cell. Failures raise automation::AutomationError
// with the grid's own error numbers.
class FlexGrid : public Control {
public:
    FlexGrid(std::string name, int left, int top, int width, int height, int cols, int fixedRows = 1,
             int fixedCols = 1);

    int Rows() const { return static_cast<int>(cells_.size()); }
    int Cols() const { return cols_; }
    // Resizing keeps the cells that remain and adds empty ones; Rows = FixedRows keeps the header only.
    void SetRows(int rows);
    void SetCols(int cols);
    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return fixedCols_; }

    int Row() const { return row_; }
    int Col() const { return col_; }
    // Code may make any cell current, fixed cells included.
    void SetRow(int row);
    void SetCol(int col);

    // Raises 381 "Subscript out of range" outside the grid.
    const std::string& TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const std::string& text);
    // The text of the current cell.
    const std::string& Text() const;
    void SetText(const std::string& text);

    // Inserts a row whose cells are the TAB-separated pieces of `item`, from column 0 on; pieces beyond the
    // last column are dropped. `index` omitted appends; an index beyond Rows raises 381.
    void AddItem(const std::string& item, std::optional<int> index = std::nullopt);
    // Fixed rows cannot be removed (381), nor the last non-fixed row (30015).
    void RemoveItem(int index);
    // Empties every cell, header cells included, and keeps the row and column counts.
    void Clear();

    // A mouse click on a cell: a fixed cell never becomes current, the click lands on the first non-fixed
    // cell of that row or column instead. Returns false when the point is outside every cell.
    bool clickCell(int row, int col);

private:
    void checkCell(int row, int col) const;

    std::vector<std::vector<std::string>> cells_;
    int cols_;
    int fixedRows_;
    int fixedCols_;
    int row_;
    int col_;
};

}  // namespace tessaline::shell
