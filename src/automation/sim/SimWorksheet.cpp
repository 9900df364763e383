#include "automation/sim/SimWorksheet.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include "automation/AutomationError.h"
#include "automation/sim/SimWorkbook.h"

namespace tessaline::automation::sim {

namespace {

AutomationError rangeFailed() { return {vberr::ApplicationDefined, "Method 'Range' of object '_Worksheet' failed"}; }

std::size_t codePointCount(const std::string& s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

// --- CellStore --------------------------------------------------------------------------------------------

namespace {

bool byColumn(const auto& cell, int column) { return cell.column < column; }

}  // namespace

const CellStore::Row* CellStore::rowAt(int row) const {
    if (row < 1 || static_cast<std::size_t>(row) >= rows_.size()) return nullptr;
    return &rows_[static_cast<std::size_t>(row)];
}

const Variant* CellStore::find(int row, int column) const {
    const Row* cells = rowAt(row);
    if (!cells) return nullptr;
    auto it = std::lower_bound(cells->begin(), cells->end(), column, byColumn<Cell>);
    return it != cells->end() && it->column == column ? &it->value : nullptr;
}

namespace {

constexpr std::size_t kColumnWords = xl::MaxRows / 64 + 1;  // bit r is row r; row 0 is never set

// Bits `low` to `high` (0 to 63) of a word.
std::uint64_t bitsFromTo(int low, int high) {
    const std::uint64_t upTo = high == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (high + 1)) - 1;
    return upTo & (~std::uint64_t{0} << low);
}

}  // namespace

void CellStore::ColumnIndex::add(int row) {
    if (bits_.empty()) bits_.assign(kColumnWords, 0);
    std::uint64_t& word = bits_[static_cast<std::size_t>(row) >> 6];
    const std::uint64_t bit = std::uint64_t{1} << (row & 63);
    if ((word & bit) == 0) ++count_;
    word |= bit;
}

void CellStore::ColumnIndex::remove(int row) { removeRows(row, row); }

void CellStore::ColumnIndex::removeRows(int top, int bottom) {
    top = std::max(top, 1);
    bottom = std::min(bottom, xl::MaxRows);
    if (bits_.empty() || top > bottom) return;
    for (int w = top >> 6; w <= bottom >> 6; ++w) {
        const std::uint64_t mask = bitsFromTo(w == top >> 6 ? top & 63 : 0, w == bottom >> 6 ? bottom & 63 : 63);
        std::uint64_t& word = bits_[static_cast<std::size_t>(w)];
        count_ -= std::popcount(word & mask);
        word &= ~mask;
    }
    if (count_ == 0) bits_ = {};
}

std::optional<int> CellStore::ColumnIndex::next(int from, int to) const {
    if (bits_.empty()) return std::nullopt;
    if (to >= from) {
        from = std::max(from, 1);
        to = std::min(to, xl::MaxRows);
        if (from > to) return std::nullopt;
        int w = from >> 6;
        std::uint64_t word = bits_[static_cast<std::size_t>(w)] & bitsFromTo(from & 63, 63);
        while (word == 0) {
            if (++w > to >> 6) return std::nullopt;
            word = bits_[static_cast<std::size_t>(w)];
        }
        const int row = (w << 6) + std::countr_zero(word);
        return row <= to ? std::optional<int>(row) : std::nullopt;
    }
    from = std::min(from, xl::MaxRows);
    to = std::max(to, 1);
    if (from < to) return std::nullopt;
    int w = from >> 6;
    std::uint64_t word = bits_[static_cast<std::size_t>(w)] & bitsFromTo(0, from & 63);
    while (word == 0) {
        if (--w < to >> 6) return std::nullopt;
        word = bits_[static_cast<std::size_t>(w)];
    }
    const int row = (w << 6) + 63 - std::countl_zero(word);
    return row >= to ? std::optional<int>(row) : std::nullopt;
}

void CellStore::set(int row, int column, const Variant& value) {
    if (row < 1 || row > xl::MaxRows || column < 1 || column > xl::MaxColumns) {
        throw std::out_of_range("cell outside the sheet: row " + std::to_string(row) + ", column " +
                                std::to_string(column));
    }
    ++revision_;
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    if (value.isEmpty()) {
        if (r >= rows_.size()) return;
        Row& cells = rows_[r];
        auto it = std::lower_bound(cells.begin(), cells.end(), column, byColumn<Cell>);
        if (it == cells.end() || it->column != column) return;
        cells.erase(it);
        columns_[c].remove(row);
        --size_;
        while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
        while (!columns_.empty() && columns_.back().empty()) columns_.pop_back();
        return;
    }
    if (r >= rows_.size()) rows_.resize(r + 1);
    Row& cells = rows_[r];
    // A sheet written row by row, left to right, always appends.
    auto it = !cells.empty() && cells.back().column < column
                  ? cells.end()
                  : std::lower_bound(cells.begin(), cells.end(), column, byColumn<Cell>);
    if (it != cells.end() && it->column == column) {
        it->value = value;
        return;
    }
    cells.insert(it, Cell{column, value});
    ++size_;
    if (c >= columns_.size()) columns_.resize(c + 1);
    columns_[c].add(row);
}

void CellStore::erase(const CellRect& rect) {
    ++revision_;
    if (rows_.empty()) return;
    const int top = std::max(1, rect.top);
    const int bottom = std::min(static_cast<int>(rows_.size()) - 1, rect.bottom);
    if (top > bottom) return;
    const int right = std::min(static_cast<int>(columns_.size()) - 1, rect.right);
    for (int column = std::max(1, rect.left); column <= right; ++column) {
        columns_[static_cast<std::size_t>(column)].removeRows(top, bottom);
    }
    for (int row = top; row <= bottom; ++row) {
        Row& cells = rows_[static_cast<std::size_t>(row)];
        if (cells.empty()) continue;
        auto first = std::lower_bound(cells.begin(), cells.end(), rect.left, byColumn<Cell>);
        auto last = std::lower_bound(first, cells.end(), rect.right + 1, byColumn<Cell>);
        size_ -= static_cast<std::size_t>(last - first);
        cells.erase(first, last);
    }
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
    while (!columns_.empty() && columns_.back().empty()) columns_.pop_back();
}

std::optional<int> CellStore::nextInColumn(int column, int from, int to) const {
    if (column < 1 || static_cast<std::size_t>(column) >= columns_.size()) return std::nullopt;
    return columns_[static_cast<std::size_t>(column)].next(from, to);
}

std::optional<int> CellStore::nextInRow(int row, int from, int to) const {
    const Row* cells = rowAt(row);
    if (!cells) return std::nullopt;
    if (to >= from) {
        auto it = std::lower_bound(cells->begin(), cells->end(), from, byColumn<Cell>);
        if (it != cells->end() && it->column <= to) return it->column;
        return std::nullopt;
    }
    auto it = std::lower_bound(cells->begin(), cells->end(), from + 1, byColumn<Cell>);
    if (it == cells->begin()) return std::nullopt;
    --it;
    if (it->column >= to) return it->column;
    return std::nullopt;
}

void CellStore::forEach(const CellRect& rect, const std::function<bool(int, int, const Variant&)>& visit) const {
    const int bottom = std::min(static_cast<int>(rows_.size()) - 1, rect.bottom);
    for (int row = std::max(1, rect.top); row <= bottom; ++row) {
        const Row& cells = rows_[static_cast<std::size_t>(row)];
        if (cells.empty()) continue;
        for (auto it = std::lower_bound(cells.begin(), cells.end(), rect.left, byColumn<Cell>);
             it != cells.end() && it->column <= rect.right; ++it) {
            if (!visit(row, it->column, it->value)) return;
        }
    }
}

std::optional<CellRect> CellStore::bounds() const {
    if (size_ == 0) return std::nullopt;
    // Both tables end at a filled row and column (emptied ends are dropped); the first ones are looked for.
    int top = 1;
    while (rows_[static_cast<std::size_t>(top)].empty()) ++top;
    int left = 1;
    while (columns_[static_cast<std::size_t>(left)].empty()) ++left;
    return CellRect{top, left, static_cast<int>(rows_.size()) - 1, static_cast<int>(columns_.size()) - 1};
}

// --- SimWorksheet -----------------------------------------------------------------------------------------

bool isValidSheetName(const std::string& name) {
    const std::size_t length = codePointCount(name);
    if (length < 1 || length > 31) return false;
    if (name.front() == '\'' || name.back() == '\'') return false;
    return name.find_first_of(":\\/?*[]") == std::string::npos;
}

SimWorksheet::SimWorksheet(std::weak_ptr<SimWorkbook> parent, std::string name) : name_(std::move(name)) {
    setParent(std::move(parent));
}

void SimWorksheet::setParent(std::weak_ptr<SimWorkbook> parent) {
    parent_ = std::move(parent);
    if (auto book = parent_.lock()) gate_ = book->gate();
}

std::shared_ptr<SimWorkbook> SimWorksheet::lockParent() const {
    auto parent = parent_.lock();
    if (!parent || parent->closed()) throw AutomationError(vberr::AutomationFailure, "Automation error");
    return parent;
}

void SimWorksheet::markChanged() {
    if (auto parent = parent_.lock()) parent->markChanged();
}

std::string SimWorksheet::Name() {
    pass("Name");
    return name_;
}

void SimWorksheet::SetName(const std::string& name) {
    pass("Name=");
    if (!isValidSheetName(name)) throw applicationDefined();
    auto parent = parent_.lock();
    if (parent && parent->nameTakenByOther(name, this)) throw applicationDefined();
    if (name_ != name) markChanged();
    name_ = name;
}

int SimWorksheet::Index() {
    pass("Index");
    return lockParent()->indexOf(this);
}

WorkbookPtr SimWorksheet::Parent() {
    pass("Parent");
    return lockParent();
}

std::shared_ptr<SimRange> SimWorksheet::rangeOf(std::vector<CellRect> areas) {
    return std::make_shared<SimRange>(shared_from_this(), std::move(areas));
}

RangePtr SimWorksheet::Range(const std::string& address) {
    pass("Range");
    auto areas = parseAddress(address);
    if (!areas) throw rangeFailed();
    return rangeOf(std::move(*areas));
}

RangePtr SimWorksheet::Range(const RangePtr& cell1, const RangePtr& cell2) {
    pass("Range");
    auto first = std::dynamic_pointer_cast<SimRange>(cell1);
    auto second = std::dynamic_pointer_cast<SimRange>(cell2);
    if (!first || !second || first->sheet().get() != this || second->sheet().get() != this) throw rangeFailed();
    CellRect box{xl::MaxRows, xl::MaxColumns, 1, 1};
    for (const auto* range : {first.get(), second.get()}) {
        for (const auto& area : range->areas()) {
            box.top = std::min(box.top, area.top);
            box.left = std::min(box.left, area.left);
            box.bottom = std::max(box.bottom, area.bottom);
            box.right = std::max(box.right, area.right);
        }
    }
    return rangeOf({box});
}

RangePtr SimWorksheet::Cells(int row, int column) {
    pass("Cells");
    if (row < 1 || row > xl::MaxRows || column < 1 || column > xl::MaxColumns) throw applicationDefined();
    return rangeOf({CellRect{row, column, row, column}});
}

RangePtr SimWorksheet::UsedRange() {
    pass("UsedRange");
    return rangeOf({cells_.bounds().value_or(CellRect{})});
}

void SimWorksheet::Activate() {
    pass("Activate");
    auto parent = lockParent();
    parent->setActiveSheetIndex(parent->indexOf(this) - 1);
    parent->bringToFront();
}

}  // namespace tessaline::automation::sim
