#include "app/win32/win32_notice_windows.h"

#include "app/win32/auto_run_notice_window.h"
#include "app/win32/boot_time_notice_window.h"
#include "app/win32/dns_change_notice_window.h"

namespace bootmark::win32 {

void Win32NoticeWindows::RunBootTimeNotice(ProcessState& state) { RunBootTimeNoticeWindow(platform_, state); }

void Win32NoticeWindows::RunDnsChangeNotice(ProcessState& state) { RunDnsChangeNoticeWindow(platform_, state); }

void Win32NoticeWindows::RunAlertNotice(ProcessState& state) { RunAutoRunNoticeWindow(platform_, state); }

}  // namespace bootmark::win32
