// Acting on windows the way the suite or a user would: WM_COPYDATA and clicks.
#include "probe.h"

namespace bmprobe {

namespace {

constexpr UINT kSendTimeoutMs = 10000;

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &ignored) != 0;
}

}  // namespace

// copydata <hwnd> <text>: WM_COPYDATA, dwData 0, the UTF-16 text with its terminator.
int CopyData(const Args& args) {
  if (args.size() != 2) return 2;
  const HWND window = ExistingWindow(args[0]);
  if (window == nullptr) return 1;
  COPYDATASTRUCT data{};
  data.dwData = 0;
  data.cbData = static_cast<DWORD>((args[1].size() + 1) * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(args[1].c_str());
  if (Send(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data))) return 0;
  PrintError(L"WM_COPYDATA was not delivered");
  return 1;
}

// click <hwnd>: a left press and release at its centre (the program's controls are
// all of its own classes).
int Click(const Args& args) {
  if (args.size() != 1) return 2;
  const HWND window = ExistingWindow(args[0]);
  if (window == nullptr) return 1;
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ScreenToClient(window, &point);
  const LPARAM at = MAKELPARAM(point.x, point.y);
  const bool ok = Send(window, WM_MOUSEMOVE, 0, at) && Send(window, WM_LBUTTONDOWN, MK_LBUTTON, at) &&
                  Send(window, WM_LBUTTONUP, 0, at);
  return ok ? 0 : 1;
}

}  // namespace bmprobe
