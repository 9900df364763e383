#include "automation/sim/SimRange.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

#include "automation/AutomationError.h"
#include "automation/sim/SimRangeValues.h"
#include "automation/sim/SimWorksheet.h"

namespace tessaline::automation::sim {

namespace {

// Writing or listing more cells than this at once is refused instead of exhausting memory: a whole column
// (65536 cells) or a 30,000-row table passes easily, the whole sheet (16.7 million cells) does not.
constexpr long long kMaxCellsAtOnce = 2'000'000;

AutomationError outOfMemory() { return {7, "Out of memory"}; }

bool onSheet(int row, int column) { return row >= 1 && row <= xl::MaxRows && column >= 1 && column <= xl::MaxColumns; }

// One end of an area reference: "$B$7", "B7", "B", "$7".
struct RefPart {
    int row = 0;     // 0 when absent
    int column = 0;  // 0 when absent
};

std::optional<RefPart> parseRefPart(std::string_view s) {
    RefPart part;
    std::size_t i = 0;
    if (i < s.size() && s[i] == '$') ++i;
    int column = 0;
    std::size_t letters = 0;
    while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]))) {
        if (++letters > 3) return std::nullopt;
        column = column * 26 + (std::toupper(static_cast<unsigned char>(s[i])) - 'A' + 1);
        ++i;
    }
    if (letters > 0) {
        if (column > xl::MaxColumns) return std::nullopt;
        part.column = column;
    }
    bool rowMark = false;
    if (i < s.size() && s[i] == '$') {
        if (letters == 0) return std::nullopt;
        rowMark = true;
        ++i;
    }
    long row = 0;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (++digits > 6) return std::nullopt;
        row = row * 10 + (s[i] - '0');
        ++i;
    }
    if (i != s.size() || (letters == 0 && digits == 0) || (rowMark && digits == 0)) return std::nullopt;
    if (digits > 0) {
        if (row < 1 || row > xl::MaxRows) return std::nullopt;
        part.row = static_cast<int>(row);
    }
    return part;
}

std::optional<CellRect> parseArea(std::string_view s) {
    auto colon = s.find(':');
    if (colon == std::string_view::npos) {
        auto part = parseRefPart(s);
        if (!part || part->row == 0 || part->column == 0) return std::nullopt;  // "A" and "7" alone are not cells
        return CellRect{part->row, part->column, part->row, part->column};
    }
    auto first = parseRefPart(s.substr(0, colon));
    auto second = parseRefPart(s.substr(colon + 1));
    if (!first || !second) return std::nullopt;
    CellRect rect;
    const bool firstCell = first->row && first->column;
    const bool secondCell = second->row && second->column;
    if (firstCell && secondCell) {
        rect = {first->row, first->column, second->row, second->column};
    } else if (!first->row && !second->row && first->column && second->column) {
        rect = {1, first->column, xl::MaxRows, second->column};
    } else if (!first->column && !second->column && first->row && second->row) {
        rect = {first->row, 1, second->row, xl::MaxColumns};
    } else {
        return std::nullopt;
    }
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    return rect;
}

std::string areaAddress(const CellRect& r, bool rowAbsolute, bool columnAbsolute) {
    const std::string rowMark = rowAbsolute ? "$" : "";
    const std::string columnMark = columnAbsolute ? "$" : "";
    auto cell = [&](int row, int column) { return columnMark + columnLetters(column) + rowMark + std::to_string(row); };
    const bool allRows = r.top == 1 && r.bottom == xl::MaxRows;
    const bool allColumns = r.left == 1 && r.right == xl::MaxColumns;
    if (allColumns) return rowMark + std::to_string(r.top) + ":" + rowMark + std::to_string(r.bottom);
    if (allRows) return columnMark + columnLetters(r.left) + ":" + columnMark + columnLetters(r.right);
    if (r.top == r.bottom && r.left == r.right) return cell(r.top, r.left);
    return cell(r.top, r.left) + ":" + cell(r.bottom, r.right);
}

}  // namespace

