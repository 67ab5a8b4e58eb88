// Looking at windows: wait, list, watch, children.
#include <map>

#include "probe.h"

namespace bmprobe {

namespace {

constexpr UINT kMessageTimeoutMs = 2000;
constexpr DWORD kPollMs = 10;

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

}  // namespace

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

std::wstring TextOf(HWND window) {
  // WM_GETTEXT is marshalled across processes, so edit controls answer too; a hung
  // window falls back to the caption the system keeps.
  DWORD_PTR length = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                          &length)) {
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                            SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
      text.resize(copied);
      return text;
    }
  }
  wchar_t buffer[1024] = {};
  InternalGetWindowText(window, buffer, 1024);
  return buffer;
}

std::wstring RectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
         std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom);
}

HWND FindAnyWindow(const std::wstring& className, const std::wstring& title) {
  HWND window = FindWindowW(Pattern(className), Pattern(title));
  if (window == nullptr) {
    window = FindWindowExW(HWND_MESSAGE, nullptr, Pattern(className), Pattern(title));
  }
  return window;
}

std::vector<HWND> AllWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    windows.push_back(window);
  }
  return windows;
}

std::wstring DescribeWindow(HWND window) {
  wchar_t title[512] = {};
  InternalGetWindowText(window, title, 512);  // never blocks on a busy window
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return FormatHandle(window) + L"\t" + std::to_wstring(pid) + L"\t" + Escape(ClassOf(window)) + L"\t" +
         Escape(title) + L"\t" + (IsWindowVisible(window) ? L"1" : L"0") + L"\t" + RectOf(window);
}

// wait <class> <title> <timeout-ms>: like find, polling until the window exists.
int Wait(const Args& args) {
  if (args.size() != 3) return 2;
  const DWORD timeout = wcstoul(args[2].c_str(), nullptr, 10);
  const DWORD start = GetTickCount();
  for (;;) {
    const HWND window = FindAnyWindow(args[0], args[1]);
    if (window != nullptr) {
      PrintLine(FormatHandle(window));
      return 0;
    }
    if (GetTickCount() - start >= timeout) return 1;
    Sleep(kPollMs);
  }
}

// list: every top-level and message-only window, one DescribeWindow line each.
int List(const Args& args) {
  if (!args.empty()) return 2;
  for (HWND window : AllWindows()) PrintLine(DescribeWindow(window));
  return 0;
}

// watch: runs until killed, printing a window's line when it first appears and again
// whenever its visibility, title or rectangle changes. Tests use it to prove that a
// run showed no window (or which ones it showed).
int Watch(const Args& args) {
  if (!args.empty()) return 2;
  std::map<HWND, std::wstring> seen;
  PrintLine(L"watching");
  for (;;) {
    for (HWND window : AllWindows()) {
      if (!IsWindow(window)) continue;  // gone since the enumeration
      std::wstring line = DescribeWindow(window);
      auto [it, inserted] = seen.try_emplace(window, line);
      if (inserted || it->second != line) {
        it->second = line;
        PrintLine(line);
      }
    }
    Sleep(kPollMs);
  }
}

// children <hwnd>: hwnd, class, control id, visible, rect, text of every descendant.
int Children(const Args& args) {
  if (args.size() != 1) return 2;
  const HWND parent = ParseHandle(args[0]);
  if (parent == nullptr || !IsWindow(parent)) return 1;
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    PrintLine(FormatHandle(child) + L"\t" + Escape(ClassOf(child)) + L"\t" +
              std::to_wstring(GetDlgCtrlID(child)) + L"\t" +
              (IsWindowVisible(child) ? L"1" : L"0") + L"\t" + RectOf(child) + L"\t" +
              Escape(TextOf(child)));
  }
  return 0;
}

}  // namespace bmprobe
