#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sources/CompareRecordings.h"

namespace tessaline::sources {
namespace {

RecordedItem item(int depth, const char* caption, std::vector<int> path, int id) {
    return RecordedItem{depth, caption, std::move(path), id};
}

std::vector<std::string> lines(const Recording& before, const Recording& after) {
    std::vector<std::string> out;
    for (const RecordingDifference& d : CompareRecordings(before, after)) out.push_back(DifferenceLine(d));
    return out;
}

// A menu bar with a File menu of three items and an Edit menu.
Recording menuBar() {
    return {{"Menu", {item(1, "文件(&F)", {1}, 30002), item(2, "新建", {1, 1}, 18), item(2, "打开", {1, 2}, 23),
                      item(2, "保存", {1, 3}, 3), item(1, "编辑(&E)", {2}, 30003), item(2, "剪切", {2, 1}, 21)}},
            {"Cell", {}},
            {"Cell", {item(1, "复制", {1}, 19)}}};
}

TEST(CompareRecordingsTest, EqualRecordingsDifferInNothing) { EXPECT_TRUE(lines(menuBar(), menuBar()).empty()); }

// An item put in front of others shifts their indexes, which is no change of theirs.
TEST(CompareRecordingsTest, AnInsertedItemIsTheOnlyDifference) {
    Recording after = menuBar();
    auto& items = after[0].items;
    items.insert(items.begin() + 1, item(2, "宏", {1, 1}, 1));
    for (int i = 2; i <= 4; ++i) items[static_cast<std::size_t>(i)].path = {1, i};
    EXPECT_EQ(lines(menuBar(), after), (std::vector<std::string>{"+ Menu 1.1 宏 (ID 1)"}));
}

TEST(CompareRecordingsTest, MovesRenamesRemovalsAndBarsAreTold) {
    Recording after = menuBar();
    auto& items = after[0].items;
    // 保存 renamed in place, 新建 moved to the Edit menu, 剪切 removed; the second Cell bar gone, a bar added.
    items = {item(1, "文件(&F)", {1}, 30002), item(2, "打开", {1, 1}, 23), item(2, "存盘", {1, 2}, 3),
             item(1, "编辑(&E)", {2}, 30003), item(2, "新建", {2, 1}, 18)};
    after.pop_back();
    after.push_back({"新工具栏", {}});
    EXPECT_EQ(lines(menuBar(), after),
              (std::vector<std::string>{"- 工具栏 Cell", "> Menu 1.1 -> 2.1 新建 (ID 18)", "~ Menu 1.2 保存 -> 存盘 (ID 3)",
                                        "- Menu 2.1 剪切 (ID 21)", "+ 工具栏 新工具栏"}));
}

}  // namespace
}  // namespace tessaline::sources
