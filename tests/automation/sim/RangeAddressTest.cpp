#include <gtest/gtest.h>

#include "automation/AutomationError.h"
#include "automation/sim/ExcelTestSupport.h"

namespace tessaline::automation::sim {
namespace {

using testing::ExcelSheet;

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

class RangeAddressTest : public ::testing::Test {
protected:
    ExcelSheet x;
};

TEST_F(RangeAddressTest, AddressesAreAbsoluteByDefaultAndRelativeOnRequest) {
    auto r = x.sheet->Range("b7");
    EXPECT_EQ(r->Address(), "$B$7");
    EXPECT_EQ(r->Address(false, false), "B7");
    EXPECT_EQ(r->Address(true, false), "B$7");
    EXPECT_EQ(r->Address(false, true), "$B7");
    EXPECT_EQ(x.sheet->Range("$K$30:A1")->Address(), "$A$1:$K$30");
    EXPECT_EQ(x.sheet->Range("A:A")->Address(), "$A:$A");
    EXPECT_EQ(x.sheet->Range("C:B")->Address(false, false), "B:C");
    EXPECT_EQ(x.sheet->Range("1:1")->Address(), "$1:$1");
    EXPECT_EQ(x.sheet->Range("A1,B3:C4")->Address(false, false), "A1,B3:C4");
    EXPECT_EQ(x.sheet->Range("IV65536")->Address(), "$IV$65536");
    EXPECT_EQ(x.sheet->Cells(3, 28)->Address(false, false), "AB3");
}

TEST_F(RangeAddressTest, InvalidAddressesRaise1004) {
    for (const char* bad : {"", "A", "1", "A0", "IW1", "A65537", "A1:", ":A1", "A1:B", "A1,", "A1 B2", "Sheet1!A1",
                            "$$A1", "A$", "AAAA1", "1A", "A1:B2:C3", "名字"}) {
        EXPECT_EQ(errorOf([&] { x.sheet->Range(bad); }), vberr::ApplicationDefined) << bad;
    }
    EXPECT_EQ(errorOf([&] { x.sheet->Cells(0, 1); }), vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { x.sheet->Cells(1, 257); }), vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { x.sheet->Cells(65537, 1); }), vberr::ApplicationDefined);
}

TEST_F(RangeAddressTest, SizesRowsColumnsAndCounts) {
    auto block = x.sheet->Range("B2:D5");
    EXPECT_EQ(block->Row(), 2);
    EXPECT_EQ(block->Column(), 2);
    EXPECT_EQ(block->RowsCount(), 4);
    EXPECT_EQ(block->ColumnsCount(), 3);
    EXPECT_EQ(block->Count(), 12);
    EXPECT_EQ(x.sheet->Range("A:A")->Count(), 65536);
    auto two = x.sheet->Range("A1:A2,C1:E1");
    EXPECT_EQ(two->AreasCount(), 2);
    EXPECT_EQ(two->Count(), 5);
    EXPECT_EQ(two->RowsCount(), 2);  // of the first area
    EXPECT_EQ(two->Area(2)->Address(false, false), "C1:E1");
    EXPECT_EQ(errorOf([&] { two->Area(3); }), vberr::ApplicationDefined);
}

TEST_F(RangeAddressTest, CellsEnumerateAreaByAreaRowByRow) {
    std::vector<std::string> seen;
    for (const auto& cell : x.sheet->Range("B2:C3,A1")->Cells()) seen.push_back(cell->Address(false, false));
    EXPECT_EQ(seen, (std::vector<std::string>{"B2", "C2", "B3", "C3", "A1"}));
}

TEST_F(RangeAddressTest, CellIsRelativeToTheFirstCell) {
    auto block = x.sheet->Range("C3:E5");
    EXPECT_EQ(block->Cell(1, 1)->Address(false, false), "C3");
    EXPECT_EQ(block->Cell(2, 3)->Address(false, false), "E4");
    EXPECT_EQ(block->Cell(10, 1)->Address(false, false), "C12");  // may lie outside the range
    EXPECT_EQ(block->Cell(0, 0)->Address(false, false), "B2");
    EXPECT_EQ(errorOf([&] { block->Cell(-2, 1); }), vberr::ApplicationDefined);
}

TEST_F(RangeAddressTest, OffsetMovesEveryAreaAndRefusesToLeaveTheSheet) {
    EXPECT_EQ(x.sheet->Range("A1")->Offset(1, 2)->Address(false, false), "C2");
    EXPECT_EQ(x.sheet->Range("B2:C3,E5")->Offset(-1, 1)->Address(false, false), "C1:D2,F4");
    EXPECT_EQ(errorOf([&] { x.sheet->Range("A1")->Offset(-1, 0); }), vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { x.sheet->Range("IV1")->Offset(0, 1); }), vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { x.sheet->Range("A65536")->Offset(1, 0); }), vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { x.sheet->Range("A1")->Offset(2147483647, 0); }), vberr::ApplicationDefined);
}

