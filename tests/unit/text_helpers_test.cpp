// The one-line text helpers.
#include "base/text_helpers.h"

#include <gtest/gtest.h>

namespace bootmark {
namespace {

TEST(TextBeforeCharTest, TextBeforeTheFirstCharacterOrTheFirstCharacters) {
  const struct {
    const char* text;
    char ch;
    std::size_t count;
    const char* expected;
  } cases[] = {
      {"KST.exe /boot", ' ', 0, "KST.exe"}, {"a,b,c", ',', 0, "a"}, {",lead", ',', 0, ""},
      {"no comma", ',', 0, ""},  // the text has none: empty
      {"", ',', 0, ""},
      {"abcdef", '\0', 3, "abc"},  // no character given: the first `count`
      {"abc", '\0', 10, "abc"}, {"abc", '\0', 0, ""},
      {"\xC3\xA9t\xC3\xA9s", '\0', 3, "\xC3\xA9t\xC3\xA9"},      // counted in characters, not bytes
      {"a\xF0\x9F\x98\x80z", '\0', 2, "a"},                      // half a surrogate pair is dropped
      {"a\xF0\x9F\x98\x80z", '\0', 3, "a\xF0\x9F\x98\x80"}, {"x\xC3\xA9:y", ':', 0, "x\xC3\xA9"},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(TextBeforeChar(test.text, test.ch, test.count), test.expected) << test.text << " / " << test.count;
  }
}

TEST(TextAfterLastCharTest, TextAfterTheLastCharacterOrTheWholeText) {
  const struct {
    const char* text;
    char ch;
    const char* expected;
  } cases[] = {
      {"C:\\Program Files\\Tarvo\\KST.exe", '\\', "KST.exe"}, {"a.b.c", '.', "c"}, {"trailing\\", '\\', ""},
      {"none", '\\', "none"}, {"", '\\', ""},
  };
  for (const auto& test : cases) EXPECT_EQ(TextAfterLastChar(test.text, test.ch), test.expected) << test.text;
}

TEST(SplitTextTest, EveryPieceBetweenDelimitersWithTheLastAlwaysAdded) {
  using Pieces = std::vector<std::string>;
  const struct {
    const char* text;
    const char* delimiter;
    Pieces expected;
  } cases[] = {
      {"a,b,c", ",", {"a", "b", "c"}},
      {"a,,b", ",", {"a", "", "b"}},  // two delimiters in a row
      {"a,", ",", {"a", ""}}, {",a", ",", {"", "a"}}, {"", ",", {""}}, {",", ",", {"", ""}},
      {"8.8.8.8||1.1.1.1", "||", {"8.8.8.8", "1.1.1.1"}}, {"a|||b", "||", {"a", "|b"}}, {"abc", "", {"abc"}},
  };
  for (const auto& test : cases) EXPECT_EQ(SplitText(test.text, test.delimiter), test.expected) << test.text;
}

}  // namespace
}  // namespace bootmark
