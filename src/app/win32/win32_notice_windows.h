#pragma once
// The notice windows made real with Win32 windows.
#include "app/notice_windows.h"
#include "platform/platform.h"

namespace bootmark::win32 {

class Win32NoticeWindows : public INoticeWindows {
 public:
  explicit Win32NoticeWindows(const Platform& platform) : platform_(platform) {}

  void RunBootTimeNotice(ProcessState& state) override;
  void RunDnsChangeNotice(ProcessState& state) override;
  void RunAlertNotice(ProcessState& state) override;

 private:
  const Platform& platform_;
};

}  // namespace bootmark::win32
