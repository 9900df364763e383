#include "automation/sim/SimWorksheet.h"

#include <algorithm>
#include <limits>

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

const Variant* CellStore::find(int row, int column) const {
    auto it = byRow_.find({row, column});
    return it == byRow_.end() ? nullptr : &it->second;
}

void CellStore::set(int row, int column, const Variant& value) {
    ++revision_;
    if (value.isEmpty()) {
        byRow_.erase({row, column});
        byColumn_.erase({column, row});
        return;
    }
    byRow_[{row, column}] = value;
    byColumn_.insert({column, row});
}

void CellStore::erase(const CellRect& rect) {
    ++revision_;
    auto it = byRow_.lower_bound({rect.top, rect.left});
    while (it != byRow_.end() && it->first.first <= rect.bottom) {
        const auto [row, column] = it->first;
        if (column < rect.left) {
            it = byRow_.lower_bound({row, rect.left});
        } else if (column > rect.right) {
            it = byRow_.lower_bound({row + 1, rect.left});
        } else {
            byColumn_.erase({column, row});
            it = byRow_.erase(it);
        }
    }
}

std::optional<int> CellStore::nextInColumn(int column, int from, int to) const {
    if (to >= from) {
        auto it = byColumn_.lower_bound({column, from});
        if (it != byColumn_.end() && it->first == column && it->second <= to) return it->second;
        return std::nullopt;
    }
    auto it = byColumn_.upper_bound({column, from});
    if (it == byColumn_.begin()) return std::nullopt;
    --it;
    if (it->first == column && it->second >= to) return it->second;
    return std::nullopt;
}

std::optional<int> CellStore::nextInRow(int row, int from, int to) const {
    if (to >= from) {
        auto it = byRow_.lower_bound({row, from});
        if (it != byRow_.end() && it->first.first == row && it->first.second <= to) return it->first.second;
        return std::nullopt;
    }
    auto it = byRow_.upper_bound({row, from});
    if (it == byRow_.begin()) return std::nullopt;
    --it;
    if (it->first.first == row && it->first.second >= to) return it->first.second;
    return std::nullopt;
}

void CellStore::forEach(const CellRect& rect, const std::function<bool(int, int, const Variant&)>& visit) const {
    auto it = byRow_.lower_bound({rect.top, rect.left});
    while (it != byRow_.end() && it->first.first <= rect.bottom) {
        const auto [row, column] = it->first;
        if (column < rect.left) {
            it = byRow_.lower_bound({row, rect.left});
        } else if (column > rect.right) {
            it = byRow_.lower_bound({row + 1, rect.left});
        } else {
            if (!visit(row, column, it->second)) return;
            ++it;
        }
    }
}

std::optional<CellRect> CellStore::bounds() const {
    if (byRow_.empty()) return std::nullopt;
    return CellRect{byRow_.begin()->first.first, byColumn_.begin()->first, byRow_.rbegin()->first.first,
                    byColumn_.rbegin()->first};
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
