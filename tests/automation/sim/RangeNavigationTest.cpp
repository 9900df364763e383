#include <gtest/gtest.h>

#include "automation/AutomationError.h"
#include "automation/sim/ExcelTestSupport.h"

namespace tessaline::automation::sim {
namespace {

using testing::ExcelSheet;

class RangeEndTest : public ::testing::Test {
protected:
    ExcelSheet x;

    std::string end(const char* from, int direction) { return x.addressOf(x.sheet->Range(from)->End(direction)); }
};

TEST_F(RangeEndTest, DownRunsToTheEndOfAFilledRunThenJumpsGapsThenStopsAtTheLastRow) {
    x.fill({"A1", "A2", "A3", "A6", "A10"});
    EXPECT_EQ(end("A1", xl::Down), "A3");
    EXPECT_EQ(end("A2", xl::Down), "A3");
    EXPECT_EQ(end("A3", xl::Down), "A6");  // filled cell with an empty neighbour: next filled cell
    EXPECT_EQ(end("A4", xl::Down), "A6");  // empty start
    EXPECT_EQ(end("A6", xl::Down), "A10");
    EXPECT_EQ(end("A10", xl::Down), "A65536");
    EXPECT_EQ(end("A65536", xl::Down), "A65536");
}

TEST_F(RangeEndTest, UpMirrorsDownAndStopsAtRowOne) {
    x.fill({"A1", "A2", "A3", "A6", "A10"});
    EXPECT_EQ(end("A10", xl::Up), "A6");
    EXPECT_EQ(end("A6", xl::Up), "A3");
    EXPECT_EQ(end("A5", xl::Up), "A3");
    EXPECT_EQ(end("A3", xl::Up), "A1");
    EXPECT_EQ(end("A1", xl::Up), "A1");
    EXPECT_EQ(end("C500", xl::Up), "C1");
    EXPECT_EQ(end("C500", xl::Down), "C65536");
}

TEST_F(RangeEndTest, LeftAndRightMoveAlongTheRowToColumnsAAndIV) {
    x.fill({"B2", "C2", "D2", "J2", "K2"});
    EXPECT_EQ(end("A2", xl::ToRight), "B2");
    EXPECT_EQ(end("B2", xl::ToRight), "D2");
    EXPECT_EQ(end("D2", xl::ToRight), "J2");
    EXPECT_EQ(end("J2", xl::ToRight), "K2");
    EXPECT_EQ(end("K2", xl::ToRight), "IV2");
    EXPECT_EQ(end("IV2", xl::ToRight), "IV2");
    EXPECT_EQ(end("K2", xl::ToLeft), "J2");
    EXPECT_EQ(end("J2", xl::ToLeft), "D2");
    EXPECT_EQ(end("G2", xl::ToLeft), "D2");
    EXPECT_EQ(end("B2", xl::ToLeft), "A2");
    EXPECT_EQ(end("A2", xl::ToLeft), "A2");
}

TEST_F(RangeEndTest, ClimbsFromACaptionToItsBarAsTheRecordedSheetIsRead) {
    // Bar rows carry the name in A, control rows a caption in B to D and the index in J.
    x.sheet->Range("A1")->SetValue("Standard");
    x.sheet->Range("B2")->SetValue("New");
    x.sheet->Range("J2")->SetValue(1);
    x.sheet->Range("A3")->SetValue("Formatting");
    x.sheet->Range("B4")->SetValue("Font");
    x.sheet->Range("C5")->SetValue("Bold");
    x.sheet->Range("J5")->SetValue(2);

    auto caption = x.sheet->Range("C5");
    EXPECT_EQ(caption->End(xl::ToRight)->Value(), Variant(2.0));
    auto bar = caption->End(xl::ToLeft)->End(xl::Up);
    EXPECT_EQ(bar->Value(), Variant("Formatting"));
    EXPECT_EQ(x.sheet->Range("B2")->End(xl::ToLeft)->End(xl::Up)->Value(), Variant("Standard"));
}

TEST_F(RangeEndTest, StartsFromTheFirstCellAndRefusesUnknownDirections) {
    x.fill({"B5"});
    EXPECT_EQ(end("B1:C3", xl::Down), "B5");
    try {
        x.sheet->Range("A1")->End(1);
        FAIL() << "End(1) accepted";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), vberr::ApplicationDefined);
    }
}

class CurrentRegionTest : public ::testing::Test {
protected:
    ExcelSheet x;

    std::string region(const char* from) { return x.addressOf(x.sheet->Range(from)->CurrentRegion()); }
};

TEST_F(CurrentRegionTest, CellsTouchingOnlyDiagonallyJoinTheRegion) {
    x.fill({"A1", "B1", "A2", "B2", "C3", "D4"});
    EXPECT_EQ(region("A1"), "A1:D4");
    EXPECT_EQ(region("D4"), "A1:D4");
}

TEST_F(CurrentRegionTest, AnEmptyRowOrColumnEndsTheRegion) {
    x.fill({"A1", "B1", "C1", "A2", "A3", "A5", "A6", "E1", "E2"});
    EXPECT_EQ(region("A1"), "A1:C3");
    EXPECT_EQ(region("A6"), "A5:A6");
    EXPECT_EQ(region("E2"), "E1:E2");
}

TEST_F(CurrentRegionTest, GrowsAroundAnEmptyStartAndStaysAtALoneEmptyCell) {
    x.fill({"C3"});
    EXPECT_EQ(region("B2"), "B2:C3");
    EXPECT_EQ(region("F10"), "F10");
}

TEST_F(CurrentRegionTest, GrowingSidewaysCanReachNewRowsBelow) {
    // A1 reaches B1, B1 reaches C2, C2 reaches C3..C5 and C5 reaches the lone D6 diagonally.
    x.fill({"A1", "B1", "C2", "C3", "C4", "C5", "D6"});
    EXPECT_EQ(region("A1"), "A1:D6");
}

TEST_F(CurrentRegionTest, StopsAtTheSheetEdges) {
    x.fill({"IV65536", "IU65535"});
    EXPECT_EQ(region("IV65536"), "IU65535:IV65536");
    x.fill({"A1", "B1"});
    EXPECT_EQ(region("A1"), "A1:B1");
}

TEST_F(CurrentRegionTest, RecordedSheetRegionSpansTheCaptionColumnsOnly) {
    // Index and ID columns J and K lie beyond the empty columns E to I.
    x.fill({"A1", "B2", "C3", "D4", "B5", "A7"});
    x.fill({"J1", "J2", "K2", "J3", "K3", "J4", "K4", "J5", "K5"}, 3);
    auto region = x.sheet->Range("A1")->CurrentRegion();
    EXPECT_EQ(region->RowsCount(), 5);
    EXPECT_EQ(region->ColumnsCount(), 4);
}

TEST_F(CurrentRegionTest, ALargeTableIsOneRegion) {
    for (int row = 1; row <= 30000; ++row) {
        for (int column = 1; column <= 11; ++column) x.sheet->Cells(row, column)->SetValue(row);
    }
    auto region = x.sheet->Range("A1")->CurrentRegion();
    EXPECT_EQ(region->Address(), "$A$1:$K$30000");
    EXPECT_EQ(x.sheet->UsedRange()->Address(), "$A$1:$K$30000");
    EXPECT_EQ(x.addressOf(x.sheet->Range("C2")->End(xl::Down)), "C30000");
}

}  // namespace
}  // namespace tessaline::automation::sim
