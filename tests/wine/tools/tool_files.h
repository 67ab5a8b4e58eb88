#pragma once
// What the test tools share: the program's own UTF-8 conversions, the files beside a
// tool's module, and record files appended one line at a time.
#include <windows.h>

#include <string>

#include "platform/win32/wide.h"

namespace bmtool {

using bootmark::win32::Narrow;
using bootmark::win32::Wide;

// The module (program or library) this code is linked into.
inline HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// The module's path without its extension ("...\KST" for "...\KST.exe").
inline std::wstring ModuleStem(HMODULE module) {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring stem = path;
  const std::size_t dot = stem.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > stem.find_last_of(L'\\')) stem.resize(dot);
  return stem;
}

// Appends a line to a record file opened for this line only, so that a reader sees
// each line at once; starts of the same tool may overlap, so it retries a while.
inline bool AppendLine(const std::wstring& path, const std::string& line) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      const std::string bytes = line + "\n";
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(file);
      return true;
    }
    Sleep(20);
  }
  return false;
}

// The file's bytes; false when it cannot be opened.
inline bool ReadAll(const std::wstring& path, std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.assign(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return true;
}

}  // namespace bmtool
