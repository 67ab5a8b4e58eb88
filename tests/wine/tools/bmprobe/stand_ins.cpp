// Windows that stand in for other programs during a test: a full-screen game or video,
// and the suite's main window. They run until the probe is killed or they are closed.
#include "../tool_files.h"
#include "probe.h"

namespace bmprobe {

namespace {

std::wstring g_recordPath;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

// Writes down every application message (from WM_USER on) sent or posted to the suite.
LRESULT CALLBACK SuiteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message < WM_USER) return StandInProc(window, message, wParam, lParam);
  bmtool::AppendLine(g_recordPath, std::to_string(message) + " " + std::to_string(wParam) + " " +
                                       std::to_string(static_cast<long long>(lParam)));
  return 0;
}

// Registers the window class with its procedure and stock brush and makes the window;
// prints its line (in front: made the foreground window first, its line ending in
// "foreground" or "background"), then serves it. Fails with exit code 1 without a window.
// `place` holds left, top, width and height.
int Serve(const std::wstring& className, WNDPROC proc, int brush, DWORD exStyle, const wchar_t* title,
          DWORD style, RECT place, bool inFront) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(brush));
  wc.lpszClassName = className.c_str();
  const HWND window = RegisterClassExW(&wc) == 0 ? nullptr
                      : CreateWindowExW(exStyle, className.c_str(), title, style | WS_VISIBLE, place.left, place.top,
                                        place.right, place.bottom, nullptr, nullptr, wc.hInstance, nullptr);
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

}  // namespace

// fullscreen-window <class>: a borderless topmost popup exactly covering the primary
// screen, in front.
int FullScreenWindow(const Args& args) {
  if (args.size() != 1) return 2;
  return Serve(args[0], StandInProc, BLACK_BRUSH, WS_EX_TOPMOST, L"bmprobe full screen", WS_POPUP,
               {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, true);
}

// suite-window <record file>: the suite's main window ("TForm_KST", "Kestrune"),
// recording "<message> <wParam> <lParam>" (decimal) for every application message,
// one line each, appended to the record file.
int SuiteWindow(const Args& args) {
  if (args.size() != 1) return 2;
  g_recordPath = args[0];
  return Serve(L"TForm_KST", SuiteWindowProc, WHITE_BRUSH, 0, L"Kestrune", WS_OVERLAPPEDWINDOW, {40, 40, 480, 320},
               false);
}

}  // namespace bmprobe
