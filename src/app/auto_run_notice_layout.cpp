// The alert's controls as designed, their texts, and the rows laid out for the
// item and the font size.
#include <algorithm>

#include "alert/alert_window_names.h"
#include "app/auto_run_notice.h"
#include "app/notice_controls.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/file_version.h"
#include "suite/suite_launch.h"
#include "ui/language.h"

namespace bootmark {
namespace {

constexpr int kProductNameField = 8;
constexpr const char* kContentColour = "smallwindow_interface.cl_smallwindow_content_text";
constexpr const char* kLinkColour = "text_color.cl_orange_a";
// Row gaps of the item area.
constexpr int kTextGap = 4;
constexpr int kIconRowGap = 10;
constexpr int kNameToLocation = 2;
constexpr int kDetailRowGap = 4;
constexpr int kDetailValueLeft = 130;

FormControl& AddLabel(FormModel& form, std::string name, std::int32_t left, std::int32_t top, std::int32_t width) {
  FormControl& label = form.Add(std::move(name), ControlKind::SkinnedLabel, left, top, width, 0);
  label.autoSize = true;
  label.wordWrap = width > 0;
  label.textColour = kContentColour;
  return label;
}

// Moves a control to `top`, keeping its height.
void MoveTo(FormControl& control, std::int32_t top) {
  const std::int32_t height = control.bounds.Height();
  control.bounds.top = top;
  control.bounds.bottom = top + height;
}

// "Kestrune", or "Kestrune Apex" when the suite's program says it is that product.
std::string SuiteProductName(const Platform& platform) {
  const std::string program = ProgramDir(platform.environment) + std::string(kSuiteExe);
  if (!platform.files.FileExists(program)) return "Kestrune";
  const std::string product = GetFileVersionField(platform.versions, program, kProductNameField, "Unknown");
  return UpperCaseOrdinal(product).find("KESTRUNE APEX") != std::string::npos ? "Kestrune Apex" : "Kestrune";
}

}  // namespace

void TBmark_AutoRunNotice::BuildControls() {
  form_.windowClass = std::string(kAlertWindowClass);
  form_.title = std::string(kAlertWindowTitle);
  form_.bounds = {0, 0, kAlertOpenSize.width, kAlertOpenSize.height};
  form_.colour = 2367001;
  form_.font = FontSpec{};
  form_.stayOnTop = true;
  form_.hintMaxWidth = kAlertTextWidth;

  // Added from the back to the front: the background first, the buttons above the
  // title bar's drag area.
  // ImageTitleMouseDown: the title bar moves the window.
  AddNoticeFrame(form_, {450, 340}, "RdLabel_Title", "Kestrune").dragsWindow = true;

  FormControl& settings = form_.Add("Button_Setting", ControlKind::SkinnedImageButton, 394, 12, 16, 16);
  settings.image = "btn_smallSetting";
  settings.showHint = true;
  settings.cursor = Cursor::HandPoint;
  settings.onClick = [this] { Button_SettingClick(); };

  FormControl& close = form_.Add("Button_Close", ControlKind::SkinnedImageButton, 415, 3, 32, 32);
  close.image = "btn_close_b";
  close.showHint = true;
  close.cursor = Cursor::HandPoint;
  close.onClick = [this] { Button_CloseClick(); };

  form_.Add("Image_Warining", ControlKind::Image, 20, 50, 34, 34).image = "imgname=images/icon_warning_small.png";

  FormControl& heading = AddLabel(form_, "lbl_Titel", 70, 48, 360);
  heading.font = FontSpec{"Segoe UI", 14, true, false};
  heading.textColour = "smallwindow_interface.cl_smallwindow_title";
  AddLabel(form_, "lbl_describe", 70, 72, 360);
  FormControl& rate = form_.Add("lblHt_disRate", ControlKind::HyperlinkLabel, 70, 94, 360, 0);
  rate.autoSize = true;
  rate.wordWrap = true;
  rate.textColour = kContentColour;
  rate.linkColour = kLinkColour;

  FormControl& fallbackIcon = form_.Add("defaultSmallIco", ControlKind::Image, 20, 120, 32, 32);
  fallbackIcon.image = "imgname=images/icon_default_small.png";
  fallbackIcon.visible = false;
  form_.Add("ImageExeIco", ControlKind::Image, 20, 120, 32, 32).stretch = true;

  FormControl& name = AddLabel(form_, "lbl_NewItem", 62, 120, 0);
  name.font = FontSpec{"Segoe UI", 12, true, false};
  FormControl& details = AddLabel(form_, "lbl_Detail", 392, 120, 0);
  details.cursor = Cursor::HandPoint;
  details.textColour = kLinkColour;
  details.onClick = [this] { lbl_DetailClick(); };
  AddLabel(form_, "lbl_ItemDescribe", 62, 140, kAlertTextWidth);

  BuildDetailPanel();

  FormControl& disable = form_.Add("Btn_CleanNow", ControlKind::SkinnedImageButton, 296, 294, 134, 34);
  disable.image = "btn_blue_34";
  disable.textColour = "public_element.cl_btn_blue_normal";
  disable.textColourOver = "public_element.cl_btn_blue_over";
  disable.textColourDown = "public_element.cl_btn_blue_press";
  disable.cursor = Cursor::HandPoint;
  disable.anchors = {true, false, false, true};
  disable.onClick = [this] { lbl_ManageClick(); };

  FormControl& ignore = form_.Add("Btn_CheckboxIgnore", ControlKind::CheckBox, 20, 302, 0, 18);
  ignore.autoSize = true;
  ignore.textColour = "smallwindow_interface.cl_smallwindow_lefttbot_checkbox";
  ignore.cursor = Cursor::HandPoint;
  ignore.anchors = {true, false, false, true};

  FormControl& countdown = form_.Add("RdTimer_Start", ControlKind::Timer);
  countdown.interval = 1000;
  countdown.enabled = false;
  countdown.onTimer = [this] { RdTimer_StartTimer(); };
  // The hidden pause before the next queued item.
  FormControl& pause = form_.Add("RdTimer_Next", ControlKind::Timer);
  pause.interval = kAlertNextItemPauseMs;
  pause.enabled = false;
  pause.onTimer = [this] { ShowNextAfterPause(); };
}

void TBmark_AutoRunNotice::BuildDetailPanel() {
  FormControl& panel = form_.Add("pnl_ItemDetail", ControlKind::Panel, 20, 180, 410, 0);
  panel.visible = false;
  const auto add = [this](std::string name, std::int32_t left, std::int32_t width) -> FormControl& {
    FormControl& label = AddLabel(form_, std::move(name), left, 0, width);
    label.parent = "pnl_ItemDetail";
    return label;
  };
  const std::int32_t valueWidth = 410 - kDetailValueLeft;
  add("lbl_AutoRun", 0, 0);
  FormControl& path = add("lbl_AutoRunPath", kDetailValueLeft, valueWidth);
  path.cursor = Cursor::HandPoint;
  path.onClick = [this] { lbl_AutoRunPathClick(); };
  add("lbl_Publisher", 0, 0);
  add("lbl_PublisherName", kDetailValueLeft, valueWidth);
  add("lbl_OpeatePath", 0, 0);
  FormControl& creator = add("lbl_OpeatePathValue", kDetailValueLeft + 20, valueWidth - 20);
  creator.cursor = Cursor::HandPoint;
  creator.onClick = [this] { lbl_OpeatePathValueClick(); };
  FormControl& creatorIcon = form_.Add("ImageOperateExeIco", ControlKind::Image, kDetailValueLeft, 0, 16, 16);
  creatorIcon.parent = "pnl_ItemDetail";
  creatorIcon.stretch = true;
  add("lbl_OpeatePublisher", 0, 0);
  add("lbl_OpeatePublisherName", kDetailValueLeft, valueWidth);
}

void TBmark_AutoRunNotice::SetTexts() {
  TLanguage language(platform_.files, platform_.environment, "SM",
                     ProgramDir(platform_.environment) + "Toolbox_Language");
  language.Select(CurrentLanguageName(platform_.files, platform_.profile, platform_.shell));
  language.Translate(form_);
  const auto text = [&language](std::string_view key, std::string_view english) {
    return language.GetModuleText(key, english);
  };
  form_.Get("Button_Setting").hint = text("M_SettingHint", "Settings");
  form_.Get("Button_Close").hint = text("M_CloseHint", "Close");
  form_.Get("lbl_Titel").caption = text("M_AutoRunTitle", "A new startup item detected");
  form_.Get("lbl_describe").caption = text("M_AutoRunItemDes", "It can be disabled to save your PC's boot time.");
  disRateTemplate_ = text("M_AutoRunDisRate", "Disabled by <a>%s</a> users");
  form_.Get("lbl_Detail").caption = text("M_AutoRunDetail", "Details");
  form_.Get("lbl_NewItem").caption = text("M_AutoRunItemAddNew", "Startup Item:");
  form_.Get("Btn_CleanNow").caption = text("M_AutoRunDisable", "Disable Now");
  form_.Get("lbl_AutoRun").caption = text("M_AutoRunPath", "Auto Run Program:");
  const std::string publisher = text("M_AutoRunPublisher", "Publisher:");
  form_.Get("lbl_Publisher").caption = publisher;
  form_.Get("lbl_OpeatePublisher").caption = publisher;
  form_.Get("lbl_OpeatePath").caption = text("M_AutoRunCreated", "Created by:");
  form_.Get("Btn_CheckboxIgnore").caption = text("M_IgnoreItem", "Ignore this startup item");
  form_.Get("RdLabel_Title").caption = SuiteProductName(platform_);
}

void TBmark_AutoRunNotice::LayOutRows() {
  form_.ApplyAutoSize();
  const FormControl& heading = form_.Get("lbl_Titel");
  FormControl& describe = form_.Get("lbl_describe");
  MoveTo(describe, heading.bounds.bottom + kTextGap);
  FormControl& rate = form_.Get("lblHt_disRate");
  MoveTo(rate, describe.bounds.bottom + kTextGap);
  // A hidden rate line gives its room to the rows below it.
  const std::int32_t iconRow = (rate.visible ? rate.bounds.bottom : describe.bounds.bottom) + kIconRowGap;
  for (const char* name : {"defaultSmallIco", "ImageExeIco", "lbl_NewItem", "lbl_Detail"}) {
    MoveTo(form_.Get(name), iconRow);
  }
  MoveTo(form_.Get("lbl_ItemDescribe"), form_.Get("lbl_NewItem").bounds.bottom + kNameToLocation);

  // The details panel: one row per pair, the creator's rows only when shown.
  std::int32_t top = 0;
  for (const auto& [caption, value] : {std::pair{"lbl_AutoRun", "lbl_AutoRunPath"},
                                       std::pair{"lbl_Publisher", "lbl_PublisherName"},
                                       std::pair{"lbl_OpeatePath", "lbl_OpeatePathValue"},
                                       std::pair{"lbl_OpeatePublisher", "lbl_OpeatePublisherName"}}) {
    FormControl& left = form_.Get(caption);
    FormControl& right = form_.Get(value);
    if (!right.visible) continue;
    MoveTo(left, top);
    MoveTo(right, top);
    top = std::max(left.bounds.bottom, right.bounds.bottom) + kDetailRowGap;
  }
  MoveTo(form_.Get("ImageOperateExeIco"), form_.Get("lbl_OpeatePathValue").bounds.top);
  FormControl& panel = form_.Get("pnl_ItemDetail");
  panel.bounds.bottom = panel.bounds.top + top;
}

}  // namespace bootmark
