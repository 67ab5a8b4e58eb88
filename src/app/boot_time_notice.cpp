#include "app/boot_time_notice.h"

#include <utility>

#include "app/notice_controls.h"
#include "base/text.h"
#include "boottime/boot_time.h"
#include "common/data_dirs.h"
#include "common/file_version.h"
#include "common/safe_ini_file.h"
#include "suite/suite_launch.h"
#include "ui/language.h"
#include "ui/large_screen.h"

namespace bootmark {
namespace {

constexpr int kLargeDisplayDrop = 50;
constexpr int kLargeDisplayCaptionWidth = 250;
constexpr std::uint32_t kDesktopLookEveryMs = 1000;
constexpr std::uint32_t kDesktopWaitLimitMs = 180000;
constexpr int kProductNameField = 8;
constexpr Size kFindingsSize{450, 340};
constexpr Size kNoFindingsSize{430, 250};
constexpr int kCutlineMargin = 30;

// The foreground windows of the start screen and of full-screen apps.
constexpr std::string_view kImmersiveClasses[] = {"ImmersiveLauncher", "Windows.UI.Core.CoreWindow",
                                                  "ImmersiveSplashScreenWindowClass"};

constexpr const char* kFindingLabels[] = {"lblht_jkCap", "lblht_pyCap", "lblht_regCap"};

// A settings file read without creating it.
class ReadOnlyIni {
 public:
  ReadOnlyIni(IFileSystem& files, const std::string& path) : ini_(files) { ini_.LoadFromFile(path); }
  std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    return ini_.ReadString(section, key, defaultValue);
  }

 private:
  TSafeIniFile ini_;
};

void MoveDown(FormControl& control, int pixels) {
  control.bounds.top += pixels;
  control.bounds.bottom += pixels;
}

}  // namespace

TBmark_MainForm::TBmark_MainForm(const Platform& platform, const SystemInfo* system, BootNoticeServices services)
    : platform_(platform), system_(system), services_(std::move(services)), form_("Bmark_MainForm") {
  SetUpNoticeForm(form_, kBootNoticeWindowClass, kBootNoticeWindowTitle);
  BuildControls();
}

