#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/VbRuntime.h"

namespace tessaline::automation::vb {
namespace {

template <typename F>
int errorOf(F&& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

TEST(VbLike, WildcardsAndLiterals) {
    EXPECT_TRUE(Like("aBBBa", "a*a"));
    EXPECT_TRUE(Like("", "*"));
    EXPECT_TRUE(Like("", ""));
    EXPECT_FALSE(Like("a", ""));
    EXPECT_TRUE(Like("BAT123khg", "B?T*"));
    EXPECT_FALSE(Like("CAT123khg", "B?T*"));
    EXPECT_TRUE(Like("a2a", "a#a"));
    EXPECT_FALSE(Like("aaa", "a#a"));
    EXPECT_FALSE(Like("ab", "?"));
    EXPECT_TRUE(Like("abcabd", "*abd"));  // needs backtracking past the first "ab"
    EXPECT_TRUE(Like("Sub Foo()", "*Sub *()"));
    EXPECT_FALSE(Like("Sub Foo(x)", "*Sub *()"));
    EXPECT_TRUE(Like("A!", "A!"));  // '!' outside brackets is itself
}

TEST(VbLike, BinaryCompareIsCaseSensitive) {
    EXPECT_FALSE(Like("abc", "ABC"));
    EXPECT_FALSE(Like("F", "[a-z]"));
    EXPECT_TRUE(Like("f", "[a-z]"));
}

TEST(VbLike, BracketLists) {
    EXPECT_TRUE(Like("F", "[A-Z]"));
    EXPECT_FALSE(Like("a", "[!a-z]"));
    EXPECT_TRUE(Like("1", "[!a-z]"));
    EXPECT_TRUE(Like("a", "[xa]"));
    EXPECT_TRUE(Like("-", "[a-]"));
    EXPECT_TRUE(Like("-", "[-a]"));
    EXPECT_FALSE(Like("b", "[a-]"));
    EXPECT_TRUE(Like("*", "[*]"));
    EXPECT_FALSE(Like("x", "[*]"));
    EXPECT_TRUE(Like("?", "[?]"));
    EXPECT_TRUE(Like("#", "[#]"));
    EXPECT_TRUE(Like("[", "[[]"));
    EXPECT_TRUE(Like("ab", "a[]b"));  // [] is the empty string
    EXPECT_TRUE(Like("a]", "a]"));
    EXPECT_TRUE(Like("File,3", "*,[0-9]"));
    EXPECT_FALSE(Like("File,13", "*,[0-9]"));
}

TEST(VbLike, BadPatternsRaiseInvalidPatternWhateverTheText) {
    EXPECT_EQ(errorOf([] { Like("abc", "[abc"); }), vberr::InvalidPattern);
    EXPECT_EQ(errorOf([] { Like("x", "a[b"); }), vberr::InvalidPattern);  // fails before the mismatch at 'a'
    EXPECT_EQ(errorOf([] { Like("", "*["); }), vberr::InvalidPattern);
    EXPECT_EQ(errorOf([] { Like("a", "[!"); }), vberr::InvalidPattern);
    EXPECT_EQ(errorOf([] { Like("b", "[z-a]"); }), vberr::InvalidPattern);
    EXPECT_EQ(errorOf([] { Like("a", "]"); }), 0);
}

TEST(VbLike, WorksOnCharactersNotBytes) {
    EXPECT_TRUE(Like("文件", "??"));
    EXPECT_FALSE(Like("文件", "???"));
    EXPECT_TRUE(Like("工具栏(&T)", "*(&?)"));
    EXPECT_TRUE(Like("菜单条", "*单*"));
    EXPECT_TRUE(Like("乙", "[一-龥]"));  // a range over code points
    EXPECT_FALSE(Like("a", "[一-龥]"));
    EXPECT_TRUE(Like("格式", "[!a-z]式"));
    EXPECT_FALSE(Like("格式", "[格]"));
}

TEST(VbLike, MalformedUtf8NeverCrashesOrMatchesARealCharacter) {
    const std::string broken = "a\xE6\x96";  // a lead byte cut short
    EXPECT_TRUE(Like(broken, "a??"));
    EXPECT_FALSE(Like(broken, "a?"));
    EXPECT_FALSE(Like(broken, "a文"));
}

TEST(VbSplit, EmptyTextDelimitersAndEmptyPieces) {
    EXPECT_TRUE(Split("").empty());
    EXPECT_TRUE(Split("", ",").empty());
    EXPECT_EQ(Split("a b"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Split("a,b", ""), (std::vector<std::string>{"a,b"}));
    EXPECT_EQ(Split(",a,,b,", ","), (std::vector<std::string>{"", "a", "", "b", ""}));
    EXPECT_EQ(Split(",", ","), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Split("一\r\n二\r\n", "\r\n"), (std::vector<std::string>{"一", "二", ""}));
    EXPECT_EQ(Split("x Sub a Sub b", "Sub "), (std::vector<std::string>{"x ", "a ", "b"}));
}

TEST(VbInStr, PositionsCountCharacters) {
    EXPECT_EQ(InStr(1, "文件abc", "abc"), 3);
    EXPECT_EQ(InStr(1, "abcabc", "c"), 3);
    EXPECT_EQ(InStr(4, "abcabc", "c"), 6);
    EXPECT_EQ(InStr(1, "abc", "C"), 0);
    EXPECT_EQ(InStr(1, "abc", "C", TextCompare), 3);
    EXPECT_EQ(InStr(1, "", "a"), 0);
    EXPECT_EQ(InStr(2, "abc", ""), 2);
    EXPECT_EQ(InStr(9, "abc", "a"), 0);
    EXPECT_EQ(errorOf([] { InStr(0, "abc", "a"); }), vberr::InvalidCall);
}

TEST(VbInStrRev, SearchesBackwardFromStart) {
    EXPECT_EQ(InStrRev("a.b.c", "."), 4);
    EXPECT_EQ(InStrRev("a.b.c", ".", 3), 2);
    EXPECT_EQ(InStrRev("a.b.c", ".", 1), 0);
    EXPECT_EQ(InStrRev("abcABC", "abc", -1, TextCompare), 4);
    EXPECT_EQ(InStrRev("abcABC", "abc"), 1);
    EXPECT_EQ(InStrRev("Ｆile", "f", -1, TextCompare), 1);  // full-width letter counts as its narrow form
    EXPECT_EQ(InStrRev("菜单\\文件\\新建", "\\"), 6);
    EXPECT_EQ(InStrRev("abc", "x"), 0);
    EXPECT_EQ(InStrRev("", "x"), 0);
    EXPECT_EQ(InStrRev("abc", ""), 3);
    EXPECT_EQ(InStrRev("abc", "c", 9), 0);
    EXPECT_EQ(InStrRev("abc", "abcd"), 0);
    EXPECT_EQ(errorOf([] { InStrRev("abc", "a", 0); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([] { InStrRev("abc", "a", -2); }), vberr::InvalidCall);
}

TEST(VbReplace, ReplacesWithoutRescanning) {
    EXPECT_EQ(Replace("Sub a()()", "()", ""), "Sub a");
    EXPECT_EQ(Replace("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(Replace("aXbxc", "x", "-", 1, -1, TextCompare), "a-b-c");
    EXPECT_EQ(Replace("aXbxc", "x", "-"), "aXb-c");
    EXPECT_EQ(Replace("abcabc", "b", "B", 1, 1), "aBcabc");
    EXPECT_EQ(Replace("abcabc", "b", "B", 3), "caBc");  // the result starts at start
    EXPECT_EQ(Replace("abc", "", "x"), "abc");
    EXPECT_EQ(Replace("abc", "b", "x", 1, 0), "abc");
    EXPECT_EQ(Replace("abc", "b", "x", 4), "");
    EXPECT_EQ(Replace("", "a", "b"), "");
    EXPECT_EQ(Replace("文件(&F)", "&", ""), "文件(F)");
    EXPECT_EQ(Replace("文件文件", "件", "档", 2), "档文档");
    EXPECT_EQ(errorOf([] { Replace("abc", "a", "b", 0); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([] { Replace("abc", "a", "b", 1, -2); }), vberr::InvalidCall);
}

TEST(VbTrim, RemovesSpacesOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim(" 12,3"), "12,3");
}

TEST(VbSubstrings, LeftRightMidCountCharacters) {
    EXPECT_EQ(Left("文件abc", 2), "文件");
    EXPECT_EQ(Left("abc", 0), "");
    EXPECT_EQ(Left("abc", 10), "abc");
    EXPECT_EQ(Right("abc文件", 3), "c文件");
    EXPECT_EQ(Right("abc", 10), "abc");
    EXPECT_EQ(Right("abc", 0), "");
    EXPECT_EQ(Mid("文件abc", 2, 2), "件a");
    EXPECT_EQ(Mid("文件abc", 3), "abc");
    EXPECT_EQ(Mid("abc", 4), "");
    EXPECT_EQ(Mid("abc", 2, 10), "bc");
    EXPECT_EQ(Mid("abc", 2, 0), "");
    EXPECT_EQ(Len("文件abc"), 5);
    EXPECT_EQ(Len(""), 0);
    EXPECT_EQ(Len("a\xFF"), 2);
    EXPECT_EQ(Left(std::string("a\xFF") + "b", 2), "a\xFF");
    EXPECT_EQ(errorOf([] { Left("abc", -1); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([] { Right("abc", -1); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([] { Mid("abc", 0); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([] { Mid("abc", 1, -2); }), vberr::InvalidCall);
}

TEST(VbCase, ChangesLettersAndLeavesTheRest) {
    EXPECT_EQ(UCase("Menu Bar 菜单"), "MENU BAR 菜单");
    EXPECT_EQ(LCase("Menu Bar 菜单"), "menu bar 菜单");
    EXPECT_EQ(UCase("éçß"), "ÉÇß");
    EXPECT_EQ(LCase("ÀÖØ"), "àöø");
    EXPECT_EQ(UCase("привет"), "ПРИВЕТ");
    EXPECT_EQ(LCase("ΑΒΓ"), "αβγ");
    EXPECT_EQ(UCase("ｆｉｌｅ"), "ＦＩＬＥ");
    EXPECT_EQ(UCase("a\xC3"), "A\xC3");  // a cut-short sequence survives untouched
}

}  // namespace
}  // namespace tessaline::automation::vb
