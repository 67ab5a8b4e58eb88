// Windows that stand in for other programs during a test: a full-screen game or
// video, and an ordinary maximized window. Each runs until the probe is killed.
#include "probe.h"

namespace bmprobe {

namespace {

// Height of the task bar strip the maximized window leaves free when the screen has
// no task bar of its own (a bare X server).
constexpr int kTaskBarHeight = 40;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

// Full-screen stand-ins are black, maximized ones dark grey: told apart in screenshots.
bool Register(const std::wstring& className, int brush) { return RegisterStandInClass(className, StandInProc, brush); }

// Makes the window the foreground one, prints its line, then serves it until killed.
int ServeInFront(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  MSG msg;
  // Let the window settle (show, activate, X server round trips) before reporting.
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 200) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (GetForegroundWindow() == window) break;
    Sleep(10);
  }
  if (GetForegroundWindow() != window) SetForegroundWindow(window);
  PrintLine(DescribeWindow(window) + L"\t" + (GetForegroundWindow() == window ? L"foreground" : L"background"));
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
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

// fullscreen-window <class> [title]: a borderless topmost popup exactly covering the
// primary screen, in front.
int FullScreenWindow(const Args& args) {
  if (args.empty() || args.size() > 2) return 2;
  if (!Register(args[0], BLACK_BRUSH)) return 1;
  const std::wstring title = args.size() > 1 ? args[1] : L"bmprobe full screen";
  const HWND window = CreateWindowExW(WS_EX_TOPMOST, args[0].c_str(), title.c_str(),
                                      WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    PrintError(L"cannot create the window (is there a display?)");
    return 1;
  }
  return ServeInFront(window);
}

// maximized-window <class> [title]: an ordinary captioned window, maximized, which
// leaves the task bar visible. Where the work area is the whole screen (no task bar
// on a bare X server) it first narrows the work area by a task bar's height.
int MaximizedWindow(const Args& args) {
  if (args.empty() || args.size() > 2) return 2;
  if (!Register(args[0], DKGRAY_BRUSH)) return 1;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (work.bottom - work.top >= screenHeight) {
    work = {0, 0, screenWidth, screenHeight - kTaskBarHeight};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
  }
  const std::wstring title = args.size() > 1 ? args[1] : L"bmprobe maximized";
  const HWND window = CreateWindowExW(0, args[0].c_str(), title.c_str(), WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    PrintError(L"cannot create the window (is there a display?)");
    return 1;
  }
  ShowWindow(window, SW_SHOWMAXIMIZED);
  // Without a window manager the maximized size may still reach the screen's edge:
  // keep the task bar strip free whatever the system did.
  RECT rect{};
  GetWindowRect(window, &rect);
  if (rect.bottom > screenHeight - kTaskBarHeight) {
    SetWindowPos(window, nullptr, work.left, work.top, work.right - work.left,
                 work.bottom - work.top, SWP_NOZORDER);
  }
  return ServeInFront(window);
}

}  // namespace bmprobe