std::string columnLetters(int column) {
    std::string letters;
    while (column > 0) {
        int rest = (column - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + rest));
        column = (column - 1) / 26;
    }
    return letters;
}

std::optional<std::vector<CellRect>> parseAddress(const std::string& address) {
    std::vector<CellRect> areas;
    std::string_view rest = address;
    while (true) {
        auto comma = rest.find(',');
        auto area = parseArea(rest.substr(0, comma));
        if (!area) return std::nullopt;
        areas.push_back(*area);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return areas;
}

std::vector<CellRect> normalizedAreas(const std::vector<CellRect>& areas) {
    // Cut the rows into bands at every top and bottom edge; inside a band every row holds the same column
    // intervals. Merge the intervals of each band, then join bands on top of each other that hold the same
    // intervals. A sweep keeps only the blocks crossing the current band, so the search's one-cell-at-a-time
    // unions of a whole column stay cheap.
    std::vector<int> edges;
    for (const auto& a : areas) {
        edges.push_back(a.top);
        edges.push_back(a.bottom + 1);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<CellRect> byTop = areas;
    std::sort(byTop.begin(), byTop.end(), [](const CellRect& a, const CellRect& b) { return a.top < b.top; });

    struct Band {
        int top;
        int bottom;
        std::vector<std::pair<int, int>> intervals;
    };
    std::vector<Band> bands;
    std::vector<CellRect> active;
    std::size_t next = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i];
        const int bottom = edges[i + 1] - 1;
        active.erase(std::remove_if(active.begin(), active.end(), [&](const CellRect& a) { return a.bottom < top; }),
                     active.end());
        while (next < byTop.size() && byTop[next].top <= top) active.push_back(byTop[next++]);
        std::vector<std::pair<int, int>> spans;
        for (const auto& a : active) spans.emplace_back(a.left, a.right);
        if (spans.empty()) continue;
        std::sort(spans.begin(), spans.end());
        std::vector<std::pair<int, int>> merged;
        for (const auto& s : spans) {
            if (!merged.empty() && s.first <= merged.back().second + 1) {
                merged.back().second = std::max(merged.back().second, s.second);
            } else {
                merged.push_back(s);
            }
        }
        if (!bands.empty() && bands.back().bottom + 1 == top && bands.back().intervals == merged) {
            bands.back().bottom = bottom;
        } else {
            bands.push_back({top, bottom, std::move(merged)});
        }
    }
    std::vector<CellRect> result;
    for (const auto& band : bands) {
        for (const auto& [left, right] : band.intervals) result.push_back({band.top, left, band.bottom, right});
    }
    return result;
}

SimRange::SimRange(std::shared_ptr<SimWorksheet> sheet, std::vector<CellRect> areas)
    : sheet_(std::move(sheet)), areas_(std::move(areas)) {
    // Every member reads the first area; a range of no cells is Nothing, never an object.
    if (!sheet_ || areas_.empty()) throw objectNotSet();
}

RangePtr SimRange::single(int row, int column) const {
    if (!onSheet(row, column)) throw applicationDefined();
    return sheet_->rangeOf({CellRect{row, column, row, column}});
}

WorksheetPtr SimRange::Worksheet() {
    pass("Worksheet");
    return sheet_;
}

void SimRange::pass(const char* member) const { sim::pass(sheet_->gate(), "Range", member); }

Variant SimRange::Value() {
    pass("Value");
    return value();
}

Variant SimRange::value() const {
    const CellRect& first = areas_.front();
    const Variant* value = sheet_->cells().find(first.top, first.left);
    return value ? *value : Variant();
}

