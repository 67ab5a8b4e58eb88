// The suite's main window as a stand-in: a window of the suite's class and title
// that writes down every application message (from WM_USER on) sent or posted to
// it, so that a test can check what reached the suite.
#include "../tool_files.h"
#include "probe.h"

namespace bmprobe {

namespace {

std::wstring g_recordPath;

LRESULT CALLBACK SuiteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) {
    bmtool::AppendLine(g_recordPath, std::to_string(message) + " " + std::to_string(wParam) + " " +
                                         std::to_string(static_cast<long long>(lParam)));
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// suite-window <record file>: the suite's main window ("TForm_KST", "Kestrune"),
// recording "<message> <wParam> <lParam>" (decimal) for every application message,
// one line each, appended to the record file, until killed or closed.
int SuiteWindow(const Args& args) {
  if (args.size() != 1) return 2;
  g_recordPath = args[0];
  if (!RegisterStandInClass(L"TForm_KST", SuiteWindowProc, WHITE_BRUSH)) return 1;
  const HWND window = CreateWindowExW(0, L"TForm_KST", L"Kestrune", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                      40, 480, 320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return Serve(window, false);
}

}  // namespace bmprobe
