#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <utility>

#include "automation/sim/SimWorksheet.h"

namespace tessaline::automation::sim {
namespace {

// The store keeps two indexes that must agree after any mix of writes, deletes and block clears; an
// ordered map of (row, column) is the obvious answer to every question it is asked.
class Model {
public:
    void set(int row, int column, int value) {
        if (value == 0) {
            cells_.erase({row, column});
        } else {
            cells_[{row, column}] = value;
        }
    }
    void erase(const CellRect& r) {
        std::erase_if(cells_, [&](const auto& cell) {
            const auto [row, column] = cell.first;
            return row >= r.top && row <= r.bottom && column >= r.left && column <= r.right;
        });
    }
    std::optional<int> next(bool alongRow, int line, int from, int to) const {
        const int step = to >= from ? 1 : -1;
        for (int p = from;; p += step) {
            if (cells_.count(alongRow ? std::pair{line, p} : std::pair{p, line})) return p;
            if (p == to) return std::nullopt;
        }
    }
    std::optional<CellRect> bounds() const {
        if (cells_.empty()) return std::nullopt;
        CellRect r{xl::MaxRows, xl::MaxColumns, 1, 1};
        for (const auto& [cell, value] : cells_) {
            r.top = std::min(r.top, cell.first);
            r.bottom = std::max(r.bottom, cell.first);
            r.left = std::min(r.left, cell.second);
            r.right = std::max(r.right, cell.second);
        }
        return r;
    }
    const std::map<std::pair<int, int>, int>& cells() const { return cells_; }

private:
    std::map<std::pair<int, int>, int> cells_;
};

bool sameRect(const std::optional<CellRect>& a, const std::optional<CellRect>& b) {
    if (!a || !b) return a.has_value() == b.has_value();
    return a->top == b->top && a->left == b->left && a->bottom == b->bottom && a->right == b->right;
}

TEST(CellStoreTest, AnswersAsAnOrderedMapAfterRandomWritesDeletesAndClears) {
    std::mt19937 random(12);
    // A small area so that cells collide, are overwritten and deleted, across the 64-row steps of the column
    // index; the sheet's last rows and column too.
    auto row = [&] {
        return random() % 9 == 0 ? xl::MaxRows - static_cast<int>(random() % 3) : 1 + static_cast<int>(random() % 140);
    };
    auto column = [&] { return random() % 9 == 0 ? xl::MaxColumns : 1 + static_cast<int>(random() % 12); };
    CellStore store;
    Model model;
    for (int step = 0; step < 8000; ++step) {
        const unsigned what = random() % 10;
        if (what < 6) {
            const int r = row();
            const int c = column();
            const int value = what < 4 ? 1 + static_cast<int>(random() % 5) : 0;
            store.set(r, c, value == 0 ? Variant() : Variant(value));
            model.set(r, c, value);
        } else if (what < 7) {
            const int top = row();
            const int left = column();
            const CellRect rect{top, left, std::min(xl::MaxRows, top + static_cast<int>(random() % 80)),
                                std::min(xl::MaxColumns, left + static_cast<int>(random() % 4))};
            store.erase(rect);
            model.erase(rect);
        } else {
            const int r = row();
            const int c = column();
            const int far = random() % 2 ? row() : column();
            ASSERT_EQ(store.nextInRow(r, c, std::min(far, xl::MaxColumns)),
                      model.next(true, r, c, std::min(far, xl::MaxColumns)))
                << "step " << step;
            ASSERT_EQ(store.nextInColumn(c, r, far), model.next(false, c, r, far)) << "step " << step;
        }
        ASSERT_EQ(store.size(), model.cells().size()) << "step " << step;
        ASSERT_TRUE(sameRect(store.bounds(), model.bounds())) << "step " << step;
    }

    // Whole-sheet and partial walks visit exactly the model's cells, row by row, left to right.
    for (const CellRect& rect : {CellRect{1, 1, xl::MaxRows, xl::MaxColumns}, CellRect{3, 2, 20, 7}}) {
        std::vector<std::pair<int, int>> visited;
        store.forEach(rect, [&](int r, int c, const Variant& value) {
            EXPECT_EQ(value.toLong(), model.cells().at({r, c}));
            visited.emplace_back(r, c);
            return true;
        });
        std::vector<std::pair<int, int>> expected;
        for (const auto& [cell, value] : model.cells()) {
            if (cell.first >= rect.top && cell.first <= rect.bottom && cell.second >= rect.left &&
                cell.second <= rect.right) {
                expected.push_back(cell);
            }
        }
        EXPECT_EQ(visited, expected);
    }
    store.erase(CellRect{1, 1, xl::MaxRows, xl::MaxColumns});
    EXPECT_TRUE(store.empty());
    EXPECT_FALSE(store.bounds());
    EXPECT_EQ(store.nextInColumn(1, 1, xl::MaxRows), std::nullopt);
}

TEST(CellStoreTest, RefusesACellOutsideTheSheet) {
    CellStore store;
    EXPECT_THROW(store.set(0, 1, Variant(1)), std::out_of_range);
    EXPECT_THROW(store.set(1, xl::MaxColumns + 1, Variant(1)), std::out_of_range);
    EXPECT_EQ(store.find(xl::MaxRows + 1, 1), nullptr);
    EXPECT_TRUE(store.empty());
}

}  // namespace
}  // namespace tessaline::automation::sim
