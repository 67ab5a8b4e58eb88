// The form model: component names are unique within a form as the language files' keys need
// them to be; geometry, fonts and mouse input of the window toolkit.
#include "ui/form_model.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "toolkit_test_support.h"

namespace bootmark {
namespace {

TEST(FormModelTest, NamesAreUniqueIgnoringCaseButMayBeEmpty) {
  FormModel form("Bmark_MainForm");
  FormControl& close = form.Add("Button_Close", ControlKind::SkinnedImageButton);
  EXPECT_EQ(form.Find("BUTTON_CLOSE"), &close);
  EXPECT_EQ(form.Find("Button_Open"), nullptr);
  EXPECT_THROW(form.Add("button_close", ControlKind::Label), std::invalid_argument);
  form.Add("", ControlKind::Timer);
  form.Add("", ControlKind::Timer);
  EXPECT_EQ(form.Controls().size(), 3u);
  EXPECT_EQ(form.Find(""), nullptr);
}

// ---- Geometry, fonts and mouse input of the window toolkit ----------------------

TEST(FormWindowRuleTest, MouseIsOverTheNoticeOnlyInsideItsInnerEdge) {
  FormModel form("Bmark_MainForm");
  form.bounds = {1490, 790, 1920, 1040};
  struct Case {
    Point at;
    bool over;
  };
  for (const Case& test : {Case{{1, 1}, true}, Case{{429, 249}, true}, Case{{0, 100}, false},
                           Case{{100, 0}, false}, Case{{430, 100}, false}, Case{{100, 250}, false}}) {
    form.cursorPosition = test.at;
    EXPECT_EQ(form.MouseOverForm(), test.over) << test.at.x << "," << test.at.y;
  }
}

TEST(FormWindowRuleTest, PlacedInTheBottomRightCornerOfTheWorkArea) {
  FormModel form("Bmark_DNSChangeNotice");
  form.bounds = {0, 0, 430, 250};
  form.PlaceBottomRight({-1280, 0, 0, 984});
  EXPECT_EQ(form.bounds, (Rect{-430, 734, 0, 984}));
}

TEST(FormFontTest, FontSizeLevelsGrowEveryFontButThoseKeptAsDesigned) {
  struct Case {
    int setting;
    int level;
  };
  for (const Case& test : {Case{-1, 0}, Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 0}, Case{40, 0}}) {
    FormModel form("f");
    FormControl& plain = form.Add("lbl_DNSStr1", ControlKind::SkinnedLabel);
    plain.font = FontSpec{"Segoe UI", 14};
    FormControl& inherited = form.Add("lbl_DNSCap", ControlKind::SkinnedLabel);
    FormControl& title = form.Add("lblKSTTitle", ControlKind::SkinnedLabel);
    title.keepFontSize = true;
    form.SetFontSizeLevel(FontSizeLevelFrom(test.setting));
    EXPECT_EQ(form.FontSizeLevel(), test.level) << test.setting;
    EXPECT_EQ(form.FontOf(plain).size, 14 + test.level);
    EXPECT_EQ(form.FontOf(inherited).size, form.font.size + test.level);
    EXPECT_EQ(form.FontOf(title).size, form.font.size);
    EXPECT_EQ(form.FontOf(inherited).face, "Segoe UI");
  }
}

TEST(FormLayoutTest, AutoSizeFollowsTheCaptionAndTheFontSizeLevel) {
  testing::FixedTextMeasurer measurer;
  FormModel form("f");
  form.SetTextMeasurer(&measurer);
  FormControl& label = form.Add("lbl", ControlKind::SkinnedLabel, 75, 93, 10, 10);
  label.autoSize = true;
  label.caption = "8.8.8.8";
  FormControl& wrapped = form.Add("cap", ControlKind::SkinnedLabel, 74, 60, 70, 10);
  wrapped.autoSize = true;
  wrapped.wordWrap = true;
  wrapped.caption = "aaaa bbbb cccc";
  FormControl& box = form.Add("Btn_Checkbox", ControlKind::CheckBox, 10, 223, 149, 18);
  box.autoSize = true;
  box.caption = "Remember";
  FormControl& fixed = form.Add("fixed", ControlKind::SkinnedLabel, 0, 0, 50, 19);
  fixed.caption = "a very long caption that stays clipped";

  form.ApplyAutoSize();
  EXPECT_EQ(label.bounds, (Rect{75, 93, 124, 109}));
  EXPECT_EQ(wrapped.bounds, (Rect{74, 60, 144, 92}));  // two lines, width kept
  EXPECT_EQ(box.bounds, (Rect{10, 223, 88, 239}));     // box and gap, then the caption
  EXPECT_EQ(fixed.bounds, (Rect{0, 0, 50, 19}));

  form.SetFontSizeLevel(2);
  form.ApplyAutoSize();
  EXPECT_EQ(label.bounds, (Rect{75, 93, 124, 111}));
}

TEST(FormLayoutTest, ResizeMovesControlsByTheirAnchors) {
  FormModel form("f");
  form.bounds = {100, 100, 530, 350};
  FormControl& background = form.Add("Imagebg", ControlKind::SkinnedImageButton, 0, 0, 430, 250);
  background.anchors = {true, true, true, true};
  FormControl& close = form.Add("BtnClose", ControlKind::SkinnedImageButton, 395, 3, 32, 32);
  close.anchors = {false, true, true, false};
  FormControl& button = form.Add("btnStop", ControlKind::SkinnedImageButton, 261, 184, 154, 34);
  button.anchors = {false, false, true, true};
  FormControl& centred = form.Add("lbl", ControlKind::SkinnedLabel, 100, 60, 230, 20);
  centred.anchors = {false, true, false, false};
  FormControl& onPanel = form.Add("lbl_AutoRun", ControlKind::Label, 5, 5, 50, 20);
  onPanel.parent = "pnl_ItemDetail";
  onPanel.anchors = {false, false, true, true};

  form.Resize({645, 375});
  EXPECT_EQ(form.bounds, (Rect{100, 100, 745, 475}));
  EXPECT_EQ(background.bounds, (Rect{0, 0, 645, 375}));
  EXPECT_EQ(close.bounds, (Rect{610, 3, 642, 35}));
  EXPECT_EQ(button.bounds, (Rect{476, 309, 630, 343}));
  EXPECT_EQ(centred.bounds, (Rect{207, 60, 437, 80}));
  EXPECT_EQ(onPanel.bounds, (Rect{5, 5, 55, 25}));
}

TEST(FormLayoutTest, PanelChildrenLieOnThePanelAndHideWithIt) {
  FormModel form("Bmark_AutoRunNotice");
  FormControl& panel = form.Add("pnl_ItemDetail", ControlKind::Panel, 12, 200, 420, 90);
  FormControl& label = form.Add("lbl_AutoRunPath", ControlKind::Label, 100, 4, 300, 17);
  label.parent = "pnl_ItemDetail";
  EXPECT_EQ(form.FormRect(label), (Rect{112, 204, 412, 221}));
  EXPECT_TRUE(form.Showing(label));
  panel.visible = false;
  EXPECT_FALSE(form.Showing(label));
  panel.parent = "pnl_ItemDetail";  // a panel on itself must not hang the look-up
  EXPECT_FALSE(form.Showing(label));
}

class FormMouseTest : public ::testing::Test {
 protected:
  FormMouseTest() {
    form.SetTextMeasurer(&measurer);
    form.bounds = {0, 0, 430, 250};
    for (const char* name : {"Button_Close", "button_Opt"}) {
      FormControl& button = form.Add(name, ControlKind::SkinnedImageButton, 0, 0, 100, 30);
      button.onClick = [this, name] { events.push_back(std::string(name) + ".click"); };
      button.onMouseEnter = [this, name] { events.push_back(std::string(name) + ".enter"); };
      button.onMouseLeave = [this, name] { events.push_back(std::string(name) + ".leave"); };
    }
  }
  testing::FixedTextMeasurer measurer;
  FormModel form{"Bmark_MainForm"};
  std::vector<std::string> events;
};

TEST_F(FormMouseTest, ButtonStatesFollowTheMouse) {
  FormControl& close = form.Get("Button_Close");
  FormControl& opt = form.Get("button_Opt");
  EXPECT_EQ(form.StateOf(close), ButtonState::Normal);
  form.MouseMove(close, {5, 5});
  EXPECT_EQ(form.StateOf(close), ButtonState::Over);
  form.MouseDown(close, {5, 5});
  EXPECT_EQ(form.StateOf(close), ButtonState::Down);
  form.MouseLeave(close);  // pressed but the mouse went away: drawn normal
  EXPECT_EQ(form.StateOf(close), ButtonState::Normal);
  form.MouseMove(close, {6, 6});
  EXPECT_EQ(form.StateOf(close), ButtonState::Down);
  form.MouseMove(opt, {1, 1});  // leaves the first on its own
  EXPECT_EQ(form.StateOf(close), ButtonState::Normal);
  opt.enabled = false;
  EXPECT_EQ(form.StateOf(opt), ButtonState::Disabled);
  EXPECT_EQ(events, (std::vector<std::string>{"Button_Close.enter", "Button_Close.leave", "Button_Close.enter",
                                              "Button_Close.leave", "button_Opt.enter"}));
}

TEST_F(FormMouseTest, ClickNeedsPressAndReleaseOnTheSameEnabledShownControl) {
  FormControl& close = form.Get("Button_Close");
  FormControl& opt = form.Get("button_Opt");
  struct Case {
    const char* name;
    std::function<void()> act;
    bool clicked;
  };
  const Case cases[] = {
      {"press and release", [&] { form.MouseDown(close, {5, 5}), form.MouseUp(close, {5, 5}); }, true},
      {"released beside", [&] { form.MouseDown(close, {5, 5}), form.MouseUp(close, {100, 5}); }, false},
      {"released below", [&] { form.MouseDown(close, {5, 5}), form.MouseUp(close, {5, 30}); }, false},
      {"pressed elsewhere", [&] { form.MouseDown(opt, {5, 5}), form.MouseUp(close, {5, 5}); }, false},
      {"disabled", [&] { close.enabled = false, form.MouseDown(close, {5, 5}), form.MouseUp(close, {5, 5}); }, false},
      {"hidden", [&] { close.visible = false, form.MouseDown(close, {5, 5}), form.MouseUp(close, {5, 5}); }, false},
      {"dragging", [&] { close.dragsWindow = true, form.MouseDown(close, {5, 5}), form.MouseUp(close, {5, 5}); },
       false},
  };
  for (const Case& test : cases) {
    close.enabled = close.visible = true;
    close.dragsWindow = false;
    events.clear();
    test.act();
    const bool clicked = std::find(events.begin(), events.end(), "Button_Close.click") != events.end();
    EXPECT_EQ(clicked, test.clicked) << test.name;
  }
}

TEST_F(FormMouseTest, CheckBoxTogglesBeforeItsHandlerRuns) {
  FormControl& box = form.Add("Btn_Checkbox", ControlKind::CheckBox, 10, 223, 149, 18);
  std::vector<bool> seen;
  box.onClick = [&] { seen.push_back(box.checked); };
  for (int i = 0; i < 3; ++i) {
    form.MouseDown(box, {3, 3});
    form.MouseUp(box, {3, 3});
  }
  EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));
}

