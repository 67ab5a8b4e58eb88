// The suite's main window as a stand-in: a window of the suite's class and title
// that writes down every message sent or posted to it that a program addresses to
// the suite (application messages from WM_USER on, and WM_COPYDATA), so that a
// test can check what reached the suite.
#include "../tool_files.h"
#include "probe.h"

namespace bmprobe {

namespace {

std::wstring g_recordPath;

void Record(const std::wstring& line) { bmtool::AppendLine(g_recordPath, bmtool::Narrow(line)); }

LRESULT CALLBACK SuiteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) {
    Record(std::to_wstring(message) + L" " + std::to_wstring(static_cast<unsigned long long>(wParam)) + L" " +
           std::to_wstring(static_cast<long long>(lParam)));
    return 0;
  }
  if (message == WM_COPYDATA) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    std::wstring text;
    if (copy != nullptr && copy->lpData != nullptr) {
      text.assign(static_cast<const wchar_t*>(copy->lpData), copy->cbData / sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
    }
    Record(L"copydata " + std::to_wstring(copy != nullptr ? copy->dwData : 0) + L" " + Escape(text));
    return TRUE;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// suite-window <record file> [class] [title]: the suite's main window ("TForm_KST",
// "Kestrune" unless given), recording "<message> <wParam> <lParam>" (decimal) for
// every application message and "copydata <dwData> <text>" for WM_COPYDATA, one
// line each, appended to the record file. Prints its window line, then serves the
// window until killed or closed.
int SuiteWindow(const Args& args) {
  if (args.empty() || args.size() > 3) return 2;
  g_recordPath = args[0];
  const std::wstring className = args.size() > 1 ? args[1] : L"TForm_KST";
  const std::wstring title = args.size() > 2 ? args[2] : L"Kestrune";
  if (!RegisterStandInClass(className, SuiteWindowProc, WHITE_BRUSH)) return 1;
  const HWND window = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                      40, 480, 320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    PrintError(L"cannot create the window (is there a display?)");
    return 1;
  }
  PrintLine(DescribeWindow(window));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace bmprobe
