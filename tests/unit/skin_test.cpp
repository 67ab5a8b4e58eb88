// The suite's skin: colour texts and names, image files per button state, and
// the names under which the built-in skin draws.
#include "ui/skin.h"

#include <gtest/gtest.h>

namespace bootmark {
namespace {

TEST(SkinTest, ColourTextsAndNames) {
  const Skin skin = Skin::FromText(
      "\xEF\xBB\xBF[Colors]\r\ntext_color.cl_blue_b=#1E90FF\r\ntext_color.cl_orange_a=$0000A5FF\r\nbad=#12\r\n", "C:\\s");
  const std::pair<const char*, std::optional<Colour>> cases[] = {
      {"TEXT_COLOR.CL_BLUE_B", MakeColour(0x1E, 0x90, 0xFF)}, {"text_color.cl_orange_a", MakeColour(0xFF, 0xA5, 0x00)},
      {"public_element.cl_btn_blue_normal", MakeColour(0xFF, 0xFF, 0xFF)},  // built in
      {"2367001", Colour{0x241E19}}, {"#241E19", MakeColour(0x24, 0x1E, 0x19)}, {"bad", std::nullopt},
      {"16777216", std::nullopt}, {"#GGGGGG", std::nullopt}, {"", std::nullopt}, {"unknown.name", std::nullopt},
      // At most eight digits, leading zeros included.
      {"00000001", Colour{1}}, {"000000001", std::nullopt}, {"$000000001", std::nullopt}};
  for (const auto& [text, colour] : cases) {
    EXPECT_EQ(skin.ResolveColour(text), colour) << text;
  }
}

TEST(SkinTest, ImageFilesByStateInsideTheSkinFolderOnly) {
  const Skin skin = Skin::FromText(
      "[Images]\nbtn_close_b=imgname=images/close.png\nbtn_close_b.over=imgname=images\\close_over.png\n"
      "escape=imgname=..\\..\\x.png\nabsolute=C:\\x.png\nbare=images\\bare.png\n",
      "C:\\Kst\\skin\\classic");
  struct Case {
    const char* image;
    ButtonState state;
    const char* file;
  };
  for (const Case& test : {Case{"btn_close_b", ButtonState::Normal, "C:\\Kst\\skin\\classic\\images\\close.png"},
                           Case{"BTN_CLOSE_B", ButtonState::Over, "C:\\Kst\\skin\\classic\\images\\close_over.png"},
                           Case{"btn_close_b", ButtonState::Down, "C:\\Kst\\skin\\classic\\images\\close.png"},
                           Case{"imgname=images/bg.png", ButtonState::Normal, "C:\\Kst\\skin\\classic\\images\\bg.png"},
                           Case{"bare", ButtonState::Normal, "C:\\Kst\\skin\\classic\\images\\bare.png"},
                           Case{"escape", ButtonState::Normal, ""}, Case{"absolute", ButtonState::Normal, ""},
                           Case{"missing", ButtonState::Normal, ""}}) {
    EXPECT_EQ(skin.ImageFile(test.image, test.state), test.file) << test.image;
  }
  EXPECT_EQ(Skin().ImageFile("imgname=images/bg.png"), "");  // no suite skin: built-in drawing
}

TEST(SkinTest, BuiltInNamesAndFolders) {
  EXPECT_EQ(BuiltInImageName("imgname=images/icon_warning_small.png"), "icon_warning_small");
  EXPECT_EQ(BuiltInImageName("btn_close_b"), "btn_close_b");
  EXPECT_EQ(SkinFolder("C:\\Kst\\", "classic"), "C:\\Kst\\skin\\classic\\");
  EXPECT_EQ(SkinFolder("C:\\Kst", ""), "");
  for (const char* outside : {"..\\..\\Windows", "C:\\Other", "\\\\server\\share", "a/../../b"}) {
    EXPECT_EQ(SkinFolder("C:\\Kst", outside), "") << outside;
  }
}

}  // namespace
}  // namespace bootmark
