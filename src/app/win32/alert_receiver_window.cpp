#include "app/win32/alert_receiver_window.h"

#include <windows.h>

#include "alert/alert_window_names.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

// How long the window stays open after the last item it was given.
constexpr UINT kLingerMs = 6000;
constexpr UINT_PTR kLingerTimer = 1;

struct ReceiverContext {
  const Platform& platform;
  ProcessState& state;
};

// The forwarded text: UTF-16 up to its terminating zero, never past the data the
// system copied for us.
std::string ReadCopyDataText(const COPYDATASTRUCT& copy) {
  if (copy.lpData == nullptr) return {};
  const auto* units = static_cast<const wchar_t*>(copy.lpData);
  const std::size_t capacity = copy.cbData / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && units[length] != L'\0') ++length;
  return Narrow(units, length);
}

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* context = reinterpret_cast<ReceiverContext*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_COPYDATA: {
      const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (context == nullptr || copy == nullptr || !context->state.alertQueue) return FALSE;
      std::string text = ReadCopyDataText(*copy);
      context->platform.debug.Write("AutoRunNotice queued : " + text);
      context->state.alertQueue->Append(std::move(text));
      ::SetTimer(window, kLingerTimer, kLingerMs, nullptr);
      return TRUE;
    }
    case WM_TIMER:
      if (wParam == kLingerTimer) {
        ::KillTimer(window, kLingerTimer);
        ::DestroyWindow(window);
        return 0;
      }
      break;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool RunAlertReceiverWindow(const Platform& platform, ProcessState& state) {
  const std::wstring className = Wide(kAlertWindowClass);
  const std::wstring title = Wide(kAlertWindowTitle);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ReceiverProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className.c_str();
  if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  ReceiverContext context{platform, state};
  HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, className.c_str(), title.c_str(), WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, &context);
  if (window == nullptr) return false;
  ::SetTimer(window, kLingerTimer, kLingerMs, nullptr);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return true;
}

}  // namespace bootmark::win32
