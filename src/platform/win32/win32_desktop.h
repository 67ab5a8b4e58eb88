#pragma once
#include "platform/desktop.h"

namespace bootmark::win32 {

class Win32Desktop : public IDesktop {
 public:
  WindowHandle ForegroundWindow() override;
  WindowHandle DesktopWindow() override;
  std::optional<Rect> WindowRect(WindowHandle window) override;
  std::string ClassName(WindowHandle window) override;
  Size PrimaryScreenSize() override;
  WindowHandle FindTopWindow(std::string_view className, std::string_view title) override;
  void SendCopyDataText(WindowHandle window, std::string_view text) override;
  bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) override;
  void ProcessMessages() override;
};

}  // namespace bootmark::win32