TEST_F(FormMouseTest, HyperlinkClicksAndHandCursorOnlyOnTheLinkPart) {
  FormControl& label = form.Add("lblHt_disRate", ControlKind::HyperlinkLabel, 0, 0, 300, 20);
  label.caption = "Disabled by <a>25%</a> users";  // link from x 84 to 108
  int linkClicks = 0;
  int clicks = 0;
  label.onLinkClick = [&] { ++linkClicks; };
  label.onClick = [&] { ++clicks; };
  struct Case {
    Point at;
    int link;
  };
  for (const Case& test : {Case{{83, 5}, -1}, Case{{84, 5}, 0}, Case{{107, 5}, 0}, Case{{108, 5}, -1}}) {
    form.MouseMove(label, test.at);
    EXPECT_EQ(form.HoveredLink(), test.link) << test.at.x;
    EXPECT_EQ(form.CursorAt(label, test.at), test.link >= 0 ? Cursor::HandPoint : Cursor::Default);
    form.MouseDown(label, test.at);
    form.MouseUp(label, test.at);
  }
  EXPECT_EQ(linkClicks, 2);
  EXPECT_EQ(clicks, 4);

  form.UseProgramCursors();
  EXPECT_EQ(form.CursorAt(label, {90, 5}), Cursor::ProgramHand);
  EXPECT_EQ(form.CursorAt(label, {10, 5}), Cursor::ProgramArrow);
}

TEST(FormCursorTest, ProgramCursorsReplaceOnlyTheDefaultAndHandCursors) {
  FormModel form("f");
  form.Add("a", ControlKind::Label).cursor = Cursor::Default;
  form.Add("b", ControlKind::Label).cursor = Cursor::HandPoint;
  form.Add("c", ControlKind::Label).cursor = Cursor::IBeam;
  form.UseProgramCursors();
  EXPECT_EQ(form.Get("a").cursor, Cursor::ProgramArrow);
  EXPECT_EQ(form.Get("b").cursor, Cursor::ProgramHand);
  EXPECT_EQ(form.Get("c").cursor, Cursor::IBeam);
  EXPECT_THROW(form.Get("d"), std::out_of_range);
}

}  // namespace
}  // namespace bootmark
