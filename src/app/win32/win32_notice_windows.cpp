#include "app/win32/win32_notice_windows.h"

#include "app/win32/alert_receiver_window.h"
#include "app/win32/boot_time_notice_window.h"
#include "app/win32/dns_change_notice_window.h"

namespace bootmark::win32 {

void Win32NoticeWindows::RunBootTimeNotice(ProcessState& state) { RunBootTimeNoticeWindow(platform_, state); }

void Win32NoticeWindows::RunDnsChangeNotice(ProcessState& state) { RunDnsChangeNoticeWindow(platform_, state); }

void Win32NoticeWindows::RunAlertNotice(ProcessState& state) {
  // Without a queue (the antivirus-list mode) there is no item to show.
  if (!state.alertQueue) return;
  if (RunAlertReceiverWindow(platform_, state)) platform_.processes.TerminateSelf(0);
}

}  // namespace bootmark::win32
