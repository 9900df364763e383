#include <gtest/gtest.h>

#include "XlsTestSupport.h"
#include "xls/WorkbookSource.h"
#include "xls/XlsFile.h"

namespace tessaline::xls {
namespace {

using automation::Variant;
using testing::cell;

WorkbookData shipped(const std::string& name) { return readWorkbook(std::string(TESSALINE_WORKBOOK_DIR) + "/" + name); }

std::vector<std::string> sheetNames(const WorkbookData& book) {
    std::vector<std::string> names;
    for (const SheetData& s : book.sheets) {
        names.push_back(s.name);
    }
    return names;
}

const std::vector<std::string> hostSheets = {"Excel", "Word", "PowerPoint", "Access", "Outlook", "VBE"};

TEST(ShippedWorkbooks, ToolbarSourceHasEmptyHostSheetsAndTheFrameworkGuide) {
    const WorkbookData book = shipped("TreeviewofCommandbars.xls");
    std::vector<std::string> expected = hostSheets;
    expected.push_back("Framework");
    ASSERT_EQ(sheetNames(book), expected);
    for (std::size_t i = 0; i < hostSheets.size(); ++i) {
        EXPECT_TRUE(book.sheets[i].cells.empty()) << hostSheets[i];
    }
}

// The tree viewer reads Framework as it reads a recorded host: the block around A1, one caption per row in
// columns A to D, each nested at most one level below the row above, the index in J and a description in N.
TEST(ShippedWorkbooks, FrameworkFollowsTheSourceSheetLayout) {
    const WorkbookData book = shipped("TreeviewofCommandbars.xls");
    const SheetData& framework = book.sheets.back();
    int lastRow = 0;
    for (const auto& [pos, value] : framework.cells) {
        lastRow = std::max(lastRow, pos.first);
    }
    ASSERT_GT(lastRow, 20);
    int previousDepth = 0;
    for (int row = 1; row <= lastRow; ++row) {
        int depth = 0;
        for (int column = 1; column <= 4; ++column) {
            if (!cell(framework, row, column).isEmpty()) {
                EXPECT_EQ(depth, 0) << "two captions in row " << row;
                depth = column;
                EXPECT_TRUE(cell(framework, row, column).isString()) << row;
            }
        }
        ASSERT_GT(depth, 0) << "row " << row << " has no caption, which would end the block";
        EXPECT_LE(depth, previousDepth + 1) << "row " << row << " skips a level";
        previousDepth = depth;
        for (int column = 5; column <= 9; ++column) {
            EXPECT_TRUE(cell(framework, row, column).isEmpty()) << row << "," << column;
        }
        EXPECT_TRUE(cell(framework, row, 10).isNumber()) << "index in row " << row;
        EXPECT_TRUE(cell(framework, row, 14).isString()) << "description in row " << row;
    }
    EXPECT_FALSE(cell(framework, 1, 1).isEmpty());
}

TEST(ShippedWorkbooks, MenubarSourceHasTheSixHostSheets) {
    const WorkbookData book = shipped("Menubar.xls");
    EXPECT_EQ(sheetNames(book), hostSheets);
    for (const SheetData& sheet : book.sheets) {
        EXPECT_TRUE(sheet.cells.empty()) << sheet.name;
    }
}

TEST(ShippedWorkbooks, DesignerHasTheGridHeadingsAndASampleDesign) {
    const WorkbookData book = shipped("Tessaline.xls");
    const SheetData& active = book.sheets.at(static_cast<std::size_t>(book.activeSheet));
    const std::vector<std::string> headings = {"序号", "ID",   "标题", "内置",   "分组线", "类型",  "可用",
                                               "可见", "图标", "回调", "提示语", "样式",   "快捷键"};
    for (std::size_t c = 0; c < headings.size(); ++c) {
        EXPECT_EQ(cell(active, 1, static_cast<int>(c) + 1), Variant(headings[c]));
    }
    EXPECT_TRUE(cell(active, 1, 14).isEmpty());
    // The batch add reads rows 2 on until the first empty row: the type in F is a number, the switches
    // in E, G and H are Booleans, the caption in C is text.
    int row = 2;
    for (; !cell(active, row, 1).isEmpty(); ++row) {
        EXPECT_TRUE(cell(active, row, 3).isString()) << row;
        EXPECT_TRUE(cell(active, row, 6).isNumber()) << row;
        for (int column : {5, 7, 8}) {
            EXPECT_TRUE(cell(active, row, column).isBool()) << row << "," << column;
        }
    }
    EXPECT_GE(row - 2, 2) << "sample rows";
}

TEST(WorkbookSource, ReadsCellsAsTypedInput) {
    const WorkbookData book = parseWorkbookSource(
        "# comment\n=== One\n12\t-0.5\tTrue\tfalse\n'12\t第一\\r\\n第二\t\ta\\\\b\n\n1e3\r\n=== Two (active)\n", "t");
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.activeSheet, 1);
    const SheetData& s = book.sheets[0];
    EXPECT_EQ(cell(s, 1, 1), Variant(12.0));
    EXPECT_EQ(cell(s, 1, 2), Variant(-0.5));
    EXPECT_EQ(cell(s, 1, 3), Variant(true));
    EXPECT_EQ(cell(s, 1, 4), Variant(false));
    EXPECT_EQ(cell(s, 2, 1), Variant("12"));
    EXPECT_EQ(cell(s, 2, 2), Variant("第一\r\n第二"));
    EXPECT_TRUE(cell(s, 2, 3).isEmpty());
    EXPECT_EQ(cell(s, 2, 4), Variant("a\\b"));
    EXPECT_TRUE(cell(s, 3, 1).isEmpty());
    EXPECT_EQ(cell(s, 4, 1), Variant(1000.0));
    EXPECT_EQ(s.cells.size(), 8u);
}

TEST(WorkbookSource, RefusesMalformedSources) {
    EXPECT_THROW(parseWorkbookSource("a\tb\n", "t"), XlsError);
    EXPECT_THROW(parseWorkbookSource("# only comments\n", "t"), XlsError);
    EXPECT_THROW(parseWorkbookSource("=== A (active)\n=== B (active)\n", "t"), XlsError);
    EXPECT_THROW(parseWorkbookSource("===   \n", "t"), XlsError);
}

}  // namespace
}  // namespace tessaline::xls
