#include <gtest/gtest.h>

#include <stdexcept>

#include "scenario/Script.h"

namespace tessaline::scenario {
namespace {

std::vector<std::string> texts(const std::vector<Word>& words) {
    std::vector<std::string> out;
    for (const Word& word : words) out.push_back(word.text);
    return out;
}

TEST(SplitWords, BlanksSeparateAndQuotesGroup) {
    const auto words = splitWords("  click\tbars  \"Worksheet Menu Bar\" 1 ");
    EXPECT_EQ(texts(words), (std::vector<std::string>{"click", "bars", "Worksheet Menu Bar", "1"}));
    EXPECT_FALSE(words[1].quoted);
    EXPECT_TRUE(words[2].quoted);
}

TEST(SplitWords, EscapesInsideQuotesGiveTheirCharacters) {
    const auto words = splitWords(R"(expect msgbox = "a\"b\\c\td\ne")");
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[3].text, "a\"b\\c\td\ne");
}

TEST(SplitWords, QuotedEmptyTextAndQuotedOperatorStayWords) {
    const auto words = splitWords(R"(expect panel 2 = "" "=")");
    ASSERT_EQ(words.size(), 6u);
    EXPECT_EQ(words[4].text, "");
    EXPECT_TRUE(words[4].quoted);
    EXPECT_EQ(words[5].text, "=");
    EXPECT_TRUE(words[5].quoted);
}

TEST(SplitWords, HashStartsACommentOnlyAtTheStartOfAWord) {
    EXPECT_EQ(texts(splitWords("type controls C#  # the rest is a comment")),
              (std::vector<std::string>{"type", "controls", "C#"}));
    EXPECT_EQ(texts(splitWords("type controls \"# not a comment\"")),
              (std::vector<std::string>{"type", "controls", "# not a comment"}));
}

TEST(SplitWords, MalformedQuotingIsRefused) {
    EXPECT_THROW(splitWords("type controls \"open"), std::invalid_argument);
    EXPECT_THROW(splitWords("type controls \"ends in backslash\\"), std::invalid_argument);
    EXPECT_THROW(splitWords(R"(type controls "bad \q escape")"), std::invalid_argument);
    EXPECT_THROW(splitWords("type controls \"a\"b"), std::invalid_argument);
    EXPECT_THROW(splitWords("type controls a\"b\""), std::invalid_argument);
}

TEST(ParseScript, KeepsLineNumbersAcrossBlankAndCommentLines) {
    const Script script = parseScript("# heading\n\noption Excel\r\n   # indented comment\nprint panel 1\n", "s.scn");
    ASSERT_EQ(script.commands.size(), 2u);
    EXPECT_EQ(script.commands[0].line, 3);
    EXPECT_EQ(script.commands[0].source, "option Excel");
    EXPECT_EQ(script.commands[1].line, 5);
    EXPECT_EQ(script.file, "s.scn");
}

TEST(ParseScript, ABadLineBecomesACommandCarryingItsError) {
    const Script script = parseScript("option Excel\ntype controls \"open\nprint panel 1", "s.scn");
    ASSERT_EQ(script.commands.size(), 3u);
    EXPECT_TRUE(script.commands[0].error.empty());
    EXPECT_EQ(script.commands[1].line, 2);
    EXPECT_FALSE(script.commands[1].error.empty());
    EXPECT_TRUE(script.commands[2].error.empty());
}

TEST(ParseScript, ReadsChineseAndSkipsAByteOrderMark) {
    const Script script = parseScript("\xEF\xBB\xBFtype controls \"新建文件\"\n", "s.scn");
    ASSERT_EQ(script.commands.size(), 1u);
    EXPECT_EQ(script.commands[0].words[0].text, "type");
    EXPECT_EQ(script.commands[0].words[2].text, "新建文件");
}

TEST(ParseScript, RefusesTextThatIsNotUtf8) {
    // Latin-1 "é", an overlong "/" and a lone continuation byte.
    for (const char* line : {"type controls caf\xE9", "type controls \xC0\xAF", "type controls \x80", "x \xE6\x96"}) {
        const Script script = parseScript(line, "s.scn");
        ASSERT_EQ(script.commands.size(), 1u) << line;
        EXPECT_FALSE(script.commands[0].error.empty()) << line;
    }
}

TEST(LoadScript, AMissingFileIsAnError) {
    EXPECT_THROW(loadScript("/nonexistent/folder/none.scn"), std::runtime_error);
}

}  // namespace
}  // namespace tessaline::scenario
