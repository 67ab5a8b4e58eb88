#include "base/text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

namespace bootmark {
namespace {

// --- UTF-8 / UTF-16 conversion ---------------------------------------------

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

TEST(TextConversion, WellFormedTextRoundTrips) {
  const Utf8Case cases[] = {
      {"ascii with nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"two-byte ends", "\xC2\x80\xDF\xBF", u"\u0080\u07FF"}, {"last BMP unit", "\xEF\xBF\xBF", u"\uFFFF"},
      {"below the surrogates", "\xED\x9F\xBF", u"\uD7FF"}, {"above the surrogates", "\xEE\x80\x80", u"\uE000"},
      {"lowest pair", "\xF0\x90\x80\x80", u"\U00010000"}, {"highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    for (const bool bigEndian : {false, true}) {
      std::string bytes;
      AppendUtf16(bytes, c.utf8, bigEndian);
      std::string text;
      EXPECT_TRUE(TryDecodeUtf16Bytes(bytes, bigEndian, text));
      EXPECT_EQ(text, c.utf8);
    }
  }
}

TEST(TextConversion, IllFormedUtf8BecomesReplacementCharacters) {
  const Utf8Case cases[] = {
      {"lone continuation", "a\x80z", u"a\uFFFDz"}, {"C0 overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"E0 overlong", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"F0 overlong", "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"encoded high surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"F5 lead", "\xF5\x80", u"\uFFFD\uFFFD"}, {"truncated at end", "ab\xE2\x82", u"ab\uFFFD"},
      {"truncated four-byte then ascii", "\xF0\x9F\x98z", u"\uFFFDz"},
      {"broken by a new lead", "\xE2\xC3\xA9", u"\uFFFD\u00E9"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
}

TEST(TextConversion, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::tuple<const char*, std::u16string, std::string> cases[] = {
      {"lone high at end", std::u16string(u"a") + char16_t(0xD83D), "a\xEF\xBF\xBD"},
      {"last lone low", std::u16string(1, char16_t(0xDFFF)), "\xEF\xBF\xBD"},
      {"reversed pair", std::u16string{char16_t(0xDE00), char16_t(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"high then ascii", std::u16string{char16_t(0xD83D), u'x'}, "\xEF\xBF\xBDx"},
      {"high then E000", std::u16string{char16_t(0xDBFF), char16_t(0xE000)}, "\xEF\xBF\xBD\xEE\x80\x80"},
  };
  for (const auto& [name, utf16, utf8] : cases) {
    EXPECT_EQ(Utf16ToUtf8(utf16), utf8) << name;
    // Bytes read from a file refuse what the conversion replaces.
    std::string bytes, text;
    for (const char16_t unit : utf16) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    EXPECT_FALSE(TryDecodeUtf16Bytes(bytes, false, text)) << name;
  }
}

// --- Case mapping and comparison ----------------------------------------------

TEST(TextCase, UpperCaseUnitFollowsSimpleOneToOneMappings) {
  const std::pair<char16_t, char16_t> cases[] = {
      {u'a', u'A'}, {u'z', u'Z'}, {u'\u00FF', u'\u0178'}, {u'\u00DF', u'\u00DF'},  // sharp s stays
      {u'\u03C2', u'\u03A3'}, {u'\u1FB3', u'\u1FBC'}, {u'\u2C65', u'\u023A'}, {u'\uFF41', u'\uFF21'},
      {u'\u00B5', u'\u039C'}, {char16_t(0xDC28), char16_t(0xDC28)}, {u'\uFFFF', u'\uFFFF'},
  };
  for (const auto& [unit, upper] : cases) {
    SCOPED_TRACE(static_cast<int>(unit));
    EXPECT_EQ(static_cast<int>(UpperCaseUnit(unit)), static_cast<int>(upper));
  }
}

TEST(TextCompare, OrdinalIgnoringCase) {
  // Two texts and the expected sign of CompareTextOrdinal(a, b).
  const std::tuple<std::string, std::string, int> cases[] = {
      {"", "", 0}, {"run", "runs", -1}, {"", "a", -1}, {"abc", "abd", -1},
      // One side ends where the other holds a unit that reads as zero, or a non-ASCII one.
      {std::string("a\0", 2), "A", 1}, {"a\xC3\xA9", "A", 1},
      // '_' (0x5F) lies between the upper- and lower-case letters:
      // upper-casing first puts it after every letter.
      {"a", "_", -1}, {"Z", "_", -1},
      {"stra\xC3\x9F" "e", "STRASSE", 1},               // ß is not SS
      {"\xC3\xA9", "f", 1},                               // compared as units
      // U+FF21 sorts below a surrogate pair: units, not code points.
      {"\xEF\xBC\xA1", "\xF0\x9F\x98\x80", 1},
      // Deseret letters are outside the BMP and do not fold.
      {"\xF0\x90\x90\xA8", "\xF0\x90\x90\x80", 1}, {"\xF0\x9F\x98\x80x", "\xF0\x9F\x98\x80X", 0},
      {"\xF0\x9F\x98\x80\xC4\xB1", "\xF0\x9F\x98\x80I", 0},  // after a pair, two-byte ı still matches I
      // Invalid bytes compare as U+FFFD, like after conversion.
      {"a\xFF", "A\xEF\xBF\xBD", 0},
  };
  const auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const auto& [a, b, order] : cases) {
    SCOPED_TRACE(a + " / " + b);
    EXPECT_EQ(sign(CompareTextOrdinal(a, b)), order);
    EXPECT_EQ(sign(CompareTextOrdinal(b, a)), -order);
    EXPECT_EQ(SameText(a, b), order == 0);
    EXPECT_EQ(TextLessIgnoreCase()(a, b), order < 0);
    if (order == 0) {
      EXPECT_EQ(HashTextIgnoreCase(a), HashTextIgnoreCase(b));
      EXPECT_EQ(UpperCaseOrdinal(a), UpperCaseOrdinal(b));
    }
  }
}

TEST(TextCase, PrefixAndSuffixIgnoringCase) {
  // Text, part, whether the text starts and whether it ends with the part.
  const std::tuple<const char*, const char*, bool, bool> cases[] = {
      {"abc", "", true, true}, {"ab", "abc", false, false}, {"abc", "ABC", true, true},
      {"\xC4\xB1" "d.exe", "ID", true, false},     // two-byte ı matches one-byte I
      {"setup.\xC3\xA9xe", "\xC3\x89XE", false, true}, {"x\xC5\xBF", "S", false, true},
      {"stra\xC3\x9F" "e", "STRASS", false, false},
  };
  for (const auto& [text, part, starts, ends] : cases) {
    SCOPED_TRACE(std::string(text) + " / " + part);
    EXPECT_EQ(StartsWithIgnoreCase(text, part), starts);
    EXPECT_EQ(EndsWithIgnoreCase(text, part), ends);
  }
}

// --- Trim, SplitText, ReplaceAll ----------------------------------------------

// The callers' tests see the typical texts; these are the edges.
TEST(TextEdit, TrimSplitAndReplaceAtTheirEdges) {
  // Every byte up to the blank goes; DEL and the two bytes of a no-break space stay.
  const std::string text = std::string("\0 \x7F" "a\xC2\xA0\x1F\t", 8);
  EXPECT_EQ(TrimLeft(text), "\x7F" "a\xC2\xA0\x1F\t");
  EXPECT_EQ(TrimRight(text), std::string("\0 \x7F" "a\xC2\xA0", 6));
  EXPECT_EQ(Trim(" \t\r\n"), "");
  // Empty pieces are kept, the last piece is always added, a delimiter is matched whole.
  EXPECT_EQ(SplitText("a||||b||", "||"), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(SplitText("a|||b", "||"), (std::vector<std::string>{"a", "|b"}));
  EXPECT_EQ(SplitText("abc", ""), std::vector<std::string>{"abc"});
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");  // replaced text is not searched again
  EXPECT_EQ(ReplaceAll("Runrun", "run", "x"), "Runx");  // case-sensitive
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

// --- Numbers ---------------------------------------------------------------

TEST(TextNumbers, TryParseInteger) {
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
      {"+42", 42}, {"0XfF", 255}, {"-$10", -16}, {"9223372036854775807", kMax}, {"-9223372036854775808", kMin},
      {"9223372036854775808", std::nullopt}, {"-9223372036854775809", std::nullopt}, {"0x7FFFFFFFFFFFFFFF", kMax},
      {"0x8000000000000000", std::nullopt}, {"", std::nullopt}, {"-", std::nullopt}, {"0x", std::nullopt},
      {" 1", std::nullopt}, {"1 ", std::nullopt}, {"--1", std::nullopt}, {"0x-1", std::nullopt}, {"0x1G", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(TryParseInteger(text), value) << text;
}

TEST(TextNumbers, StrToIntDefKeeps32BitRange) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"2147483647", 2147483647}, {"-2147483648", std::numeric_limits<std::int32_t>::min()}, {"2147483648", -7},
      {"-2147483649", -7}, {"0xFFFFFFFF", -1}, {"$80000000", std::numeric_limits<std::int32_t>::min()},
      {"0x100000000", -7}, {"abc", -7},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(StrToIntDef(text, -7), value) << text;
}

TEST(TextNumbers, TryParseFloat) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"1,5", 1.5}, {"-2.25", -2.25}, {"+3", 3.0}, {".5", 0.5}, {"5.", 5.0}, {"2,5e+1", 25.0}, {"1e-400", 0.0},
      {"0.0000e999", 0.0}, {"1e400", std::nullopt}, {"0.5e400", std::nullopt}, {"100000e-5", 1.0}, {".", std::nullopt},
      {"", std::nullopt}, {"1e", std::nullopt}, {" 1", std::nullopt}, {"1 ", std::nullopt}, {"1,000.5", std::nullopt},
      {"1e+", std::nullopt}, {"-INF", std::nullopt}, {"nan", std::nullopt}, {"0x1p3", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(TryParseFloat(text), value) << text;
}

TEST(TextNumbers, FloatToStrWritesShortestText) {
  const std::pair<double, const char*> cases[] = {
      {-0.0, "0"}, {-2.25, "-2.25"}, {0.00001, "0.00001"}, {0.000001, "1E-6"}, {1.0 / 3.0, "0.3333333333333333"},
      {123456789012345.0, "123456789012345"}, {1e15, "1E+15"}, {5e-324, "5E-324"},
      {std::numeric_limits<double>::infinity(), "INF"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FloatToStr(value), text) << text;
}

}  // namespace
}  // namespace bootmark