void SimRange::SetValue(const Variant& value) {
    pass("Value=");
    Variant stored = storedCellValue(value);
    long long total = 0;
    for (const auto& area : areas_) total += area.cellCount();
    if (stored.isEmpty()) {
        for (const auto& area : areas_) sheet_->cells().erase(area);
    } else {
        if (total > kMaxCellsAtOnce) throw outOfMemory();
        for (const auto& area : areas_) {
            for (int row = area.top; row <= area.bottom; ++row) {
                for (int column = area.left; column <= area.right; ++column) sheet_->cells().set(row, column, stored);
            }
        }
    }
    sheet_->markChanged();
}

std::string SimRange::Text() {
    pass("Text");
    return displayedText(value());
}

RangePtr SimRange::CurrentRegion() {
    pass("CurrentRegion");
    // Grow the block one side at a time while the line just outside it (corners included, so that cells
    // touching only diagonally join) holds a filled cell: the block Ctrl+* selects.
    const CellStore& cells = sheet_->cells();
    CellRect r = areas_.front();
    bool grown = true;
    while (grown) {
        grown = false;
        const int left = std::max(1, r.left - 1);
        const int right = std::min(xl::MaxColumns, r.right + 1);
        const int top = std::max(1, r.top - 1);
        const int bottom = std::min(xl::MaxRows, r.bottom + 1);
        while (r.bottom < xl::MaxRows && cells.anyInRow(r.bottom + 1, left, right)) {
            ++r.bottom;
            grown = true;
        }
        while (r.top > 1 && cells.anyInRow(r.top - 1, left, right)) {
            --r.top;
            grown = true;
        }
        while (r.right < xl::MaxColumns && cells.anyInColumn(r.right + 1, top, bottom)) {
            ++r.right;
            grown = true;
        }
        while (r.left > 1 && cells.anyInColumn(r.left - 1, top, bottom)) {
            --r.left;
            grown = true;
        }
    }
    return sheet_->rangeOf({r});
}

int SimRange::RowsCount() {
    pass("Rows.Count");
    return areas_.front().bottom - areas_.front().top + 1;
}

int SimRange::ColumnsCount() {
    pass("Columns.Count");
    return areas_.front().right - areas_.front().left + 1;
}

int SimRange::Count() {
    pass("Count");
    long long total = 0;
    for (const auto& area : areas_) total += area.cellCount();
    return static_cast<int>(std::min<long long>(total, 2147483647LL));
}

int SimRange::AreasCount() {
    pass("Areas.Count");
    return static_cast<int>(areas_.size());
}

RangePtr SimRange::Area(int index) {
    pass("Area");
    if (index < 1 || index > static_cast<int>(areas_.size())) throw applicationDefined();
    return sheet_->rangeOf({areas_[static_cast<std::size_t>(index - 1)]});
}

std::vector<RangePtr> SimRange::Cells() {
    pass("Cells");
    long long total = 0;
    for (const auto& area : areas_) total += area.cellCount();
    if (total > kMaxCellsAtOnce) throw outOfMemory();
    std::vector<RangePtr> cells;
    cells.reserve(static_cast<std::size_t>(total));
    for (const auto& area : areas_) {
        for (int row = area.top; row <= area.bottom; ++row) {
            for (int column = area.left; column <= area.right; ++column) cells.push_back(single(row, column));
        }
    }
    return cells;
}

RangePtr SimRange::Cell(int row, int column) {
    pass("Cell");
    const CellRect& first = areas_.front();
    const long long r = static_cast<long long>(first.top) + row - 1;
    const long long c = static_cast<long long>(first.left) + column - 1;
    if (r < 1 || r > xl::MaxRows || c < 1 || c > xl::MaxColumns) throw applicationDefined();
    return single(static_cast<int>(r), static_cast<int>(c));
}

int SimRange::Row() {
    pass("Row");
    return areas_.front().top;
}

int SimRange::Column() {
    pass("Column");
    return areas_.front().left;
}

