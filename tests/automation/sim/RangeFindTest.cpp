#include <gtest/gtest.h>

#include "automation/AutomationError.h"
#include "automation/sim/ExcelTestSupport.h"
#include "automation/sim/SimRangeValues.h"

namespace tessaline::automation::sim {
namespace {

using testing::ExcelSheet;

class RangeFindTest : public ::testing::Test {
protected:
    ExcelSheet x;

    std::string find(const char* in, const Variant& what) {
        return x.addressOf(x.sheet->Range(in)->Find(what, Variant(xl::Values)));
    }
};

TEST_F(RangeFindTest, SearchesRowByRowStartingAfterTheFirstCellAndWrappingToItLast) {
    x.sheet->Range("A1")->SetValue("apple");
    x.sheet->Range("B1")->SetValue("pineapple");
    x.sheet->Range("A2")->SetValue("apple pie");
    EXPECT_EQ(find("A1:B3", "apple"), "B1");
    x.sheet->Range("B1")->ClearContents();
    EXPECT_EQ(find("A1:B3", "apple"), "A2");
    x.sheet->Range("A2")->ClearContents();
    EXPECT_EQ(find("A1:B3", "apple"), "A1");  // only the first cell matches: found last
}

TEST_F(RangeFindTest, RowsComeBeforeColumns) {
    x.sheet->Range("A3")->SetValue("key");
    x.sheet->Range("C2")->SetValue("key");
    EXPECT_EQ(find("A1:C3", "key"), "C2");
}

TEST_F(RangeFindTest, MatchesPartOfACellIgnoringCase) {
    x.sheet->Range("B2")->SetValue("工具(&T)");
    x.sheet->Range("C4")->SetValue("Save &As...");
    EXPECT_EQ(find("A1:D5", "(&t)"), "B2");
    EXPECT_EQ(find("A1:D5", "save"), "C4");
    EXPECT_EQ(find("A1:D5", "SAVE &AS"), "C4");
    EXPECT_EQ(find("A1:D5", "Close"), "Nothing");
}

TEST_F(RangeFindTest, StarAndQuestionMarkAreWildcardsAndTildeEscapesThem) {
    x.sheet->Range("A2")->SetValue("File");
    x.sheet->Range("A3")->SetValue("Fi*e");
    x.sheet->Range("A4")->SetValue("What?");
    EXPECT_EQ(find("A1:A9", "F?le"), "A2");
    EXPECT_EQ(find("A1:A9", "F*e"), "A2");
    EXPECT_EQ(find("A1:A9", "Fi~*e"), "A3");
    EXPECT_EQ(find("A1:A9", "t~?"), "A4");
    EXPECT_EQ(find("A1:A9", "?"), "A2");  // any non-empty cell
}

TEST_F(RangeFindTest, QuestionMarkTakesOneWholeCharacterOfNonLatinText) {
    x.sheet->Range("A2")->SetValue("新建(&N)");
    EXPECT_EQ(find("A1:A3", "新?(&N)"), "A2");
    EXPECT_EQ(find("A1:A3",
                   "新?"
                   "?(&N)"),
              "Nothing");
}

TEST_F(RangeFindTest, SearchesOnlyTheRangeItIsCalledOn) {
    x.sheet->Range("A1")->SetValue("x");
    x.sheet->Range("D1")->SetValue("target");
    EXPECT_EQ(find("A1:C5", "target"), "Nothing");
    EXPECT_EQ(find("A:A", "target"), "Nothing");
    EXPECT_EQ(find("1:1", "target"), "D1");
}

TEST_F(RangeFindTest, NumbersAreFoundAsShown) {
    x.sheet->Range("A2")->SetValue(0.5);
    x.sheet->Range("A3")->SetValue(true);
    EXPECT_EQ(find("A1:A5", "0.5"), "A2");
    EXPECT_EQ(find("A1:A5", "true"), "A3");
    EXPECT_EQ(x.addressOf(x.sheet->Range("A1:A5")->Find("0.5")), "A2");
}

TEST_F(RangeFindTest, RejectsAnUnknownLookIn) {
    try {
        x.sheet->Range("A1")->Find("a", Variant(7));
        FAIL() << "LookIn 7 accepted";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), vberr::ApplicationDefined);
    }
}

TEST(FindPatternTest, PartMatchRules) {
    EXPECT_TRUE(containsPattern("Toolbar", "bar"));
    EXPECT_TRUE(containsPattern("Toolbar", ""));
    EXPECT_TRUE(containsPattern("abc", "a*c"));
    EXPECT_TRUE(containsPattern("a*c", "~*"));
    EXPECT_FALSE(containsPattern("abc", "~*"));
    EXPECT_TRUE(containsPattern("a~c", "~~"));
    EXPECT_TRUE(containsPattern("ÄRGER", "ärg"));
    EXPECT_FALSE(containsPattern("ab", "a?b"));
    EXPECT_TRUE(containsPattern(std::string(5000, 'a') + "b", "*a*a*a*b"));
    EXPECT_FALSE(containsPattern(std::string(5000, 'a'), "*a*a*a*b"));
}

}  // namespace
}  // namespace tessaline::automation::sim
