#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "automation/AutomationError.h"
#include "automation/sim/ExcelTestSupport.h"
#include "automation/sim/SimRangeValues.h"

namespace tessaline::automation::sim {
namespace {

using testing::ExcelSheet;

class RangeValueTest : public ::testing::Test {
protected:
    ExcelSheet x;

    Variant written(const Variant& value) {
        auto cell = x.sheet->Range("B2");
        cell->SetValue(value);
        return cell->Value();
    }
};

TEST_F(RangeValueTest, NumericTextBecomesANumber) {
    EXPECT_EQ(written("12"), Variant(12.0));
    EXPECT_EQ(written(" 3.5 "), Variant(3.5));
    EXPECT_EQ(written("-.25"), Variant(-0.25));
    EXPECT_EQ(written("+7"), Variant(7.0));
    EXPECT_EQ(written("1e3"), Variant(1000.0));
    EXPECT_EQ(written("007"), Variant(7.0));
    EXPECT_EQ(written(5), Variant(5.0));  // Excel keeps every number as a Double
}

TEST_F(RangeValueTest, TrueAndFalseInAnyCaseBecomeBooleans) {
    EXPECT_EQ(written("TRUE"), Variant(true));
    EXPECT_EQ(written("false"), Variant(false));
    EXPECT_EQ(written("True"), Variant(true));
}

TEST_F(RangeValueTest, OtherTextStaysText) {
    for (const char* text : {"1,2", "0x1A", "inf", "nan", "1e", "12abc", "3,21,109", "50%", "1/1/05", "Yes", "保存(&S)",
                             ".", "-", "1e999"}) {
        EXPECT_EQ(written(text), Variant(text)) << text;
    }
}

TEST_F(RangeValueTest, WritingAnEmptyTextEmptiesTheCell) {
    written("x");
    EXPECT_EQ(written(""), Variant());
    EXPECT_EQ(x.sheet->UsedRange()->Address(), "$A$1");
    EXPECT_EQ(x.sheet->Range("B2")->Text(), "");
}

TEST_F(RangeValueTest, WritingAMultiCellRangeFillsEveryCell) {
    x.sheet->Range("A1:B2,D4")->SetValue("7");
    EXPECT_EQ(x.sheet->Range("B2")->Value(), Variant(7.0));
    EXPECT_EQ(x.sheet->Range("D4")->Value(), Variant(7.0));
    EXPECT_EQ(x.sheet->Range("C3")->Value(), Variant());
    x.sheet->Range("A1:B2")->ClearContents();
    EXPECT_EQ(x.sheet->UsedRange()->Address(false, false), "D4");
}

TEST_F(RangeValueTest, NonFiniteNumbersAndHugeWritesAreRefused) {
    try {
        written(std::numeric_limits<double>::quiet_NaN());
        FAIL() << "NaN stored";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), vberr::ApplicationDefined);
    }
    EXPECT_THROW(x.sheet->Range("A:IV")->SetValue(1), AutomationError);
    EXPECT_THROW(x.sheet->Range("A:IV")->Cells(), AutomationError);
    x.sheet->Range("A:IV")->SetValue("");  // emptying the whole sheet is fine
}

TEST_F(RangeValueTest, TextShowsNumbersInGeneralFormatAndBooleansInCapitals) {
    auto text = [&](const Variant& v) {
        written(v);
        return x.sheet->Range("B2")->Text();
    };
    EXPECT_EQ(text(1), "1");
    EXPECT_EQ(text(0.5), "0.5");
    EXPECT_EQ(text(-0.25), "-0.25");
    EXPECT_EQ(text("3"), "3");
    EXPECT_EQ(text(0.1 + 0.2), "0.3");
    EXPECT_EQ(text(1.0 / 3), "0.333333333");
    EXPECT_EQ(text(-1.0 / 3), "-0.33333333");
    EXPECT_EQ(text(12345678901.0), "12345678901");
    EXPECT_EQ(text(123456789012.0), "1.23457E+11");
    EXPECT_EQ(text(1e15), "1E+15");
    EXPECT_EQ(text(1e-20), "1E-20");
    EXPECT_EQ(text(0.0000012345), "1.2345E-06");
    EXPECT_EQ(text(2.5e100), "2.5E+100");
    EXPECT_EQ(text(true), "TRUE");
    EXPECT_EQ(text("false"), "FALSE");
    EXPECT_EQ(text("Text"), "Text");
}

TEST(GeneralFormatTest, NeverExceedsElevenCharacters) {
    for (double v : {1.0 / 7, 98765.4321987, -98765432109.9, 99999999999.6, 1e-5, 123.456789e-9, 7e307}) {
        EXPECT_LE(generalNumberText(v).size(), 11u) << v;
    }
    EXPECT_EQ(generalNumberText(99999999999.6), "1E+11");
    EXPECT_EQ(formulaText(Variant(1.0 / 3)), "0.333333333333333");
}

}  // namespace
}  // namespace tessaline::automation::sim
