#pragma once
// TBmark_AutoRunNotice: the alert on a new startup item, in the bottom-right
// corner of the work area. It shows the item's name and location, the program it
// starts with its publisher, the program that created it and how many users
// disable it; it offers "Disable Now" (the hand-over to the suite), "Ignore this
// startup item", "Details", the notification settings and a close button.
//
// The window of the first /AddAutoRun start owns the alert queue: later starts
// forward their items to it (WM_COPYDATA) and it shows them one after another,
// each after the previous one was closed or timed out. After its display time
// without the mouse pointer over it, an item goes to the suite's notification
// center. When no item is left the process ends (exit code 0).
//
// The form logic is portable and drives the form model; the Win32 side renders
// it and loads the program's cursors.
#include <functional>
#include <string>
#include <string_view>

#include "alert/item_actions.h"
#include "alert/new_item.h"
#include "app/process_state.h"
#include "platform/platform.h"
#include "ui/form_model.h"

namespace bootmark {

// The sizes of the alert with its details closed and open.
inline constexpr Size kAlertClosedSize{450, 290};
inline constexpr Size kAlertOpenSize{450, 340};
// Hints and the registry location break at this width.
inline constexpr int kAlertTextWidth = 350;
// The location label at a larger font size is at most this wide.
inline constexpr int kAlertLocationMaxWidth = 400;
// The hidden pause between one item and the next.
inline constexpr int kAlertNextItemPauseMs = 1000;

// The disable rate stored for an item by the disable-rate decision.
struct StoredDisableRate {
  std::string rate = "0";
  int recommendation = -1;
};

class TBmark_AutoRunNotice {
 public:
  TBmark_AutoRunNotice(const Platform& platform, ProcessState& state, StatisticSender sendStatistic);

  TBmark_AutoRunNotice(const TBmark_AutoRunNotice&) = delete;
  TBmark_AutoRunNotice& operator=(const TBmark_AutoRunNotice&) = delete;

  FormModel& Form() { return form_; }
  const NewStartupItem& Item() const { return item_; }
  const std::string& ResolvedExePath() const { return exePath_; }
  int DisplayTime() const { return displayTime_; }
  int Ticks() const { return ticks_; }
  bool DetailsShown() const { return detailsShown_; }
  // The skin resource file: the skin of "Main.ini" + ".dll".
  const std::string& SkinResourceFile() const { return skinResourceFile_; }

  // Loads the program's own cursors into the form; true when they loaded. Set by
  // the renderer.
  std::function<bool(FormModel&)> useProgramCursors;

  // Creation: font and layout, texts, cursors, settings.
  void FormCreate();
  // Shows the next item (from the queue, else from the command line); ends the
  // process when its program does not exist.
  void FormShow();

  // The handlers of the window's controls and its timer.
  void Button_CloseClick();
  void Button_SettingClick();
  void lbl_ManageClick();
  void lbl_DetailClick();
  void lbl_AutoRunPathClick();
  void lbl_OpeatePathValueClick();
  void RdTimer_StartTimer();
  // A forwarded item (WM_COPYDATA): queued while the queue exists.
  void ReceiveForwardedItem(const std::string& text);

 private:
  void BuildControls();
  void BuildDetailPanel();
  void SetTexts();
  void LoadNextItem();
  StoredDisableRate ReadDisableItemInfo();
  void ShowItemTexts();
  void LayOutRows();
  void WriteItemRecords();
  void SendToNotificationCenter();
  void CloseItem();
  void ShowNextAfterPause();
  void PlaceInWorkArea();
  Rect WorkArea();
  TCheckPath& CheckPath();
  TaskReader& Tasks();
  void EndProcess();

  const Platform& platform_;
  ProcessState& state_;
  StatisticSender sendStatistic_;
  FormModel form_;

  NewStartupItem item_;
  std::string exePath_;
  std::string exePublisher_;
  std::string operatePublisher_;
  std::string logPath_;
  std::string FnewItemDisratestr_;
  double FNewItemDisRate_ = 0.0;
  std::string disRateTemplate_;
  bool detailsShown_ = false;
  int displayTime_ = 10;
  int ticks_ = 0;
  int checkboxOffset_ = 0;
  std::string skinResourceFile_ = "classic.rcc";
};

}  // namespace bootmark
