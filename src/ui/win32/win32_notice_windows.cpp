#include "ui/win32/win32_notice_windows.h"

#include "ui/win32/alert_receiver_window.h"

namespace bootmark::win32 {

// The boot time and DNS change notices are not in this build yet: those modes
// end after taking their mutex, showing nothing.
void Win32NoticeWindows::RunBootTimeNotice(ProcessState&) {}

void Win32NoticeWindows::RunDnsChangeNotice(ProcessState&) {}

void Win32NoticeWindows::RunAlertNotice(ProcessState& state) {
  // Without a queue (the antivirus-list mode) there is no item to show.
  if (!state.alertQueue) return;
  if (RunAlertReceiverWindow(platform_, state)) platform_.processes.TerminateSelf(0);
}

}  // namespace bootmark::win32
