// Looking at windows (wait, list, watch, children), and the line-oriented output of
// the probe.
#include <cstdio>
#include <cwchar>
#include <map>

#include "../tool_files.h"
#include "probe.h"

namespace bmprobe {

namespace {

constexpr UINT kMessageTimeoutMs = 2000;
constexpr DWORD kPollMs = 10;

void Write(FILE* stream, const std::string& line) {
  const std::string bytes = line + "\n";
  fwrite(bytes.data(), 1, bytes.size(), stream);
  fflush(stream);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// "*" stands for any class or any title (a null pointer for FindWindowW).
const wchar_t* Pattern(const std::wstring& text) { return text == L"*" ? nullptr : text.c_str(); }

// Tabs, line breaks and backslashes escaped, so that a record stays one line.
std::wstring Escape(const std::wstring& text) {
  const std::wstring special = L"\\\t\n\r", letters = L"\\tnr";
  std::wstring out;
  for (wchar_t c : text) {
    const size_t at = special.find(c);
    out += at == std::wstring::npos ? std::wstring(1, c) : std::wstring{L'\\', letters[at]};
  }
  return out;
}

std::wstring FormatHandle(HWND window) {
  wchar_t buffer[32];
  swprintf(buffer, 32, L"0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  return buffer;
}

// "visible<TAB>left,top,right,bottom" in screen coordinates.
std::wstring VisibleAndRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return std::wstring(IsWindowVisible(window) ? L"1" : L"0") + L"\t" + std::to_wstring(rect.left) + L"," +
         std::to_wstring(rect.top) + L"," + std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom);
}

// WM_GETTEXT is marshalled across processes; a hung window answers nothing.
std::wstring TextOf(HWND window) {
  wchar_t text[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                      &copied);
  return text;
}

// Every top-level window (the program makes no message-only ones).
std::vector<HWND> AllWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

}  // namespace

void PrintLine(const std::wstring& line) { Write(stdout, bmtool::Narrow(line)); }

void PrintError(const std::wstring& message) { Write(stderr, "bmprobe: " + bmtool::Narrow(message)); }

HWND ExistingWindow(const std::wstring& text) {
  wchar_t* end = nullptr;
  const auto window = reinterpret_cast<HWND>(static_cast<uintptr_t>(wcstoull(text.c_str(), &end, 0)));
  return !text.empty() && *end == L'\0' && IsWindow(window) ? window : nullptr;
}

std::wstring DescribeWindow(HWND window) {
  wchar_t title[512] = {};
  InternalGetWindowText(window, title, 512);  // never blocks on a busy window
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return FormatHandle(window) + L"\t" + std::to_wstring(pid) + L"\t" + Escape(ClassOf(window)) + L"\t" +
         Escape(title) + L"\t" + VisibleAndRect(window);
}

// wait <class> <title> <timeout-ms>: polls until a top-level window of that class and
// title exists and prints its handle.
int Wait(const Args& args) {
  if (args.size() != 3) return 2;
  const DWORD timeout = wcstoul(args[2].c_str(), nullptr, 10);
  const DWORD start = GetTickCount();
  for (;;) {
    const HWND window = FindWindowW(Pattern(args[0]), Pattern(args[1]));
    if (window != nullptr) {
      PrintLine(FormatHandle(window));
      return 0;
    }
    if (GetTickCount() - start >= timeout) return 1;
    Sleep(kPollMs);
  }
}

// list: every top-level window, one DescribeWindow line each.
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
  const HWND parent = ExistingWindow(args[0]);
  if (parent == nullptr) return 1;
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    PrintLine(FormatHandle(child) + L"\t" + Escape(ClassOf(child)) + L"\t" + std::to_wstring(GetDlgCtrlID(child)) +
              L"\t" + VisibleAndRect(child) + L"\t" + Escape(TextOf(child)));
  }
  return 0;
}

}  // namespace bmprobe