std::string SimRange::Address(bool rowAbsolute, bool columnAbsolute) {
    pass("Address");
    std::string text;
    for (const auto& area : areas_) {
        if (!text.empty()) text += ',';
        text += areaAddress(area, rowAbsolute, columnAbsolute);
    }
    return text;
}

RangePtr SimRange::Offset(int rows, int columns) {
    pass("Offset");
    std::vector<CellRect> moved;
    for (const auto& area : areas_) {
        const long long top = static_cast<long long>(area.top) + rows;
        const long long bottom = static_cast<long long>(area.bottom) + rows;
        const long long left = static_cast<long long>(area.left) + columns;
        const long long right = static_cast<long long>(area.right) + columns;
        if (top < 1 || bottom > xl::MaxRows || left < 1 || right > xl::MaxColumns) throw applicationDefined();
        moved.push_back(
            {static_cast<int>(top), static_cast<int>(left), static_cast<int>(bottom), static_cast<int>(right)});
    }
    return sheet_->rangeOf(std::move(moved));
}

RangePtr SimRange::End(int direction) {
    pass("End");
    // Ctrl+arrow from the range's first cell: inside a run of filled cells go to the run's last cell;
    // otherwise (an empty cell, or a filled one with an empty neighbour) to the next filled cell; with none,
    // to the sheet's edge.
    const CellStore& cells = sheet_->cells();
    const int row = areas_.front().top;
    const int column = areas_.front().left;
    int dRow = 0;
    int dColumn = 0;
    switch (direction) {
        case xl::Up:
            dRow = -1;
            break;
        case xl::Down:
            dRow = 1;
            break;
        case xl::ToLeft:
            dColumn = -1;
            break;
        case xl::ToRight:
            dColumn = 1;
            break;
        default:
            throw applicationDefined();
    }
    const int edge = dRow > 0 ? xl::MaxRows : dColumn > 0 ? xl::MaxColumns : 1;
    const int position = dRow != 0 ? row : column;
    const int step = dRow + dColumn;
    if (position == edge) return single(row, column);
    auto filledAt = [&](int p) { return dRow != 0 ? cells.filled(p, column) : cells.filled(row, p); };
    auto at = [&](int p) { return dRow != 0 ? single(p, column) : single(row, p); };

    if (filledAt(position) && filledAt(position + step)) {
        int p = position + step;
        while (p != edge && filledAt(p + step)) p += step;
        return at(p);
    }
    std::optional<int> next =
        dRow != 0 ? cells.nextInColumn(column, position + step, edge) : cells.nextInRow(row, position + step, edge);
    return at(next.value_or(edge));
}

RangePtr SimRange::Find(const Variant& what, const Optional& lookIn) {
    pass("Find");
    bool inValues = false;
    if (lookIn && !lookIn->isEmpty()) {
        if (!lookIn->isNumber()) throw typeMismatch();
        const double code = lookIn->kind() == Variant::Kind::Long ? lookIn->asLongRaw() : lookIn->asDoubleRaw();
        if (code == xl::Values) {
            inValues = true;
        } else if (code != xl::Formulas) {
            throw applicationDefined();
        }
    }
    const std::string pattern = displayedText(what);

    // Row by row through the range; its very first cell is looked at last.
    const CellRect& first = areas_.front();
    RangePtr found;
    bool firstCellMatches = false;
    for (const auto& area : areas_) {
        sheet_->cells().forEach(area, [&](int row, int column, const Variant& value) {
            const std::string text = inValues ? displayedText(value) : formulaText(value);
            if (!containsPattern(text, pattern)) return true;
            if (row == first.top && column == first.left) {
                firstCellMatches = true;
                return true;
            }
            found = single(row, column);
            return false;
        });
        if (found) return found;
    }
    return firstCellMatches ? single(first.top, first.left) : nullptr;
}

void SimRange::ClearContents() {
    pass("ClearContents");
    for (const auto& area : areas_) sheet_->cells().erase(area);
    sheet_->markChanged();
}

}  // namespace tessaline::automation::sim
