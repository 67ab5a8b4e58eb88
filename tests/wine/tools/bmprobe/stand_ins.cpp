// A window that stands in for another program during a test: a full-screen game or
// video. It runs until the probe is killed.
#include "probe.h"

namespace bmprobe {

namespace {

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool RegisterStandInClass(const std::wstring& className, WNDPROC proc, int brush) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(brush));
  wc.lpszClassName = className.c_str();
  return RegisterClassExW(&wc) != 0;
}

int Serve(HWND window, bool inFront) {
  if (window == nullptr) {
    PrintError(L"cannot create the window (is there a display?)");
    return 1;
  }
  MSG msg;
  std::wstring state;
  if (inFront) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    // Let the window settle (show, activate, X server round trips) before reporting.
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 200) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      if (GetForegroundWindow() == window) break;
      Sleep(10);
    }
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
    state = GetForegroundWindow() == window ? L"\tforeground" : L"\tbackground";
  }
  PrintLine(DescribeWindow(window) + state);
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// fullscreen-window <class>: a borderless topmost popup exactly covering the
// primary screen, in front.
int FullScreenWindow(const Args& args) {
  if (args.size() != 1) return 2;
  if (!RegisterStandInClass(args[0], StandInProc, BLACK_BRUSH)) return 1;
  const HWND window = CreateWindowExW(WS_EX_TOPMOST, args[0].c_str(), L"bmprobe full screen",
                                      WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  return Serve(window, true);
}

}  // namespace bmprobe
