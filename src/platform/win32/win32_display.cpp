#include "platform/win32/win32_display.h"

#include <windows.h>

#include "platform/win32/gdi_objects.h"
#include "platform/win32/system_library.h"

namespace bootmark::win32 {

std::optional<bool> Win32Display::IsProcessDpiAware() {
  using Function = BOOL(WINAPI*)();
  static const auto isProcessDpiAware = FindSystemFunction<Function>(L"user32.dll", "IsProcessDPIAware");
  if (isProcessDpiAware == nullptr) return std::nullopt;
  return isProcessDpiAware() != FALSE;
}

bool Win32Display::SetProcessDpiAware() {
  using Function = BOOL(WINAPI*)();
  static const auto setProcessDpiAware = FindSystemFunction<Function>(L"user32.dll", "SetProcessDPIAware");
  return setProcessDpiAware != nullptr && setProcessDpiAware();
}

std::optional<int> Win32Display::GetProcessDpiAwareness() {
  // PROCESS_DPI_AWARENESS is an enumeration of int size.
  using Function = HRESULT(WINAPI*)(HANDLE, int*);
  static const auto getProcessDpiAwareness = FindSystemFunction<Function>(L"Shcore.dll", "GetProcessDpiAwareness");
  int awareness = 0;
  if (getProcessDpiAwareness == nullptr || FAILED(getProcessDpiAwareness(::GetCurrentProcess(), &awareness))) {
    return std::nullopt;
  }
  return awareness;
}

bool Win32Display::SetProcessDpiAwareness(int awareness) {
  using Function = HRESULT(WINAPI*)(int);
  static const auto setProcessDpiAwareness = FindSystemFunction<Function>(L"Shcore.dll", "SetProcessDpiAwareness");
  return setProcessDpiAwareness != nullptr && SUCCEEDED(setProcessDpiAwareness(awareness));
}

int Win32Display::ScreenDpiY() {
  const UniqueScreenDc screen = ScreenDc();
  if (!screen) return 0;
  return ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

std::optional<Rect> Win32Display::MonitorWorkArea(const Rect& area) {
  const RECT rect{area.left, area.top, area.right, area.bottom};
  HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !::GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

}  // namespace bootmark::win32