void TBmark_MainForm::BuildControls() {
  const Anchors stretch{true, true, true, true};
  const Anchors bottomRight{false, false, true, true};
  const Anchors bottomLeft{true, false, false, true};
  const std::string contentColour = "smallwindow_interface.cl_smallwindow_content_text";

  FormControl& background = form_.Add("ImageNote_bg", ControlKind::SkinnedImageButton, 0, 0, 430, 250);
  background.image = "imgname=images/smallwindow_bg.png";
  background.stretch = true;
  background.anchors = stretch;
  background.dragsWindow = true;

  FormControl& icon = form_.Add("Image_icon", ControlKind::Image, 0, 74, 142, 100);
  icon.image = "imgname=images/icon_boottime.png";

  FormControl& title = form_.Add("lblKSTTitle", ControlKind::SkinnedLabel, 14, 9, 136, 19);
  title.caption = "Kestrune";
  title.autoSize = true;
  title.keepFontSize = true;
  title.textColour = "smallwindow_interface.cl_smallwindow_name";
  title.dragsWindow = true;

  AddCloseButton(form_, "Button_Close", [this] { Button_CloseClick(); });
  AddSettingsButton(form_, "Button_Setting", [this] { Button_SettingClick(); });

  FormControl& caption = form_.Add("RdLabel_btime", ControlKind::SkinnedLabel, 111, 30, 300, 21);
  caption.caption = "Your system boot time:";
  caption.visible = false;

  // The big digit labels: minutes, "m", seconds, "s"; hidden, placed by the layout.
  for (const char* name : {"RdLabel_btimeMCount", "RdLabel_btimeMFormat", "RdLabel_btimeCount",
                           "RdLabel_btimeSFormat"}) {
    FormControl& digits = form_.Add(name, ControlKind::SkinnedLabel, 123, 60, 30, 40);
    digits.visible = false;
  }

  const auto addLine = [&](const char* name, std::int32_t top, std::int32_t height, bool visible) -> FormControl& {
    FormControl& line = form_.Add(name, ControlKind::HyperlinkLabel, 123, top, 300, height);
    line.textColour = contentColour;
    line.visible = visible;
    return line;
  };
  FormControl& bootLine = addLine("RdHtmLabel_btime", 76, 32, true);
  bootLine.font = FontSpec{"Segoe UI", 16, false, false};
  addLine("RdRichLabel1", 113, 19, false);
  addLine("RdRichLabel2", 101, 32, false);

  FormControl& canScan = form_.Add("lbl_CanScan", ControlKind::SkinnedLabel, 123, 114, 300, 17);
  canScan.caption = "Optimize your PC now for a cleaner and faster PC.";
  canScan.textColour = contentColour;
  canScan.visible = false;

  FormControl& careTitle = form_.Add("lbl_CareTitle", ControlKind::SkinnedLabel, 30, 175, 229, 19);
  careTitle.caption = "Clean the items below for a faster PC:";
  careTitle.autoSize = true;
  careTitle.textColour = contentColour;
  careTitle.visible = false;

  const std::pair<const char*, std::int32_t> findings[] = {
      {"lblht_jkCap", 190}, {"lblht_pyCap", 212}, {"lblht_regCap", 233}};
  for (const auto& [name, top] : findings) {
    FormControl& finding = form_.Add(name, ControlKind::HyperlinkLabel, 30, top, 300, 19);
    finding.textColour = contentColour;
    finding.visible = false;
  }

  FormControl& cutline = form_.Add("img_cutline", ControlKind::Image, 30, 159, 390, 1);
  cutline.image = "imgname=images/cutline.png";
  cutline.stretch = true;
  cutline.visible = false;

  const auto addButton = [&](const char* name, const char* text, bool visible) -> FormControl& {
    FormControl& button = form_.Add(name, ControlKind::SkinnedImageButton, 261, 201, 154, 34);
    button.caption = text;
    button.image = "btn_blue_34";
    button.textColour = "public_element.cl_btn_blue_normal";
    button.textColourOver = "public_element.cl_btn_blue_over";
    button.textColourDown = "public_element.cl_btn_blue_press";
    button.cursor = Cursor::HandPoint;
    button.anchors = bottomRight;
    button.visible = visible;
    return button;
  };
  addButton("button_Opt", "Optimize now", true).onClick = [this] { button_OptClick(); };
  addButton("RdBtn_CareNow", "Clean now", false).onClick = [this] { RdBtn_CareNowClick(); };

  FormControl& checkbox = form_.Add("Btn_Checkbox", ControlKind::CheckBox, 10, 223, 148, 18);
  checkbox.caption = "Don't show this again";
  checkbox.autoSize = true;
  checkbox.textColour = "smallwindow_interface.cl_smallwindow_lefttbot_checkbox";
  checkbox.cursor = Cursor::HandPoint;
  checkbox.anchors = bottomLeft;
  checkbox.onClick = [this] { Btn_CheckboxCheckBoxOnClick(); };

  FormControl& timer = form_.Add("RdTimer_Start", ControlKind::Timer);
  timer.interval = 1000;
  timer.enabled = false;
  timer.onTimer = [this] { RdTimer_StartTimer(); };
}

void TBmark_MainForm::FormCreate() {
  // The inventory refreshes the optimisable count that the notice may offer; a
  // failed gathering leaves the count of the last one.
  if (services_.collectInventory) {
    try {
      services_.collectInventory();
    } catch (...) {
    }
  }

  const std::string mainIniPath = GetSuiteUserDataDir(platform_.shell) + "Main.ini";
  const ReadOnlyIni mainIni(platform_.files, mainIniPath);
  form_.SetFontSizeLevel(FontSizeLevelFrom(StrToIntDef(mainIni.Read("Main", "FontSize", "0"), 0)));

  if (system_ != nullptr && ScaleFormForLargeScreen(platform_, *system_, form_)) ApplyLargeDisplay();

  SetTexts();
  form_.Get("lblKSTTitle").caption = SuiteName();
  form_.toolWindow = true;

  PrepareContent();

  if (services_.useProgramCursors) services_.useProgramCursors(form_);

  form_.skin = mainIni.Read("Main", "Skin", "classic");
  // The highlighted parts take the skin's link colour (the toolkit's hyperlink
  // labels have no colour of their own under the mouse).
  for (FormControl& control : form_.Controls()) {
    if (control.Kind() == ControlKind::HyperlinkLabel) {
      control.linkColour = "main_interface.cl_sidemenu_find_text_normal";
    }
  }
}

