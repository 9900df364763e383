#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

#include "XlsTestSupport.h"
#include "automation/FilePath.h"
#include "xls/BiffScanner.h"
#include "xls/BiffWriter.h"
#include "xls/XlsFile.h"

namespace tessaline::xls {
namespace {

using automation::Variant;
using testing::cell;
using testing::TempDir;

WorkbookData oneSheet(std::map<std::pair<int, int>, Variant> cells, const std::string& name = "Sheet1") {
    WorkbookData book;
    book.sheets.push_back(SheetData{name, std::move(cells)});
    return book;
}

WorkbookData roundTrip(const WorkbookData& book) {
    TempDir dir;
    const std::string path = dir.file("book.xls");
    writeWorkbook(path, book);
    return readWorkbook(path);
}

TEST(XlsRoundTrip, KeepsTextNumbersAndBooleans) {
    const WorkbookData back = roundTrip(oneSheet({
        {{1, 1}, Variant("菜单条")},
        {{1, 2}, Variant("第一行\r\n第二行")},
        {{2, 1}, Variant(42.0)},
        {{2, 2}, Variant(-3.25)},
        {{2, 3}, Variant(0.1)},
        {{2, 4}, Variant(1234567890123.0)},
        {{2, 5}, Variant(7)},  // a Long is stored as Excel stores every number
        {{3, 1}, Variant(true)},
        {{3, 2}, Variant(false)},
        {{3, 3}, Variant("True")},  // text that looks like a Boolean stays text
        {{3, 4}, Variant("0012")},
    }));
    ASSERT_EQ(back.sheets.size(), 1u);
    const SheetData& s = back.sheets[0];
    EXPECT_EQ(cell(s, 1, 1), Variant("菜单条"));
    EXPECT_EQ(cell(s, 1, 2), Variant("第一行\r\n第二行"));
    EXPECT_EQ(cell(s, 2, 1), Variant(42.0));
    EXPECT_EQ(cell(s, 2, 2), Variant(-3.25));
    EXPECT_EQ(cell(s, 2, 3), Variant(0.1));
    EXPECT_EQ(cell(s, 2, 4), Variant(1234567890123.0));
    EXPECT_EQ(cell(s, 2, 5), Variant(7.0));
    EXPECT_EQ(cell(s, 3, 1), Variant(true));
    EXPECT_EQ(cell(s, 3, 2), Variant(false));
    EXPECT_EQ(cell(s, 3, 3), Variant("True"));
    EXPECT_EQ(cell(s, 3, 4), Variant("0012"));
    EXPECT_EQ(s.cells.size(), 11u);
}

TEST(XlsRoundTrip, DropsEmptyValuesAndEmptyTexts) {
    const WorkbookData back = roundTrip(oneSheet({{{1, 1}, Variant()}, {{1, 2}, Variant("")}, {{2, 2}, Variant("x")}}));
    EXPECT_EQ(back.sheets[0].cells.size(), 1u);
    EXPECT_EQ(cell(back.sheets[0], 2, 2), Variant("x"));
}

TEST(XlsRoundTrip, KeepsSheetNamesOrderAndActiveSheet) {
    WorkbookData book;
    for (const char* name : {"Excel", "工具栏", "Empty", "A name of exactly 31 characters"}) {
        book.sheets.push_back(SheetData{name, {}});
    }
    book.sheets[1].cells[{1, 1}] = Variant("x");
    book.activeSheet = 2;
    const WorkbookData back = roundTrip(book);
    ASSERT_EQ(back.sheets.size(), 4u);
    EXPECT_EQ(back.sheets[0].name, "Excel");
    EXPECT_EQ(back.sheets[1].name, "工具栏");
    EXPECT_EQ(back.sheets[3].name, "A name of exactly 31 characters");
    EXPECT_TRUE(back.sheets[2].cells.empty());
    EXPECT_EQ(back.activeSheet, 2);
}

// The shared string table is cut into records of 8224 bytes; texts that straddle a cut, start right
// before one, or fill several must come back whole.
TEST(XlsRoundTrip, LongTextsSurviveRecordBoundaries) {
    std::map<std::pair<int, int>, Variant> cells;
    std::vector<std::string> texts;
    const std::string emoji = "\xF0\x9F\x98\x80";  // outside the BMP: a surrogate pair in UTF-16
    for (std::size_t length : {1u, 4107u, 4108u, 4109u, 4110u, 8224u, 20000u, 32767u}) {
        texts.push_back(std::string(length, 'a'));
        texts.push_back(std::string(length / 3, 'b') + "长");
    }
    std::string pairs;
    for (int i = 0; i < 5000; ++i) {
        pairs += emoji;
    }
    texts.push_back(pairs);
    // Many small strings too, so that string headers also fall at record ends.
    for (int i = 0; i < 3000; ++i) {
        texts.push_back("控件" + std::to_string(i));
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        cells[{static_cast<int>(i) + 1, 1}] = Variant(texts[i]);
    }
    const WorkbookData back = roundTrip(oneSheet(cells));
    ASSERT_EQ(back.sheets[0].cells.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(cell(back.sheets[0], static_cast<int>(i) + 1, 1), Variant(texts[i])) << "text " << i;
    }
}

TEST(XlsRoundTrip, FillsTheWholeGrid) {
    std::map<std::pair<int, int>, Variant> cells;
    for (int row = 1; row <= 65536; ++row) {
        cells[{row, 1}] = Variant(static_cast<double>(row));
    }
    for (int column = 2; column <= 256; ++column) {
        cells[{1, column}] = Variant("c" + std::to_string(column));
    }
    cells[{65536, 256}] = Variant(true);
    const WorkbookData back = roundTrip(oneSheet(cells));
    EXPECT_EQ(back.sheets[0].cells.size(), cells.size());
    EXPECT_EQ(cell(back.sheets[0], 65536, 1), Variant(65536.0));
    EXPECT_EQ(cell(back.sheets[0], 1, 256), Variant("c256"));
    EXPECT_EQ(cell(back.sheets[0], 65536, 256), Variant(true));
}

TEST(XlsRoundTrip, ManySheets) {
    WorkbookData book;
    for (int i = 1; i <= 300; ++i) {
        book.sheets.push_back(SheetData{"表" + std::to_string(i), {{{i, 1}, Variant(static_cast<double>(i))}}});
    }
    book.activeSheet = 299;
    const WorkbookData back = roundTrip(book);
    ASSERT_EQ(back.sheets.size(), 300u);
    EXPECT_EQ(back.sheets[149].name, "表150");
    EXPECT_EQ(cell(back.sheets[149], 150, 1), Variant(150.0));
    EXPECT_EQ(back.activeSheet, 299);
}

TEST(XlsRoundTrip, RefusesWhatAnXlsFileCannotHold) {
    const std::vector<std::pair<std::string, WorkbookData>> cases = {
        {"no sheet", WorkbookData{}},
        {"empty name", oneSheet({}, "")},
        {"32 characters", oneSheet({}, std::string(32, 'x'))},
        {"slash", oneSheet({}, "a/b")},
        {"bracket", oneSheet({}, "[x]")},
        {"apostrophe", oneSheet({}, "'quoted'")},
        {"row 0", oneSheet({{{0, 1}, Variant(1.0)}})},
        {"row 65537", oneSheet({{{65537, 1}, Variant(1.0)}})},
        {"column 257", oneSheet({{{1, 257}, Variant(1.0)}})},
        {"text of 32768", oneSheet({{{1, 1}, Variant(std::string(32768, 'a'))}})},
        {"not a number", oneSheet({{{1, 1}, Variant(std::nan(""))}})},
        {"infinity", oneSheet({{{1, 1}, Variant(std::numeric_limits<double>::infinity())}})},
    };
    TempDir dir;
    for (const auto& [what, book] : cases) {
        const std::string path = dir.file("refused.xls");
        EXPECT_THROW(writeWorkbook(path, book), XlsError) << what;
        EXPECT_FALSE(std::filesystem::exists(path)) << what;
    }
    WorkbookData twins = oneSheet({}, "Sheet");
    twins.sheets.push_back(SheetData{"SHEET", {}});
    try {
        writeWorkbook(dir.file("twins.xls"), twins);
        FAIL() << "duplicate sheet names were accepted";
    } catch (const XlsError& e) {
        EXPECT_NE(std::string(e.what()).find("twins.xls"), std::string::npos);
    }
}

TEST(XlsRoundTrip, FailedSaveKeepsTheEarlierFile) {
    TempDir dir;
    const std::string path = dir.file("keep.xls");
    writeWorkbook(path, oneSheet({{{1, 1}, Variant("old")}}));
    EXPECT_THROW(writeWorkbook(path, oneSheet({{{0, 0}, Variant("new")}})), XlsError);
    EXPECT_EQ(cell(readWorkbook(path).sheets[0], 1, 1), Variant("old"));
    EXPECT_THROW(writeWorkbook(dir.file("missing-folder/x.xls"), oneSheet({})), XlsError);
}

// Workbooks live in folders with Chinese names, and saving again replaces the file in place (on Windows a
// plain rename refuses to); nothing is left beside it.
TEST(XlsRoundTrip, SavesAgainOverTheFileInAChineseFolder) {
    TempDir dir;
    const std::string folder = automation::pathText(dir.path()) + "/工具栏";
    std::filesystem::create_directory(automation::filePath(folder));
    const std::string path = folder + "/菜单.xls";
    writeWorkbook(path, oneSheet({{{1, 1}, Variant("old")}}));
    writeWorkbook(path, oneSheet({{{1, 1}, Variant("new")}}));
    EXPECT_EQ(cell(readWorkbook(path).sheets[0], 1, 1), Variant("new"));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(automation::filePath(folder))) {
        names.push_back(automation::pathText(entry.path().filename()));
    }
    EXPECT_EQ(names, std::vector<std::string>{"菜单.xls"});
}

TEST(XlsRoundTrip, OutOfRangeActiveSheetIsClamped) {
    WorkbookData book = oneSheet({});
    book.sheets.push_back(SheetData{"Two", {}});
    book.activeSheet = 7;
    EXPECT_EQ(roundTrip(book).activeSheet, 1);
}

}  // namespace
}  // namespace tessaline::xls
