#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace

WindowHandle Win32Desktop::ForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

WindowHandle Win32Desktop::DesktopWindow() { return FromHwnd(::GetDesktopWindow()); }

std::optional<Rect> Win32Desktop::WindowRect(WindowHandle window) {
  RECT rect{};
  if (!::GetWindowRect(ToHwnd(window), &rect)) return std::nullopt;
  return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

std::string Win32Desktop::ClassName(WindowHandle window) {
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(ToHwnd(window), name, 255);
  return length > 0 ? Narrow(name, static_cast<std::size_t>(length)) : std::string();
}

Size Win32Desktop::PrimaryScreenSize() {
  return Size{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

WindowHandle Win32Desktop::FindTopWindow(std::string_view className, std::string_view title) {
  return FromHwnd(::FindWindowW(Wide(className).c_str(), Wide(title).c_str()));
}

void Win32Desktop::SendCopyDataText(WindowHandle window, std::string_view text) {
  std::wstring data = Wide(text);
  COPYDATASTRUCT copy{};
  copy.dwData = 0;
  copy.cbData = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  copy.lpData = data.data();
  ::SendMessageW(ToHwnd(window), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

bool Win32Desktop::PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  return ::PostMessageW(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != FALSE;
}

void Win32Desktop::ProcessMessages() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The quit request belongs to the thread's message loop: leave it for that.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace bootmark::win32