void TBmark_MainForm::ApplyLargeDisplay() {
  for (const char* name : {"Image_icon", "RdLabel_btime", "RdLabel_btimeMCount", "RdLabel_btimeMFormat",
                           "RdLabel_btimeCount", "RdLabel_btimeSFormat", "RdRichLabel1", "RdRichLabel2",
                           "lbl_CareTitle"}) {
    MoveDown(form_.Get(name), kLargeDisplayDrop);
  }
  FormControl& caption = form_.Get("RdLabel_btime");
  if (caption.bounds.Width() > kLargeDisplayCaptionWidth) {
    caption.bounds.right = caption.bounds.left + kLargeDisplayCaptionWidth;
  }
  largeDisplay_ = true;
}

void TBmark_MainForm::SetTexts() {
  TLanguage language(platform_.files, platform_.environment, "SM",
                     ProgramDir(platform_.environment) + "Toolbox_Language");
  language.Select(CurrentLanguageName(platform_.files, platform_.profile, platform_.shell));
  language.Translate(form_);
  savedTimePattern_ = language.GetModuleText("M_savedTime", "%s saved with Kestrune.");
  optimizePattern_ = language.GetModuleText("M_saveOpt", "%s items can be optimized.");
  form_.Get("Button_Setting").hint = language.GetModuleText("M_SettingHint", "Settings");
  form_.Get("Button_Close").hint = language.GetModuleText("M_CloseHint", "Close");
  form_.Get("RdBtn_CareNow").caption = language.GetModuleText("M_CleanNow", "Clean now");
  form_.Get("lbl_CareTitle").caption =
      language.GetModuleText("M_CareTitle", "Clean the items below for a faster PC:");
  junkPattern_ = language.GetModuleText("M_jkHint", "<a>%s</a> junk files");
  privacyPattern_ = language.GetModuleText("M_pyHint", "<a>%s</a> privacy traces");
  registryPattern_ = language.GetModuleText("M_regHint", "<a>%s</a> register entries");
}

std::string TBmark_MainForm::SuiteName() const {
  const std::string suiteExe = ProgramDir(platform_.environment) + "KST.exe";
  if (!platform_.files.FileExists(suiteExe)) return "Kestrune";
  const std::string product = GetFileVersionField(platform_.versions, suiteExe, kProductNameField, "Unknown");
  return UpperCaseOrdinal(product).find("KESTRUNE APEX") != std::string::npos ? "Kestrune Apex" : "Kestrune";
}

