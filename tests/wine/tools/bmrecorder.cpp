// bmrecorder.exe: stands in for a program that Bootmark starts. Each start appends
// one UTF-8 line, "<command line>\t<current folder>", to "<own name>.calls.txt"
// beside itself (copied as "KST.exe" it writes "KST.calls.txt"), then ends with
// exit code 0.
#include <windows.h>

#include <string>

#include "tool_text.h"

int main() {
  wchar_t own[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  std::wstring recordPath = own;
  const std::size_t dot = recordPath.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > recordPath.find_last_of(L'\\')) recordPath.resize(dot);
  recordPath += L".calls.txt";

  wchar_t folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  const std::string line = Utf8(GetCommandLineW()) + "\t" + Utf8(folder) + "\n";

  // Starts may overlap: retry while another start holds the file.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const HANDLE file = CreateFileW(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}
