#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace bootmark {

// Queries and messages on the user's desktop (user32).
class IDesktop {
 public:
  virtual ~IDesktop() = default;
  virtual WindowHandle ForegroundWindow() = 0;
  virtual WindowHandle DesktopWindow() = 0;
  // GetWindowRect; nullopt when it fails.
  virtual std::optional<Rect> WindowRect(WindowHandle window) = 0;
  // GetClassNameW with room for 255 characters.
  virtual std::string ClassName(WindowHandle window) = 0;
  // Size of the primary screen in pixels (SM_CXSCREEN, SM_CYSCREEN).
  virtual Size PrimaryScreenSize() = 0;
  // FindWindowW by class and title; kNoWindow when none.
  virtual WindowHandle FindTopWindow(std::string_view className, std::string_view title) = 0;
  // One synchronous SendMessageW of WM_COPYDATA carrying `text` as UTF-16 with its
  // terminating zero (dwData 0, wParam 0). The result is not looked at.
  virtual void SendCopyDataText(WindowHandle window, std::string_view text) = 0;
  // PostMessageW; the window's own thread handles the message later. False when it
  // could not be posted.
  virtual bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) = 0;
  // Lets the calling thread's message queue run once: every message waiting now is
  // translated and dispatched, then it returns without waiting for more.
  virtual void ProcessMessages() = 0;
};

}  // namespace bootmark
