#include "common/av_match.h"

#include <gtest/gtest.h>

namespace bootmark {
namespace {

TEST(EvaluateMatch, ExpressionsAgainstValues) {
  const struct {
    const char* expression;
    const char* value;
    bool expected;
  } cases[] = {
      {"'example'", "Example Antivirus", true}, {"'EXAMPLE'", "example antivirus", true},
      {"'trial'", "Example Antivirus", false}, {"'example' & not 'trial'", "Example Antivirus", true},
      {"'example' & not 'trial'", "Example Antivirus Trial", false},
      {"'example antivirus'", "Example Antivirus 2024", true},  // blanks inside quotes belong to the text
      // Left to right, no precedence: ('a' or 'b') and 'c'.
      {"'a' | 'b' & 'c'", "a", false}, {"'a' | 'b' & 'c'", "ac", true}, {"'x' & 'y' | 'z'", "z", true},
      // Parentheses first, innermost first.
      {"'a' | ('b' & 'c')", "a", true}, {"('q' | ('a' & 'b')) & not 'x'", "ab", true},
      {"('q' | ('a' & 'b')) & not 'x'", "abx", false}, {"not ('a' | 'b')", "c", true}, {"not'a'", "b", true},
      {"'a'&'b'", "ab", true}, {"'a'|'b'", "b", true},
      // Words that are no operator, or missing terms, make the whole result false.
      {"'a' 'b'", "ab", false}, {"'a' xor 'b'", "a", false}, {"'a' &", "a", false}, {"'a' |", "a", false},
      {"'a' | not", "a", false}, {"not", "a", false},
      {"", "a", false},
      // Bare words: only a true boolean is true.
      {"true", "a", true}, {"1", "a", true}, {"0", "a", false}, {"yes", "a", false}, {"'a' & TRUE", "a", true},
      // A quote without its partner is dropped; the text after it stays.
      {"'a' & 'b", "ab", false}, {"'a' | 'b", "a", true}, {"'", "'", false},
      // Parentheses without a partner stay words: a term that is false, or a
      // word where an operator belongs.
      {"('a'", "a", false}, {"'a' | (", "a", true}, {"'a')", "a", false}, {") 'a'", "a", false},
      {"(('a')", "a", false}, {"()", "a", false},
      {"''", "a", true},  // the empty text occurs in every value
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(std::string(test.expression) + " / " + test.value);
    EXPECT_EQ(EvaluateMatch(test.expression, test.value), test.expected);
  }
}

TEST(EvaluateMatch, DeepAndUnbalancedNestingStaysLinear) {
  const std::string open(200000, '(');
  const std::string close(200000, ')');
  EXPECT_TRUE(EvaluateMatch(open + "'a'" + close, "a"));
  EXPECT_FALSE(EvaluateMatch(open + "'a'", "a"));
  EXPECT_FALSE(EvaluateMatch(close + "'a'", "a"));
}

}  // namespace
}  // namespace bootmark
