// The text routines that the driver, the parser and the rendering depend on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "utilities/std_text.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {
namespace {

TEST(StdText, CountOccurrencesCountsOverlappingOnes) {
  struct Case {
    const char* text;
    const char* pattern;
    int count;
  };
  const Case cases[] = {
      {"abc", "", 0},          {"", "", 0},
      {"abc", "x", 0},         {"aaaa", "aa", 3},
      {"\r\n\r\n", "\r\n", 2}, {"\r\n\r\n\r\n", "\r\n\r\n", 2},
      {"abab", "abab", 1},     {"ab", "abc", 0},
      {"Aa", "a", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.pattern);
    EXPECT_EQ(CountOccurrences(c.text, c.pattern), c.count);
  }
}

TEST(StdText, FindOccurrenceGivesOneBasedPositionsOrZero) {
  const std::string w = "\r\nA\r\n";
  EXPECT_EQ(FindOccurrence(w, "\r\n", 1), 1);
  EXPECT_EQ(FindOccurrence(w, "\r\n", 2), 4);
  EXPECT_EQ(FindOccurrence(w, "\r\n", 3), 0);
  EXPECT_EQ(FindOccurrence(w, "\r\n", 0), 0);
  EXPECT_EQ(FindOccurrence(w, "\r\n", -1), 0);
  EXPECT_EQ(FindOccurrence("aaaa", "aa", 2), 2);
  EXPECT_EQ(FindOccurrence("aaaa", "aa", 3), 3);
  EXPECT_EQ(FindOccurrence("aaaa", "aa", 4), 0);
  EXPECT_EQ(FindOccurrence("abc", "", 1), 0);
}

TEST(StdText, NumberTextHasNoBlanks) {
  EXPECT_EQ(NumberText(3), "3");
  EXPECT_EQ(NumberText(12), "12");
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-7), "-7");
  EXPECT_EQ(NumberText(32768), "32768");
}

TEST(StdText, RepeatText) {
  EXPECT_EQ(RepeatText(LineBreak, 2), "\r\n\r\n");
  EXPECT_EQ(RepeatText("ab", 3), "ababab");
  EXPECT_EQ(RepeatText("ab", 0), "");
  EXPECT_EQ(RepeatText("ab", -2), "");
  EXPECT_EQ(RepeatText("", 5), "");
}

TEST(StdText, ReplaceAllAppliesEachPairInOneNonOverlappingPass) {
  struct Case {
    std::string text;
    ReplacementList list;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"\r\n\r\n\r\n", {"\r\n\r\n", "\r\n"}, "\r\n\r\n"},
      {"x1 + x2", {" ", "", "x", "X"}, "X1+X2"},
      // The output of a pair is not searched again by that pair, but by every later pair.
      {"ab", {"a", "aa", "aa", "b"}, "bb"},
      {"aaa", {"a", "aa"}, "aaaaaa"},
      {"aaaa", {"aa", "a"}, "aa"},
      {"<=", {"<", "L", "=", "E"}, "LE"},
      {"abc", {}, "abc"},
      {"", {"a", "b"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReplaceAll(c.text, c.list), c.expected);
  }
}

TEST(StdText, ReplaceAllRejectsAnOddListAndLeavesTheTextAlone) {
  std::string text = "x1 + x2";
  EXPECT_THROW(text = ReplaceAll(text, {" ", "", "x"}), std::invalid_argument);
  EXPECT_EQ(text, "x1 + x2");
}

// Messages quote the user's input: short, and valid UTF-8 whatever the input held.
TEST(Utf8Text, QuotedExcerptCutsAfterFortyCharactersAndReplacesInvalidBytes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "\"\""},
      {"¬p", "\"¬p\""},
      {std::string(40, '1'), "\"" + std::string(40, '1') + "\""},
      {std::string(41, '1'), "\"" + std::string(40, '1') + "…\""},
      {"x\xFF", "\"x\xEF\xBF\xBD\""},
      {"\xE2\x86", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                  // cut sequence
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                  // overlong "/"
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // surrogate
  };
  for (const auto& [text, quoted] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(QuotedExcerpt(text), quoted);
  }
  std::string arrows;
  for (int i = 0; i < 50; ++i) arrows += EncodeCharacter(U'\u2192');
  EXPECT_EQ(QuotedExcerpt(arrows), "\"" + arrows.substr(0, 40 * 3) + "…\"");
  EXPECT_EQ(DecodeCharacter("\xF0\x9F\x98\x80", 0).code, U'\U0001F600');
  EXPECT_EQ(QuotedFileName("/tmp/" + arrows), "\"…" + arrows.substr(0, 40 * 3) + "\"");
  EXPECT_EQ(QuotedFileName("aus/AUS.TEX"), "\"aus/AUS.TEX\"");
}

}  // namespace
}  // namespace umbrix