void TBmark_MainForm::PrepareContent() {
  if (!platform_.files.FileExists(BootTimeDatPath(platform_.shell))) return EndProcess("1111  00");

  const ReadOnlyIni mainIni(platform_.files, GetSuiteUserDataDir(platform_.shell) + "Main.ini");
  displayTime_ = StrToIntDef(mainIni.Read("Notification", "DisplayTime", "10"), 10);
  countdown_ = NoticeCountdown(displayTime_);
  bootTimeText_ = ReadCurrentBootTimeText(platform_);
  canOptCount_ = ReadOnlyIni(platform_.files, GetSuiteUserDataDir(platform_.shell) + "Startup Manager\\config.ini")
                     .Read("main", "canOptCount", "");
  notificationSetting_ = mainIni.Read("Notification", "BootTimeNotification", "1");

  const BootTimeSaving saving = ReadBootTimeSaving(platform_);
  if (saving.faster) {
    std::string minutes;
    std::string seconds;
    SplitMinutesSeconds(saving.milliseconds, minutes, seconds);
    savedTimeText_ = MinutesSecondsText(minutes, seconds);
    if (!savedTimeText_.empty()) savedSecondsText_ = IntToStr(saving.seconds);
  }

  if (notificationSetting_ == "0" || notificationSetting_.empty()) return EndProcess("1111  11");
  if (bootTimeText_.empty()) return EndProcess("1111  222");

  const DateTime now = platform_.clock.Now();
  FollowUpFacts facts;
  facts.daysSinceShare = WholeDaysBetween(now, ReadNoticeDate(platform_, kShareDateTimeKey));
  facts.daysSinceOptimize = WholeDaysBetween(now, ReadNoticeDate(platform_, kOptimizeDateTimeKey));
  facts.daysSinceClean = WholeDaysBetween(now, ReadNoticeDate(platform_, kCleanDateTimeKey));
  facts.savedSecondsText = savedSecondsText_;
  facts.canOptCount = canOptCount_;
  facts.healthDays =
      ReadOnlyIni(platform_.files, GetSuiteLowDataDir(platform_.shell) + "HealthLevel.ini").Read("Display", "days", "0");
  switch (ChooseFollowUp(facts)) {
    case FollowUp::SavedTime:
      ShowSavedTime();
      break;
    case FollowUp::Optimize:
      ShowOptimizable();
      break;
    case FollowUp::Clean:
      ShowCleanFindings();
      break;
    case FollowUp::None:
      SendStatistic("223");
      form_.Get("button_Opt").visible = false;
      break;
  }

  if (!ShowBootLine()) return;
  WriteLastBootTime(platform_, bootTimeText_);
}

void TBmark_MainForm::ShowSavedTime() {
  SendStatistic("215");
  form_.Get("button_Opt").visible = false;
  FormControl& line = form_.Get("RdRichLabel1");
  if (const auto text = ApplyTextPattern(savedTimePattern_, "<a>" + savedTimeText_ + "</a>")) {
    line.caption = *text;
    line.visible = true;
  }
  WriteNoticeDate(platform_, kShareDateTimeKey);
}

void TBmark_MainForm::ShowOptimizable() {
  SendStatistic("217");
  FormControl& line = form_.Get("RdRichLabel2");
  if (const auto text = ApplyTextPattern(optimizePattern_, "<a>" + canOptCount_ + "</a>")) {
    line.caption = *text;
    line.visible = true;
  }
  WriteNoticeDate(platform_, kOptimizeDateTimeKey);
}

bool TBmark_MainForm::ShowFinding(std::string_view label, std::string_view pattern, std::string_view value) {
  FormControl& line = form_.Get(label);
  if (value == "0") return false;
  const auto text = ApplyTextPattern(pattern, value);
  line.visible = text.has_value();
  if (text) line.caption = *text;
  return line.visible;
}

void TBmark_MainForm::ShowCleanFindings() {
  const ReadOnlyIni cache(platform_.files, GetMakerCommonDataDir(platform_.shell) + "KSTCache.dat");
  const std::string junk = cache.Read("jk_scan_size", "Size", "0");
  const std::string junkText =
      junk == "0" ? junk : ByteSizeText(TryParseInteger(junk).value_or(0), platform_.system.DecimalSeparator());
  const bool showsJunk = ShowFinding("lblht_jkCap", junkPattern_, junkText);
  const bool showsPrivacy = ShowFinding("lblht_pyCap", privacyPattern_, cache.Read("py_scan_count", "Count", "0"));
  const bool showsRegistry = ShowFinding("lblht_regCap", registryPattern_, cache.Read("rg_data", "regcount", "0"));

  if (showsJunk || showsPrivacy || showsRegistry) {
    SendStatistic("219");
    FormControl& careTitle = form_.Get("lbl_CareTitle");
    std::int32_t top = careTitle.bounds.bottom + 8;
    for (const char* name : kFindingLabels) {
      FormControl& line = form_.Get(name);
      if (!line.visible) continue;
      const std::int32_t height = line.bounds.Height();
      line.bounds.top = top;
      line.bounds.bottom = top + height;
      top = line.bounds.bottom + 2;
    }
    cleanKinds_ = (showsJunk ? clean_kind::kJunk : 0) | (showsPrivacy ? clean_kind::kPrivacy : 0) |
                  (showsRegistry ? clean_kind::kRegistry : 0);
    form_.Resize(kFindingsSize);
    FormControl& cutline = form_.Get("img_cutline");
    cutline.bounds.left = kCutlineMargin;
    cutline.bounds.right = kCutlineMargin + form_.ClientSize().width - 2 * kCutlineMargin;
    cutline.visible = true;
    careTitle.visible = true;
    WriteNoticeDate(platform_, kCleanTypeKey);
  } else {
    SendStatistic("221");
    form_.Resize(kNoFindingsSize);
    form_.Get("lbl_CanScan").visible = true;
    form_.Get("RdBtn_CareNow").caption = form_.Get("button_Opt").caption;
    cleanKinds_ = 0;
  }
  form_.Get("button_Opt").visible = false;
  form_.Get("RdBtn_CareNow").visible = true;
  WriteNoticeDate(platform_, kCleanDateTimeKey);
}

