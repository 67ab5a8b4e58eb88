#include "app/dns_change_notice.h"

#include <algorithm>
#include <vector>

#include "app/notice_controls.h"
#include "app/suite_main_ini.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"
#include "dns/dns_func.h"
#include "dns/netwarden_settings.h"
#include "platform/shell.h"
#include "ui/language.h"
#include "ui/large_screen.h"
#include "ui/rich_text.h"

namespace bootmark {
namespace {

constexpr int kCheckboxMaxWidth = 200;
constexpr int kLargeScreenButtonShift = 40;
constexpr int kLargeScreenButtonGap = 10;
constexpr int kLargeScreenContentDrop = 70;
constexpr int kCaptionToFirstServer = 12;
constexpr int kServerToServer = 2;
constexpr std::uint32_t kSettingsWaitMs = 1000;

constexpr std::string_view kNetwardenExe = "Netwarden.exe";

// The pieces of `text` between `separator`s, trimmed, empty ones left out.
std::vector<std::string> Servers(std::string_view text, std::string_view separator) {
  std::vector<std::string> servers;
  for (const std::string& piece : SplitText(text, separator)) {
    const std::string_view server = Trim(piece);
    if (!server.empty()) servers.emplace_back(server);
  }
  return servers;
}

}  // namespace

DnsLines SplitDnsForDisplay(std::string_view text) {
  const std::string_view list = Trim(text);
  std::vector<std::string> servers = Servers(list, ",");
  if (servers.size() < 2) servers = Servers(list, " ");
  if (servers.size() < 2) return {std::string(list), {}};
  return {servers[0], servers[1]};
}

TBmark_DNSChangeNotice::TBmark_DNSChangeNotice(const Platform& platform, const SystemInfo* system)
    : platform_(platform), system_(system), form_("Bmark_DNSChangeNotice") {
  SetUpNoticeForm(form_, kDnsNoticeWindowClass, kDnsNoticeWindowTitle);
  BuildControls();
}

void TBmark_DNSChangeNotice::BuildControls() {
  // Added from the back to the front: the background first, the buttons above the
  // title bar's drag area.
  AddNoticeFrame(form_, {430, 250}, "lblKSTTitle", "Tarvo DNS Protector");

  FormControl& cover = form_.Add("Image_cover", ControlKind::Image, 0, 0, 420, 38);
  cover.dragsWindow = true;  // Image_coverMouseDown: the title bar moves the window
  cover.anchors = {true, true, true, false};

  AddSettingsButton(form_, "btnSetting", [this] { btnSettingClick(); });
  AddCloseButton(form_, "BtnClose", [this] { BtnCloseClick(); });

  FormControl& warning = form_.Add("ImageWarning", ControlKind::Image, 25, 55, 34, 34);
  warning.image = "imgname=images/icon_warning_small.png";

  FormControl& caption = form_.Add("lbl_DNSCap", ControlKind::SkinnedLabel, 74, 60, 330, 0);
  caption.caption = "Your DNS may have been maliciously changed to:";
  caption.autoSize = true;
  caption.wordWrap = true;
  caption.textColour = "smallwindow_interface.cl_smallwindow_content_text";

  for (const auto& [name, top] : {std::pair{"lbl_DNSStr1", 93}, std::pair{"lbl_DNSStr2", 112}}) {
    FormControl& server = form_.Add(name, ControlKind::SkinnedLabel, 75, top, 0, 0);
    server.autoSize = true;
    server.font = FontSpec{"Segoe UI", 14, false, false};
    server.textColour = "text_color.cl_orange_a";
  }

  allowNormalColour_ = "public_element.cl_btn_gray_normal";
  allowHoverColour_ = "public_element.cl_btn_gray_over";
  FormControl& allow = form_.Add("Btn_Allow", ControlKind::SkinnedImageButton, 97, 184, 154, 34);
  allow.caption = "Allow";
  allow.image = "btn_gray_34";
  allow.textColour = allowNormalColour_;
  allow.cursor = Cursor::HandPoint;
  allow.anchors = {true, false, false, true};
  allow.onClick = [this] { lbl_AllowClick(); };
  allow.onMouseEnter = [this] { lbl_AllowMouseEnter(); };
  allow.onMouseLeave = [this] { lbl_AllowMouseLeave(); };

  FormControl& stop = form_.Add("btnStop", ControlKind::SkinnedImageButton, 261, 184, 154, 34);
  stop.caption = "Stop";
  stop.image = "btn_blue_34";
  stop.textColour = "public_element.cl_btn_blue_normal";
  stop.textColourOver = "public_element.cl_btn_blue_over";
  stop.textColourDown = "public_element.cl_btn_blue_press";
  stop.cursor = Cursor::HandPoint;
  stop.anchors = {true, false, false, true};
  stop.onClick = [this] { btnStopClick(); };

  FormControl& remember = form_.Add("Btn_Checkbox", ControlKind::CheckBox, 10, 223, 149, 18);
  remember.caption = "Remember my choice";
  remember.autoSize = true;
  remember.textColour = "smallwindow_interface.cl_smallwindow_lefttbot_checkbox";
  remember.cursor = Cursor::HandPoint;
  remember.anchors = {true, false, false, true};
}

void TBmark_DNSChangeNotice::FormCreate() {
  const SuiteMainIni mainIni(platform_);
  form_.SetFontSizeLevel(mainIni.FontSize());

  if (ReadOpenkb(platform_) != 0) return EndProcess();

  if (system_ != nullptr && ScaleFormForLargeScreen(platform_, *system_, form_)) {
    enlarged_ = true;
    ArrangeForLargeScreen();
  }

  SetTexts();
  form_.toolWindow = true;

  currentDNS_ = TDNSFunc::GetCurrentDNS(platform_);
  ShowDnsAddresses(currentDNS_);
  if (Trim(currentDNS_).empty()) return EndProcess();

  if (useProgramCursors) useProgramCursors(form_);

  if (IsRememberedDNS(platform_, kRememberAllowSection, currentDNS_)) return Decide(true);
  if (IsRememberedDNS(platform_, kRememberStopSection, currentDNS_)) return Decide(false);

  const std::string skin = mainIni.Skin();
  form_.skin = skin;
  skinResourceFile_ = skin + ".dll";
}

void TBmark_DNSChangeNotice::SetTexts() {
  TLanguage language(platform_.files, platform_.environment, "SM",
                     ProgramDir(platform_.environment) + "Toolbox_Language");
  language.Select(CurrentLanguageName(platform_.files, platform_.profile, platform_.shell));
  language.Translate(form_);
  form_.Get("btnSetting").hint = language.GetModuleText("M_SettingHint", "Settings");
  form_.Get("BtnClose").hint = language.GetModuleText("M_CloseHint", "Close");
  form_.Get("Btn_Checkbox").caption = language.GetModuleText("M_DNSRemeber", "Remember my choice");
  form_.Get("btnStop").caption = language.GetModuleText("M_DNSStop", "Stop");
  form_.Get("Btn_Allow").caption = language.GetModuleText("M_DNSAllow", "Allow");
  form_.Get("lbl_DNSCap").caption =
      language.GetModuleText("M_DNSChangCap", "Your DNS may have been maliciously changed to:");
}

void TBmark_DNSChangeNotice::CentreHorizontally(FormControl& control) {
  const std::int32_t width = control.bounds.Width();
  control.bounds.left = (form_.ClientSize().width - width) / 2;
  control.bounds.right = control.bounds.left + width;
}

void TBmark_DNSChangeNotice::ArrangeForLargeScreen() {
  for (const char* name : {"lbl_DNSCap", "lbl_DNSStr1", "lbl_DNSStr2", "Btn_Checkbox"}) {
    CentreHorizontally(form_.Get(name));
  }
  FormControl& allow = form_.Get("Btn_Allow");
  allow.bounds.left += kLargeScreenButtonShift;
  allow.bounds.right += kLargeScreenButtonShift;
  FormControl& stop = form_.Get("btnStop");
  const std::int32_t stopWidth = stop.bounds.Width();
  stop.bounds.left = allow.bounds.right + kLargeScreenButtonGap;
  stop.bounds.right = stop.bounds.left + stopWidth;
  for (const char* name : {"ImageWarning", "lbl_DNSCap", "lbl_DNSStr1", "lbl_DNSStr2"}) {
    Rect& bounds = form_.Get(name).bounds;
    bounds.top += kLargeScreenContentDrop;
    bounds.bottom += kLargeScreenContentDrop;
  }
}

void TBmark_DNSChangeNotice::ShowDnsAddresses(std::string_view text) {
  FormControl& first = form_.Get("lbl_DNSStr1");
  FormControl& second = form_.Get("lbl_DNSStr2");
  const DnsLines lines = SplitDnsForDisplay(text);
  first.caption = lines.first;
  second.caption = lines.second;
}

void TBmark_DNSChangeNotice::FormShow() {
  form_.ApplyAutoSize();

  FormControl& remember = form_.Get("Btn_Checkbox");
  if (remember.bounds.Width() > kCheckboxMaxWidth) {
    const FontSpec font = form_.FontOf(remember);
    // The part of the width that is not text: the box and its gap.
    const int glyph = remember.bounds.Width() - form_.Measurer().Measure(font, remember.caption).width;
    remember.hint = remember.caption;
    remember.showHint = true;
    remember.caption = EllipsizeToWidth(form_.Measurer(), font, remember.caption, kCheckboxMaxWidth - glyph);
    remember.bounds.right = remember.bounds.left + kCheckboxMaxWidth;
  }

  const FormControl& caption = form_.Get("lbl_DNSCap");
  FormControl& first = form_.Get("lbl_DNSStr1");
  FormControl& second = form_.Get("lbl_DNSStr2");
  const std::int32_t firstHeight = first.bounds.Height();
  first.bounds.top = caption.bounds.bottom + kCaptionToFirstServer;
  first.bounds.bottom = first.bounds.top + firstHeight;
  const std::int32_t secondHeight = second.bounds.Height();
  second.bounds.top = first.bounds.bottom + kServerToServer;
  second.bounds.bottom = second.bounds.top + secondHeight;

  // The server lines got their widths from their texts only now.
  if (enlarged_) {
    for (const char* name : {"lbl_DNSCap", "lbl_DNSStr1", "lbl_DNSStr2", "Btn_Checkbox"}) {
      CentreHorizontally(form_.Get(name));
    }
  }

  const std::optional<Rect> workArea = platform_.display.MonitorWorkArea(form_.bounds);
  const Size screen = platform_.desktop.PrimaryScreenSize();
  form_.PlaceBottomRight(workArea.value_or(Rect{0, 0, screen.width, screen.height}));
  form_.visible = true;
}

void TBmark_DNSChangeNotice::lbl_AllowClick() {
  if (form_.Get("Btn_Checkbox").checked) RememberDNSChoice(platform_, kRememberAllowSection, currentDNS_);
  Decide(true);
}

void TBmark_DNSChangeNotice::btnStopClick() {
  if (form_.Get("Btn_Checkbox").checked) RememberDNSChoice(platform_, kRememberStopSection, currentDNS_);
  Decide(false);
}

void TBmark_DNSChangeNotice::BtnCloseClick() { EndProcess(); }

void TBmark_DNSChangeNotice::btnSettingClick() {
  const std::string program = ProgramDir(platform_.environment) + std::string(kNetwardenExe);
  if (!platform_.files.FileExists(program)) return;
  platform_.shell.ShellExecute(kNoWindow, "open", program, "/StartDNS", "", show_command::kNormal);
  form_.visible = false;
  if (hideWindow) hideWindow();
  platform_.clock.Sleep(kSettingsWaitMs);
  EndProcess();
}

void TBmark_DNSChangeNotice::lbl_AllowMouseEnter() { form_.Get("Btn_Allow").textColour = allowHoverColour_; }

void TBmark_DNSChangeNotice::lbl_AllowMouseLeave() { form_.Get("Btn_Allow").textColour = allowNormalColour_; }

void TBmark_DNSChangeNotice::Decide(bool allow) {
  TDNSFunc::ApplyDNSDecision(platform_, allow);
  EndProcess();
}

void TBmark_DNSChangeNotice::EndProcess() { platform_.processes.TerminateSelf(0); }

}  // namespace bootmark