TEST_F(RangeAddressTest, RangeOfTwoCellsSpansBoth) {
    auto r = x.sheet->Range(x.sheet->Cells(5, 4), x.sheet->Range("B2"));
    EXPECT_EQ(r->Address(false, false), "B2:D5");
    EXPECT_EQ(x.sheet->Range("A1:A" + std::to_string(12))->Address(false, false), "A1:A12");
    ExcelSheet other;
    EXPECT_EQ(errorOf([&] { x.sheet->Range(x.sheet->Range("A1"), other.sheet->Range("B2")); }),
              vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { x.sheet->Range(nullptr, x.sheet->Range("B2")); }), vberr::ApplicationDefined);
}

TEST_F(RangeAddressTest, UsedRangeSpansFirstToLastFilledCell) {
    EXPECT_EQ(x.sheet->UsedRange()->Address(), "$A$1");
    x.sheet->Range("C4")->SetValue("a");
    x.sheet->Range("B9")->SetValue("b");
    x.sheet->Range("F2")->SetValue("c");
    EXPECT_EQ(x.sheet->UsedRange()->Address(false, false), "B2:F9");
    x.sheet->UsedRange()->ClearContents();
    EXPECT_EQ(x.sheet->UsedRange()->Address(), "$A$1");
}

class UnionIntersectTest : public ::testing::Test {
protected:
    ExcelSheet x;
    RangePtr r(const char* address) { return x.sheet->Range(address); }
};

TEST_F(UnionIntersectTest, UnionKeepsEachCellOnceAndEnumeratesTopToBottom) {
    auto set = unionOf({r("A9"), r("A3")});
    set = unionOf({set, r("A3")});
    set = unionOf({set, r("A1")});
    EXPECT_EQ(set->Count(), 3);
    std::vector<std::string> seen;
    for (const auto& cell : set->Cells()) seen.push_back(cell->Address(false, false));
    EXPECT_EQ(seen, (std::vector<std::string>{"A1", "A3", "A9"}));
}

TEST_F(UnionIntersectTest, UnionMergesTouchingAndOverlappingPieces) {
    auto set = r("A1");
    for (int row = 2; row <= 10; ++row) set = unionOf({set, x.sheet->Cells(row, 1)});
    EXPECT_EQ(set->Address(false, false), "A1:A10");
    EXPECT_EQ(unionOf({r("A1:B2"), r("B2:C3")})->Count(), 7);
    EXPECT_EQ(unionOf({r("A1:B2"), r("C1:C2")})->Address(false, false), "A1:C2");
}

TEST_F(UnionIntersectTest, UnionOfDifferentSheetsOrNothingIsRefused) {
    auto otherSheet = x.books->Item(1)->AddWorksheet("Other");
    EXPECT_EQ(errorOf([&] { unionOf({r("A1"), otherSheet->Range("A2")}); }), vberr::ApplicationDefined);
    EXPECT_NE(errorOf([&] { unionOf({r("A1"), nullptr}); }), 0);
    EXPECT_NE(errorOf([&] { unionOf({}); }), 0);
}

TEST_F(UnionIntersectTest, IntersectKeepsCommonCellsAndGivesNothingForDisjointRanges) {
    EXPECT_EQ(intersectOf(r("A1:C3"), r("B2:D4"))->Address(false, false), "B2:C3");
    EXPECT_EQ(intersectOf(r("A1:A2"), r("B1:B2")), nullptr);
    auto set1 = unionOf({r("A1"), r("A5"), r("A9")});
    auto set2 = unionOf({r("A5"), r("A9"), r("A12")});
    auto both = intersectOf(set1, set2);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(both->Address(false, false), "A5,A9");
    EXPECT_EQ(both->Count(), 2);
    auto otherSheet = x.books->Item(1)->AddWorksheet();
    EXPECT_EQ(errorOf([&] { intersectOf(r("A1"), otherSheet->Range("A1")); }), vberr::ApplicationDefined);
}

}  // namespace
}  // namespace tessaline::automation::sim

namespace tessaline::automation::sim {
namespace {

TEST(UnionScaleTest, GrowingASetCellByCellOverAWholeColumnStaysCorrect) {
    testing::ExcelSheet x;
    RangePtr set = x.sheet->Range("A2");
    for (int row = 4; row <= 2000; row += 2) set = unionOf({set, x.sheet->Cells(row, 1), x.sheet->Cells(2, 1)});
    EXPECT_EQ(set->AreasCount(), 1000);
    EXPECT_EQ(set->Count(), 1000);
    auto cells = set->Cells();
    EXPECT_EQ(cells.front()->Row(), 2);
    EXPECT_EQ(cells.back()->Row(), 2000);
    auto overlap = unionOf({x.sheet->Range("B1:C5"), x.sheet->Range("C3:D8"), x.sheet->Range("A4:B4")});
    EXPECT_EQ(overlap->Count(), 10 + 12 - 3 + 1);
}

}  // namespace
}  // namespace tessaline::automation::sim
