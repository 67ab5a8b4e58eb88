#include "app/auto_run_notice.h"

#include <algorithm>
#include <cstdio>

#include "alert/disable_rate.h"
#include "alert/item_exe_path.h"
#include "alert/new_item_builder.h"
#include "alert/queued_item.h"
#include "alert/shown_item_records.h"
#include "app/suite_main_ini.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/file_version.h"
#include "common/safe_ini_file.h"
#include "common/system_info.h"
#include "suite/notification_center.h"
#include "suite/suite_launch.h"
#include "ui/rich_text.h"

namespace bootmark {
namespace {

constexpr int kCompanyNameField = 1;
// Below this disable rate the rate line stays hidden.
constexpr double kShownRateMinimum = 20.0;
// The details panel keeps this distance to the icon row and to "Disable Now".
constexpr int kPanelBelowIconRow = 12;
constexpr int kPanelAboveButton = 25;

std::string TwoDecimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string PublisherOf(IVersionResources& versions, const std::string& path) {
  std::string company = GetFileVersionField(versions, path, kCompanyNameField, "");
  return company.empty() ? "Unknown" : company;
}

// The template with its first "%s" replaced by `value`.
std::string FillTemplate(std::string_view pattern, std::string_view value) {
  std::string text(pattern);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

// The item's name as shown: a shortcut without its ".lnk" (any case, wherever it is).
std::string ShownItemName(const NewStartupItem& item) {
  if (item.FNewItemType != item_kind::kStartupShortcut) return item.FNewItemName;
  std::string name = item.FNewItemName;
  constexpr std::string_view kLink = ".lnk";
  for (std::size_t at = 0; at + kLink.size() <= name.size();) {
    if (SameText(std::string_view(name).substr(at, kLink.size()), kLink)) {
      name.erase(at, kLink.size());
    } else {
      ++at;
    }
  }
  return name;
}

}  // namespace

TBmark_AutoRunNotice::TBmark_AutoRunNotice(const Platform& platform, ProcessState& state,
                                           StatisticSender sendStatistic)
    : platform_(platform), state_(state), sendStatistic_(std::move(sendStatistic)), form_("Bmark_AutoRunNotice") {
  BuildControls();
}

void TBmark_AutoRunNotice::FormCreate() {
  const SuiteMainIni mainIni(platform_);
  const int level = FontSizeLevelFrom(mainIni.FontSize());
  form_.SetFontSizeLevel(level);
  FormControl& title = form_.Get("RdLabel_Title");
  title.font = FontSpec{"Segoe UI", 12 + level, false, false};
  if (level != 0) {
    FormControl& location = form_.Get("lbl_ItemDescribe");
    location.bounds.right = location.bounds.left + std::min(kAlertLocationMaxWidth,
                                                            form_.ClientSize().width - location.bounds.left - 8);
  }
  checkboxOffset_ = level == 0 ? 0 : 1;
  Rect& checkbox = form_.Get("Btn_CheckboxIgnore").bounds;
  checkbox.top += checkboxOffset_;
  checkbox.bottom += checkboxOffset_;

  SetTexts();
  form_.toolWindow = true;
  if (useProgramCursors) useProgramCursors(form_);

  ticks_ = 0;
  displayTime_ = mainIni.DisplayTime();
  logPath_ = AlertLogPath(platform_.shell);
  const std::string skin = mainIni.Skin();
  form_.skin = skin;
  skinResourceFile_ = skin + ".dll";
}

void TBmark_AutoRunNotice::FormShow() {
  form_.Get("pnl_ItemDetail").visible = false;
  LoadNextItem();

  // A task's program text may come quoted; the screening and the ignore key use it
  // without the quotes.
  if (item_.FNewItemType == item_kind::kScheduledTask) std::erase(item_.FNewItemExePath, '"');
  exePath_ = GetItemExePath(CheckPath(), item_.FNewItemExePath);
  if (exePath_.empty() || !platform_.files.FileExists(exePath_)) return EndProcess();

  FnewItemDisratestr_ = ReadDisableItemInfo().rate;
  platform_.debug.Write("TBmark_AutoRunNotic.FormShow:FnewItemDisratestr:" + FnewItemDisratestr_);
  FNewItemDisRate_ = DisableRateValue(FnewItemDisratestr_);
  platform_.debug.Write("TBmark_AutoRunNotic.FormShow:FNewItemDisRate:" + TwoDecimals(FNewItemDisRate_));

  exePublisher_ = PublisherOf(platform_.versions, exePath_);
  operatePublisher_ = PublisherOf(platform_.versions, item_.FNewItemOperateName);

  FormControl& icon = form_.Get("ImageExeIco");
  icon.shellIconOf = exePath_;
  icon.image = form_.Get("defaultSmallIco").image;  // drawn when the program has no icon
  form_.Get("ImageOperateExeIco").shellIconOf = item_.FNewItemOperateName;

  ShowItemTexts();

  FormControl& rate = form_.Get("lblHt_disRate");
  rate.visible = FNewItemDisRate_ >= kShownRateMinimum;
  if (rate.visible) rate.caption = FillTemplate(disRateTemplate_, FnewItemDisratestr_);
  platform_.debug.Write("TBmark_AutoRunNotic.FormShow:2 FNewItemDisRate:" + TwoDecimals(FNewItemDisRate_));

  // Each item gets its own ignore choice.
  form_.Get("Btn_CheckboxIgnore").checked = false;
  form_.Resize(kAlertClosedSize);
  detailsShown_ = false;
  LayOutRows();

  WriteItemRecords();
  sendStatistic_(rate.visible ? "224" : "225");

  PlaceInWorkArea();
  form_.visible = true;
  ticks_ = 0;
  form_.Get("RdTimer_Start").enabled = true;
}

void TBmark_AutoRunNotice::LoadNextItem() {
  item_ = NewStartupItem{};
  // The antivirus-list mode has no queue and so no item.
  if (!state_.alertQueue) return;
  const std::optional<std::string> queued = state_.alertQueue->TakeHead();
  const ProgramArguments arguments = queued ? QueuedItemArguments(*queued) : state_.arguments;
  item_ = BuildNewStartupItem(platform_, Tasks(), arguments);
}

StoredDisableRate TBmark_AutoRunNotice::ReadDisableItemInfo() {
  StoredDisableRate stored;
  if (!IsDisableRateRequestOn(platform_.files, platform_.environment)) return stored;

  const std::string section = MakeIgnoreKey(item_.FNewItemName, exePath_, item_.FNewItemType);
  TSafeIniFile info(platform_.files);
  info.LoadFromFile(GetSuiteCommonDataDir(platform_.shell) + std::string(kDisableItemInfoName));
  stored.rate = info.ReadString(section, "DisableRate", "0");
  stored.recommendation = info.ReadInteger(section, "Recommand", kRecommendUnknown);

  switch (stored.recommendation) {
    case 2:
    case kRecommendKeep:
      sendStatistic_("231");
      break;
    case 0:
      sendStatistic_("232");
      break;
    case 1:
    case kRecommendUnknown:
      sendStatistic_("233");
      break;
    default:
      break;
  }
  return stored;
}

void TBmark_AutoRunNotice::ShowItemTexts() {
  const bool hasCreator = !item_.FNewItemOperateName.empty();
  for (const char* name : {"lbl_OpeatePath", "lbl_OpeatePathValue", "lbl_OpeatePublisher",
                           "lbl_OpeatePublisherName", "ImageOperateExeIco"}) {
    form_.Get(name).visible = hasCreator;
  }

  form_.Get("lbl_NewItem").caption = ShownItemName(item_);
  FormControl& location = form_.Get("lbl_ItemDescribe");
  switch (item_.FNewItemType) {
    case item_kind::kRegistryValue:
      // A long key breaks where it no longer fits instead of at its first blank.
      location.caption = BreakAtWidth(form_.Measurer(), form_.FontOf(location), item_.FNewItemRegPath,
                                      kAlertTextWidth);
      break;
    case item_kind::kService:
      location.caption = item_.FNewItemSrcDisplayName;
      break;
    case item_kind::kScheduledTask:
      location.caption = item_.FNewItemName;
      break;
    case item_kind::kStartupShortcut:
      location.caption = item_.FNewItemLinkPath;
      break;
    default:
      location.caption.clear();
      break;
  }
  form_.Get("lbl_AutoRunPath").caption = exePath_;
  form_.Get("lbl_PublisherName").caption = exePublisher_;
  form_.Get("lbl_OpeatePublisherName").caption = operatePublisher_;
  form_.Get("lbl_OpeatePathValue").caption = item_.FNewItemOperateName;
}

void TBmark_AutoRunNotice::WriteItemRecords() {
  platform_.debug.Write("FNewItemType : " + IntToStr(item_.FNewItemType));
  platform_.debug.Write("FNewItemName : " + item_.FNewItemName);
  platform_.debug.Write("FNewItemExePath : " + item_.FNewItemExePath);
  LogShownItem(platform_, item_, logPath_);
  if (item_.FNewItemType == item_kind::kRegistryValue || item_.FNewItemType == item_kind::kStartupShortcut) {
    platform_.debug.Write("FNewItemOperateName : " + item_.FNewItemOperateName);
    platform_.debug.Write("FNewItemOperatePID : " + item_.FNewItemOperatePID);
  }
}

void TBmark_AutoRunNotice::ReceiveForwardedItem(const std::string& text) {
  if (state_.alertQueue) state_.alertQueue->Append(text);
}

void TBmark_AutoRunNotice::RdTimer_StartTimer() {
  // The countdown pauses while the pointer rests on the alert.
  if (form_.MouseOverForm()) return;
  ++ticks_;
  if (ticks_ != displayTime_) return;
  SendToNotificationCenter();
  form_.Get("RdTimer_Start").enabled = false;
  CloseItem();
}

void TBmark_AutoRunNotice::SendToNotificationCenter() { PostNCMessage(platform_, NewItemNCMessage(item_)); }

void TBmark_AutoRunNotice::CloseItem() {
  StoreIgnoreChoice(platform_, CheckPath(), item_, form_.Get("Btn_CheckboxIgnore").checked);
  if (!state_.alertQueue || state_.alertQueue->Empty()) return EndProcess();
  // Hidden for a moment, so that the next item is seen to be another one; the
  // message loop runs on meanwhile and keeps taking forwarded items.
  form_.Get("RdTimer_Start").enabled = false;
  form_.visible = false;
  form_.Get("RdTimer_Next").enabled = true;
}

void TBmark_AutoRunNotice::ShowNextAfterPause() {
  form_.Get("RdTimer_Next").enabled = false;
  FormShow();
}

void TBmark_AutoRunNotice::Button_CloseClick() { CloseItem(); }

void TBmark_AutoRunNotice::Button_SettingClick() { OpenSuite(platform_, SuiteCommand::StartupNotify()); }

void TBmark_AutoRunNotice::lbl_ManageClick() {
  HandOverToSuite(platform_, sendStatistic_, item_);
  CloseItem();
}

void TBmark_AutoRunNotice::lbl_DetailClick() {
  if (!detailsShown_) {
    sendStatistic_("226");
    detailsShown_ = true;
  }
  form_.Resize(kAlertOpenSize);
  form_.ApplyAutoSize();
  FormControl& panel = form_.Get("pnl_ItemDetail");
  const Rect iconRow = form_.FormRect(form_.Get("ImageExeIco"));
  const Rect location = form_.FormRect(form_.Get("lbl_ItemDescribe"));
  const std::int32_t height = panel.bounds.Height();
  panel.bounds.top = std::max(iconRow.bottom, location.bottom) + kPanelBelowIconRow;
  panel.bounds.bottom = panel.bounds.top + height;
  panel.visible = true;

  const std::int32_t buttonTop = form_.Get("Btn_CleanNow").bounds.top;
  const std::int32_t reach = panel.bounds.bottom + kPanelAboveButton;
  if (reach > buttonTop) form_.Resize({kAlertOpenSize.width, kAlertOpenSize.height + reach - buttonTop});

  const Rect area = WorkArea();
  if (form_.bounds.bottom > area.bottom) {
    const std::int32_t up = form_.bounds.bottom - area.bottom;
    form_.bounds.top -= up;
    form_.bounds.bottom -= up;
  }
}

void TBmark_AutoRunNotice::lbl_AutoRunPathClick() { OpenFolderAndSelect(platform_, exePath_); }

void TBmark_AutoRunNotice::lbl_OpeatePathValueClick() {
  OpenFolderAndSelect(platform_, item_.FNewItemOperateName);
}

Rect TBmark_AutoRunNotice::WorkArea() {
  // The primary screen's work area: the monitor that holds the screen's origin.
  const Size screen = platform_.desktop.PrimaryScreenSize();
  return platform_.display.MonitorWorkArea(Rect{0, 0, 1, 1}).value_or(Rect{0, 0, screen.width, screen.height});
}

// The alert is made stay-on-top, and each item is then shown at the bottom right in
// the ordinary z-order (not top-most), so it does not cover a window the user brings
// forward while it counts down.
void TBmark_AutoRunNotice::PlaceInWorkArea() {
  form_.PlaceBottomRight(WorkArea());
  form_.stayOnTop = false;
}

TCheckPath& TBmark_AutoRunNotice::CheckPath() {
  if (!state_.checkPath) state_.checkPath = std::make_unique<TCheckPath>(platform_);
  return *state_.checkPath;
}

TaskReader& TBmark_AutoRunNotice::Tasks() {
  if (!state_.tasks) state_.tasks = std::make_unique<TaskReader>(platform_, state_.logs.get());
  return *state_.tasks;
}

void TBmark_AutoRunNotice::EndProcess() { platform_.processes.TerminateSelf(0); }

}  // namespace bootmark