bool TBmark_MainForm::ShowBootLine() {
  std::string minutes = "0";
  std::string seconds = "0";
  SplitMinutesSeconds(TryParseInteger(bootTimeText_).value_or(0), minutes, seconds);
  const std::string shown = MinutesSecondsText(minutes, seconds);
  if (shown.empty()) {
    EndProcess("Millisecond >= 3600000");
    return false;
  }
  form_.Get("RdHtmLabel_btime").caption = form_.Get("RdLabel_btime").caption + " <a>" + shown + "</a>";
  return true;
}

void TBmark_MainForm::FormShow() {
  WaitForDesktop();

  form_.ApplyAutoSize();
  const std::optional<Rect> workArea = platform_.display.MonitorWorkArea(form_.bounds);
  const Size screen = platform_.desktop.PrimaryScreenSize();
  form_.PlaceBottomRight(workArea.value_or(Rect{0, 0, screen.width, screen.height}));
  ArrangeBootNotice(form_);
  form_.visible = true;

  form_.Get("RdTimer_Start").enabled = true;
}

void TBmark_MainForm::WaitForDesktop() {
  const VersionExInfo version = platform_.system.VersionEx();
  if (version.major < 6 || version.minor < 2) return;
  for (std::uint32_t waited = 0; waited < kDesktopWaitLimitMs; waited += kDesktopLookEveryMs) {
    const std::string foreground = platform_.desktop.ClassName(platform_.desktop.ForegroundWindow());
    bool immersive = false;
    for (std::string_view name : kImmersiveClasses) immersive = immersive || SameText(foreground, name);
    if (!immersive) return;
    platform_.clock.Sleep(kDesktopLookEveryMs);
  }
}

void TBmark_MainForm::RdTimer_StartTimer() {
  if (countdown_.Tick(form_.MouseOverForm())) EndProcess();
}

void TBmark_MainForm::Button_CloseClick() { EndProcess(); }

void TBmark_MainForm::Button_SettingClick() { OpenSuite(platform_, SuiteCommand::StartupNotify()); }

void TBmark_MainForm::button_OptClick() {
  SendStatistic("218");
  OpenSuite(platform_, SuiteCommand::StartupOptimize());
  EndProcess();
}

void TBmark_MainForm::RdBtn_CareNowClick() {
  bool findingShown = false;
  for (const char* name : kFindingLabels) findingShown = findingShown || form_.Get(name).visible;
  SendStatistic(findingShown ? "220" : "222");
  OpenSuite(platform_, SuiteCommand::Clean(cleanKinds_));
  EndProcess();
}

void TBmark_MainForm::Btn_CheckboxCheckBoxOnClick() {
  TSafeIniFile mainIni(platform_.files, GetSuiteUserDataDir(platform_.shell) + "Main.ini");
  mainIni.WriteString("Notification", "BootTimeNotification", form_.Get("Btn_Checkbox").checked ? "0" : "1");
  mainIni.UpdateFile();
}

void TBmark_MainForm::SendStatistic(std::string_view eventId) {
  if (services_.sendStatistic) services_.sendStatistic(eventId);
}

void TBmark_MainForm::EndProcess(std::string_view line) {
  if (!line.empty()) platform_.debug.Write(line);
  platform_.processes.TerminateSelf(0);
}

}  // namespace bootmark
