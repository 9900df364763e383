#include <gtest/gtest.h>

#include <string>

#include "automation/AutomationError.h"
#include "automation/Variant.h"
#include "automation/VbRuntime.h"

namespace tessaline::automation::vb {
namespace {

// The VB error number a call raises, or 0 when it succeeds.
template <typename F>
int errorOf(F&& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

TEST(VbCStr, BooleansAreEnglishWordsAndEmptyIsEmptyText) {
    EXPECT_EQ(CStr(true), "True");
    EXPECT_EQ(CStr(false), "False");
    EXPECT_EQ(CStr(Variant()), "");
    EXPECT_EQ(CStr(-42), "-42");
    EXPECT_EQ(CStr("控件"), "控件");
}

TEST(VbCStr, DoublesPrintAsVbPrintsThem) {
    EXPECT_EQ(CStr(0.5), "0.5");
    EXPECT_EQ(CStr(-0.5), "-0.5");
    EXPECT_EQ(CStr(3.0), "3");
    EXPECT_EQ(CStr(-0.0), "0");
    EXPECT_EQ(CStr(1234.25), "1234.25");
    EXPECT_EQ(CStr(0.1 + 0.2), "0.3");  // 15 significant digits hide the binary noise
    EXPECT_EQ(CStr(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(CStr(999999999999999.0), "999999999999999");
    EXPECT_EQ(CStr(1e15), "1E+15");
    EXPECT_EQ(CStr(1e20), "1E+20");
    EXPECT_EQ(CStr(-1.5e20), "-1.5E+20");
    EXPECT_EQ(CStr(1.23456789012345678e17), "1.23456789012346E+17");
    EXPECT_EQ(CStr(1e100), "1E+100");
    EXPECT_EQ(CStr(0.0001), "0.0001");
    EXPECT_EQ(CStr(0.00001), "1E-05");
    EXPECT_EQ(CStr(1.5e-7), "1.5E-07");
}

TEST(VbCDbl, NumericTextBooleansAndEmpty) {
    EXPECT_DOUBLE_EQ(CDbl("  12.5 "), 12.5);
    EXPECT_DOUBLE_EQ(CDbl("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(CDbl("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(CDbl("&H10"), 16.0);
    EXPECT_DOUBLE_EQ(CDbl(true), -1.0);
    EXPECT_DOUBLE_EQ(CDbl(Variant()), 0.0);
    EXPECT_DOUBLE_EQ(CDbl("true"), -1.0);
    EXPECT_DOUBLE_EQ(CDbl("FALSE"), 0.0);
}

TEST(VbCDbl, TextThatIsNotWhollyANumberIsTypeMismatch) {
    for (const char* text : {"", " ", "abc", "12abc", "1.2.3", ".", "-", "1e", "&H", "&HG", "1 2", "yes"}) {
        EXPECT_EQ(errorOf([&] { CDbl(text); }), vberr::TypeMismatch) << '"' << text << '"';
    }
    EXPECT_EQ(errorOf([] { CDbl("1e999"); }), vberr::Overflow);
    EXPECT_DOUBLE_EQ(CDbl("1e-999"), 0.0);
}

TEST(VbCInt, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(CInt(0.5), 0);
    EXPECT_EQ(CInt(1.5), 2);
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-0.5), 0);
    EXPECT_EQ(CInt(-1.5), -2);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(2.5000001), 3);
    EXPECT_EQ(CInt(2.4999999), 2);
    EXPECT_EQ(CInt(" 2.5 "), 2);
    EXPECT_EQ(CInt(Variant()), 0);
    EXPECT_EQ(CInt(true), -1);
}

TEST(VbCInt, OverflowsOutsideSixteenBits) {
    EXPECT_EQ(CInt(32767), 32767);
    EXPECT_EQ(CInt(-32768), -32768);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);  // even neighbour stays in range
    EXPECT_EQ(errorOf([] { CInt(32768); }), vberr::Overflow);
    EXPECT_EQ(errorOf([] { CInt(-32769); }), vberr::Overflow);
    EXPECT_EQ(errorOf([] { CInt(32767.5); }), vberr::Overflow);  // rounds up to 32768
    EXPECT_EQ(errorOf([] { CInt("40000"); }), vberr::Overflow);
    EXPECT_EQ(errorOf([] { CInt("abc"); }), vberr::TypeMismatch);
    EXPECT_EQ(errorOf([] { CInt(""); }), vberr::TypeMismatch);
}

TEST(VbCLng, RoundsAndOverflowsAtThirtyTwoBits) {
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CLng(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(CLng(2147483646.5), 2147483646);
    EXPECT_EQ(errorOf([] { CLng(2147483647.5); }), vberr::Overflow);
    EXPECT_EQ(errorOf([] { CLng(-2147483649.0); }), vberr::Overflow);
    EXPECT_EQ(errorOf([] { CLng(1e300); }), vberr::Overflow);
    EXPECT_EQ(CLng("&HFFFF"), -1);
    EXPECT_EQ(CLng("&HFFFFFFFF"), -1);
    EXPECT_EQ(CLng("&H10000"), 65536);
    EXPECT_EQ(errorOf([] { CLng("x1"); }), vberr::TypeMismatch);
}

TEST(VbCBool, NumbersWordsAndNumericText) {
    EXPECT_FALSE(CBool(0));
    EXPECT_TRUE(CBool(-1));
    EXPECT_TRUE(CBool(0.001));
    EXPECT_FALSE(CBool(Variant()));
    EXPECT_TRUE(CBool("True"));
    EXPECT_TRUE(CBool("tRUE"));
    EXPECT_FALSE(CBool("false"));
    EXPECT_TRUE(CBool(" 2 "));
    EXPECT_FALSE(CBool("0.0"));
    for (const char* text : {"", "yes", "真", "Tru", "True1", "On"}) {
        EXPECT_EQ(errorOf([&] { CBool(text); }), vberr::TypeMismatch) << '"' << text << '"';
    }
}

TEST(VbVariant, ConversionsFollowTheRuntime) {
    EXPECT_EQ(Variant(false).toString(), "False");
    EXPECT_EQ(Variant(2.5).toLong(), 2);
    EXPECT_TRUE(Variant("TRUE").toBool());
    EXPECT_DOUBLE_EQ(Variant(" 7 ").toDouble(), 7.0);
    EXPECT_EQ(errorOf([] { Variant("Type").toLong(); }), vberr::TypeMismatch);
}

TEST(VbVal, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(Val("3 apples"), 3.0);
    EXPECT_DOUBLE_EQ(Val(" 2 45 7"), 2457.0);
    EXPECT_DOUBLE_EQ(Val("\t1\n2"), 12.0);
    EXPECT_DOUBLE_EQ(Val("1.5.3"), 1.5);
    EXPECT_DOUBLE_EQ(Val("1,000"), 1.0);
    EXPECT_DOUBLE_EQ(Val("-12.5x"), -12.5);
    EXPECT_DOUBLE_EQ(Val("- 3"), -3.0);
    EXPECT_DOUBLE_EQ(Val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(Val("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(Val("1D2"), 100.0);
    EXPECT_DOUBLE_EQ(Val("2e"), 2.0);
    EXPECT_DOUBLE_EQ(Val("2e+x"), 2.0);
    EXPECT_DOUBLE_EQ(Val("50%"), 50.0);
    EXPECT_DOUBLE_EQ(Val("7#"), 7.0);
}

TEST(VbVal, NoNumberGivesZero) {
    for (const char* text : {"", "abc", ".", "-", "+", "e5", "&H", "第3", "\r5"}) {
        EXPECT_DOUBLE_EQ(Val(text), 0.0) << '"' << text << '"';
    }
}

TEST(VbVal, HexAndOctalTakeTheTypeOfTheirSize) {
    EXPECT_DOUBLE_EQ(Val("&HFFFF"), -1.0);
    EXPECT_DOUBLE_EQ(Val("&hff"), 255.0);
    EXPECT_DOUBLE_EQ(Val("&HFFFF&"), 65535.0);
    EXPECT_DOUBLE_EQ(Val("&H10000"), 65536.0);
    EXPECT_DOUBLE_EQ(Val("&HFFFFFFFF"), -1.0);
    EXPECT_DOUBLE_EQ(Val("&O17"), 15.0);
    EXPECT_DOUBLE_EQ(Val("&O19"), 1.0);
    EXPECT_EQ(errorOf([] { Val("&H123456789"); }), vberr::Overflow);
}

TEST(VbVal, TypeSuffixMustSuitTheNumber) {
    EXPECT_EQ(errorOf([] { Val("50.5%"); }), vberr::TypeMismatch);
    EXPECT_EQ(errorOf([] { Val("40000%"); }), vberr::Overflow);
    EXPECT_EQ(errorOf([] { Val("1e999"); }), vberr::Overflow);
    EXPECT_DOUBLE_EQ(Val("40000&"), 40000.0);
}

}  // namespace
}  // namespace tessaline::automation::vb
