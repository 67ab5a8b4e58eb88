#pragma once
// DPI awareness, the screen's DPI and the work area of monitors.
#include "platform/display.h"

namespace bootmark::win32 {

class Win32Display : public IDisplay {
 public:
  std::optional<bool> IsProcessDpiAware() override;
  bool SetProcessDpiAware() override;
  std::optional<int> GetProcessDpiAwareness() override;
  bool SetProcessDpiAwareness(int awareness) override;
  int ScreenDpiY() override;
  std::optional<Rect> MonitorWorkArea(const Rect& area) override;
};

}  // namespace bootmark::win32
