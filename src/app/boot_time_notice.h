#pragma once
// TBmark_MainForm: the boot time notice, shown once after Windows has started in
// the bottom-right corner of the work area. It shows how long the boot took and
// one follow-up: the time saved since the boot before, the number of startup
// items that can be optimised, or the findings of the suite's last scan, each
// with a button to the matching page of the suite. It closes after its display
// time in seconds not spent under the mouse pointer; every way out ends the
// process (exit code 0), and so do the four silent ends of its preparation.
//
// The form logic is portable and drives the form model; the Win32 side renders
// it, loads the program's cursors and runs the inventory before creation.
#include <functional>
#include <string>
#include <string_view>

#include "app/boot_notice_rules.h"
#include "common/system_info.h"
#include "platform/platform.h"
#include "ui/form_model.h"

namespace bootmark {

inline constexpr std::string_view kBootNoticeWindowClass = "TBmark_MainForm";
inline constexpr std::string_view kBootNoticeWindowTitle = "Bmark_MainForm";

// What the notice needs from the rest of the program.
struct BootNoticeServices {
  // Gathers the startup inventory once (it refreshes "canOptCount"); may throw.
  std::function<void()> collectInventory;
  // Sends one usage statistics event.
  std::function<void(std::string_view eventId)> sendStatistic;
  // Loads the program's own cursors into the form; true when they loaded.
  std::function<bool(FormModel&)> useProgramCursors;
};

class TBmark_MainForm {
 public:
  // `system` may be null (no large-display layout then).
  TBmark_MainForm(const Platform& platform, const SystemInfo* system, BootNoticeServices services);

  TBmark_MainForm(const TBmark_MainForm&) = delete;
  TBmark_MainForm& operator=(const TBmark_MainForm&) = delete;

  FormModel& Form() { return form_; }
  // The summed clean kinds the clean button hands to the suite.
  int CleanKinds() const { return cleanKinds_; }
  bool LargeDisplay() const { return largeDisplay_; }

  // Creation with the content preparation; ends the process when there is nothing
  // to show.
  void FormCreate();
  // Waits while a start screen or full-screen app is in front, places the notice
  // and its lines, and starts the countdown.
  void FormShow();

  // The handlers of the notice's controls.
  void RdTimer_StartTimer();
  void Button_CloseClick();
  void Button_SettingClick();
  void button_OptClick();
  void RdBtn_CareNowClick();
  void Btn_CheckboxCheckBoxOnClick();

 private:
  void BuildControls();
  void ApplyLargeDisplay();
  void SetTexts();
  std::string SuiteName() const;
  void PrepareContent();
  void ShowSavedTime();
  void ShowOptimizable();
  void ShowCleanFindings();
  bool ShowFinding(std::string_view label, std::string_view pattern, std::string_view value);
  // False when the boot time cannot be shown (the process has been ended).
  bool ShowBootLine();
  void WaitForDesktop();
  void SendStatistic(std::string_view eventId);
  // Ends the process at once, writing `line` to the debug output first when given.
  void EndProcess(std::string_view line = {});

  const Platform& platform_;
  const SystemInfo* system_;
  BootNoticeServices services_;
  FormModel form_;
  NoticeCountdown countdown_{10};

  int displayTime_ = 10;
  std::string bootTimeText_;
  std::string savedSecondsText_;
  std::string savedTimeText_;
  std::string canOptCount_;
  std::string notificationSetting_;
  int cleanKinds_ = 0;
  std::string savedTimePattern_;
  std::string optimizePattern_;
  std::string junkPattern_;
  std::string privacyPattern_;
  std::string registryPattern_;
  bool largeDisplay_ = false;
};

}  // namespace bootmark
