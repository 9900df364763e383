#include "shell/FlexGrid.h"

#include <algorithm>
#include <utility>

#include "automation/AutomationError.h"

namespace tessaline::shell {

namespace {

automation::AutomationError gridError(int number) {
    switch (number) {
        case flexerr::InvalidPropertyValue:
            return {number, "Invalid property value"};
        case flexerr::BadRowValue:
            return {number, "Invalid Row value"};
        case flexerr::BadColValue:
            return {number, "Invalid Col value"};
        case flexerr::LastNonFixedRow:
            return {number, "Can not remove last non-fixed row"};
        default:
            return {flexerr::Subscript, "Subscript out of range"};
    }
}

}  // namespace

FlexGrid::FlexGrid(std::string name, int left, int top, int width, int height, int cols, int fixedRows, int fixedCols)
    : Control(std::move(name), left, top, width, height),
      cols_(std::max(cols, 1)),
      fixedRows_(std::max(fixedRows, 0)),
      fixedCols_(std::clamp(fixedCols, 0, cols_)),
      row_(fixedRows_ > 0 ? fixedRows_ - 1 : 0),
      col_(fixedCols_ < cols_ ? fixedCols_ : 0) {
    // The window's grids start with their header rows only; with no data row the current cell is a
    // header cell until the first row arrives.
    cells_.assign(static_cast<std::size_t>(std::max(fixedRows_, 1)), std::vector<std::string>(cols_));
}

void FlexGrid::SetRows(int rows) {
    if (rows < fixedRows_ || rows < 0) throw gridError(flexerr::InvalidPropertyValue);
    cells_.resize(static_cast<std::size_t>(rows), std::vector<std::string>(cols_));
    if (row_ >= rows) row_ = std::max(rows - 1, 0);
    changed();
}

void FlexGrid::SetCols(int cols) {
    if (cols < fixedCols_ || cols < 1) throw gridError(flexerr::InvalidPropertyValue);
    cols_ = cols;
    for (auto& row : cells_) row.resize(static_cast<std::size_t>(cols_));
    if (col_ >= cols_) col_ = cols_ - 1;
    changed();
}

void FlexGrid::SetRow(int row) {
    if (row < 0 || row >= Rows()) throw gridError(flexerr::BadRowValue);
    row_ = row;
    changed();
}

void FlexGrid::SetCol(int col) {
    if (col < 0 || col >= cols_) throw gridError(flexerr::BadColValue);
    col_ = col;
    changed();
}

void FlexGrid::checkCell(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= cols_) throw gridError(flexerr::Subscript);
}

const std::string& FlexGrid::TextMatrix(int row, int col) const {
    checkCell(row, col);
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void FlexGrid::SetTextMatrix(int row, int col, const std::string& text) {
    checkCell(row, col);
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
    changed();
}

const std::string& FlexGrid::Text() const { return TextMatrix(row_, col_); }

void FlexGrid::SetText(const std::string& text) { SetTextMatrix(row_, col_, text); }

void FlexGrid::AddItem(const std::string& item, std::optional<int> index) {
    const int at = index.value_or(Rows());
    if (at < 0 || at > Rows()) throw gridError(flexerr::Subscript);
    std::vector<std::string> row(static_cast<std::size_t>(cols_));
    std::size_t col = 0;
    std::size_t start = 0;
    while (col < row.size()) {
        const std::size_t tab = item.find('\t', start);
        row[col++] = item.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    const bool hadDataRows = Rows() > fixedRows_;
    cells_.insert(cells_.begin() + at, std::move(row));
    if (!hadDataRows && row_ < fixedRows_) row_ = fixedRows_;
    changed();
}

void FlexGrid::RemoveItem(int index) {
    if (index < 0 || index >= Rows() || index < fixedRows_) throw gridError(flexerr::Subscript);
    if (Rows() - fixedRows_ <= 1) throw gridError(flexerr::LastNonFixedRow);
    cells_.erase(cells_.begin() + index);
    if (row_ >= Rows()) row_ = Rows() - 1;
    changed();
}

void FlexGrid::Clear() {
    for (auto& row : cells_) {
        for (auto& cell : row) cell.clear();
    }
    changed();
}

bool FlexGrid::clickCell(int row, int col) {
    if (row < 0 || row >= Rows() || col < 0 || col >= cols_) return false;
    // A header click selects the whole column or row; the current cell is then its first non-fixed cell.
    if (row < fixedRows_) {
        if (fixedRows_ >= Rows()) return false;
        row = fixedRows_;
    }
    if (col < fixedCols_) {
        if (fixedCols_ >= cols_) return false;
        col = fixedCols_;
    }
    row_ = row;
    col_ = col;
    changed();
    return true;
}

}  // namespace tessaline::shell
