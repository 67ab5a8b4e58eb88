#pragma once
// TBmark_DNSChangeNotice: the notice of a changed DNS, in the bottom-right corner
// of the work area. It shows the first two servers of the list in force and lets
// the user allow the change or stop it, optionally remembering the choice for
// this list. Every way out ends the process (exit code 0): after "Allow", "Stop",
// the close button and the settings button, and at creation when the notice is
// suppressed, no DNS is in force or a remembered choice applies.
//
// The form logic is portable and drives the form model; the Win32 side renders
// it, loads the program's cursors and hides the window on request.
#include <functional>
#include <string>
#include <string_view>

#include "common/system_info.h"
#include "platform/platform.h"
#include "ui/form_model.h"

namespace bootmark {

inline constexpr std::string_view kDnsNoticeWindowClass = "TBmark_DNSChangeNotice";
inline constexpr std::string_view kDnsNoticeWindowTitle = "DNSChangeNotice";

// The two DNS lines of the notice: the list is split at "," or, failing two
// servers that way, at blanks; servers after the second are not shown. Without
// two servers the whole trimmed list is the first line.
struct DnsLines {
  std::string first;
  std::string second;
  friend bool operator==(const DnsLines&, const DnsLines&) = default;
};
DnsLines SplitDnsForDisplay(std::string_view text);

class TBmark_DNSChangeNotice {
 public:
  // `system` may be null (no large-screen layout then).
  TBmark_DNSChangeNotice(const Platform& platform, const SystemInfo* system);

  TBmark_DNSChangeNotice(const TBmark_DNSChangeNotice&) = delete;
  TBmark_DNSChangeNotice& operator=(const TBmark_DNSChangeNotice&) = delete;

  FormModel& Form() { return form_; }
  const std::string& CurrentDNS() const { return currentDNS_; }
  bool Enlarged() const { return enlarged_; }
  // The skin resource file of RdSkinStyle_DNSPop: the skin of "Main.ini" + ".dll".
  const std::string& SkinResourceFile() const { return skinResourceFile_; }

  // Loads the program's own cursors into the form (step 7 of the creation); true
  // when they loaded. Set by the renderer.
  std::function<bool(FormModel&)> useProgramCursors;
  // Hides the real window at once (the settings button hides it before it waits).
  std::function<void()> hideWindow;

  // Creation; ends the process when the notice is not to be shown.
  void FormCreate();
  // Places the notice and its DNS lines; the form becomes visible.
  void FormShow();
  void ShowDnsAddresses(std::string_view text);

  // The handlers of the notice's controls.
  void lbl_AllowClick();
  void btnStopClick();
  void BtnCloseClick();
  void btnSettingClick();
  void lbl_AllowMouseEnter();
  void lbl_AllowMouseLeave();

 private:
  void BuildControls();
  void SetTexts();
  void ArrangeForLargeScreen();
  void CentreHorizontally(FormControl& control);
  // Both end the process (callers return right after them).
  void Decide(bool allow);
  void EndProcess();

  const Platform& platform_;
  const SystemInfo* system_;
  FormModel form_;
  std::string currentDNS_;
  std::string allowNormalColour_;
  std::string allowHoverColour_;
  std::string skinResourceFile_ = "classic.rcc";
  bool enlarged_ = false;
};

}  // namespace bootmark
