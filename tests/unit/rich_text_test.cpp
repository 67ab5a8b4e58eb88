// Hyperlink captions: which parts are links, where each word lands, which link
// the mouse is on, and the width cuts the notices make.
#include "ui/rich_text.h"

#include <gtest/gtest.h>

#include "toolkit_test_support.h"

namespace bootmark {
namespace {

TEST(ParseLinkTextTest, SplitsCaptionIntoPlainAndLinkRuns) {
  const std::pair<const char*, std::vector<TextRun>> cases[] = {
      {"Your system boot time: <a>1m 21s</a>", {{"Your system boot time: ", -1}, {"1m 21s", 0}}},
      {"<A HREF=\"x\">a</A> and <a>b</a>", {{"a", 0}, {" and ", -1}, {"b", 1}}},
      {"Disabled by <a>25%", {{"Disabled by ", -1}, {"25%", 0}}}, {"a<br>b<b>c</b>", {{"a\nbc", -1}}},
      {"1 &lt; 2 &amp;&amp; &unknown;", {{"1 < 2 && &unknown;", -1}}},
      {"x < y", {{"x < y", -1}}}, {"</a>text<a></a>", {{"text", -1}}},
  };
  for (const auto& [caption, runs] : cases) EXPECT_EQ(ParseLinkText(caption), runs) << caption;
}

class LayoutTest : public ::testing::Test {
 protected:
  testing::FixedTextMeasurer measurer;
  FontSpec font{"Segoe UI", 12};
  TextLayout Lay(const char* caption, int wrap, int centre = 0) {
    return LayOutText(measurer, ParseLinkText(caption), font, LinkFontOf(font), wrap, centre);
  }
};

TEST_F(LayoutTest, LinkPartIsHitOnlyWhereItIsDrawn) {
  // "Boot: " is 6 plain characters (42 px); "1m 21s" 6 bold ones (48 px).
  const TextLayout layout = Lay("Boot: <a>1m 21s</a> ok", 0);
  ASSERT_EQ(layout.pieces.size(), 3u);
  EXPECT_EQ(layout.pieces[1].box, (Rect{42, 0, 90, 16}));
  EXPECT_EQ(layout.extent, (Size{111, 16}));
  struct Probe {
    Point at;
    int link;
  };
  for (const Probe& probe : {Probe{{41, 5}, -1}, Probe{{42, 0}, 0}, Probe{{89, 15}, 0}, Probe{{90, 5}, -1},
                             Probe{{60, 16}, -1}, Probe{{60, -1}, -1}}) {
    EXPECT_EQ(LinkAt(layout, probe.at), probe.link) << probe.at.x << "," << probe.at.y;
  }
}

TEST_F(LayoutTest, WrapsBetweenWordsAndKeepsLongWordsWhole) {
  // 7 px a character, 70 px a line: "aaaa bbbb " fits (the trailing blank is free).
  const TextLayout layout = Lay("aaaa bbbb <a>cccc</a> dddddddddddddd e", 70);
  std::vector<std::pair<std::string, Rect>> placed;
  for (const PlacedText& piece : layout.pieces) placed.emplace_back(piece.text, piece.box);
  const std::vector<std::pair<std::string, Rect>> expected = {{"aaaa bbbb ", {0, 0, 70, 16}},
                                                              {"cccc", {0, 16, 32, 32}}, {" ", {32, 16, 39, 32}},
                                                              {"dddddddddddddd ", {0, 32, 105, 48}},
                                                              {"e", {0, 48, 7, 64}}};
  EXPECT_EQ(placed, expected);
  EXPECT_EQ(layout.extent.height, 64);
  EXPECT_EQ(LinkAt(layout, {10, 20}), 0);
}

TEST_F(LayoutTest, CentresEachLineAndBreaksAtLineBreaks) {
  const TextLayout layout = Lay("ab<br>abcd", 0, 100);
  ASSERT_EQ(layout.pieces.size(), 2u);
  EXPECT_EQ(layout.pieces[0].box, (Rect{43, 0, 57, 16}));
  EXPECT_EQ(layout.pieces[1].box, (Rect{36, 16, 64, 32}));
}

// The text, the width in pixels, the text ellipsized to it and the text broken at it.
TEST(WidthCutTest, CutsAtTheFirstCharacterThatNoLongerFits) {
  const std::tuple<const char*, int, const char*, const char*> cases[] = {
      {"abcdef", 42, "abcdef", "abcdef"}, {"abcdefg", 42, "abc...", "abcdef g"},
      {"\xC3\xA9\xC3\xA9\xC3\xA9", 14, "...", "\xC3\xA9\xC3\xA9 \xC3\xA9"}, {"abc", 0, "...", " abc"},
  };
  const testing::FixedTextMeasurer measurer;
  const FontSpec font;
  for (const auto& [text, width, ellipsized, broken] : cases) {
    EXPECT_EQ(EllipsizeToWidth(measurer, font, text, width), ellipsized) << text;
    EXPECT_EQ(BreakAtWidth(measurer, font, text, width), broken) << text;
  }
}

}  // namespace
}  // namespace bootmark
