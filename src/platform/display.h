#pragma once
// The screen as the process's windows see it: dots per inch, how the process
// declares its DPI awareness, and the work area of a monitor.
#include <optional>

#include "platform/types.h"

namespace bootmark {

// PROCESS_DPI_AWARENESS values of Shcore.
namespace dpi_awareness {
constexpr int kUnaware = 0;
constexpr int kSystemAware = 1;
constexpr int kPerMonitorAware = 2;
}  // namespace dpi_awareness

// The functions that came after Windows XP are looked up at run time; a missing
// one gives nullopt or false.
class IDisplay {
 public:
  virtual ~IDisplay() = default;
  // user32's IsProcessDPIAware.
  virtual std::optional<bool> IsProcessDpiAware() = 0;
  // user32's SetProcessDPIAware; false when missing or refused.
  virtual bool SetProcessDpiAware() = 0;
  // Shcore's GetProcessDpiAwareness for the current process; nullopt when
  // missing or failing.
  virtual std::optional<int> GetProcessDpiAwareness() = 0;
  // Shcore's SetProcessDpiAwareness; false when missing or refused.
  virtual bool SetProcessDpiAwareness(int awareness) = 0;
  // Vertical dots per inch of the screen (GetDeviceCaps LOGPIXELSY of a screen
  // device context).
  virtual int ScreenDpiY() = 0;
  // Work area (the screen without the task bar) of the monitor nearest to the
  // rectangle; nullopt when the system gives none.
  virtual std::optional<Rect> MonitorWorkArea(const Rect& area) = 0;
};

}  // namespace bootmark
