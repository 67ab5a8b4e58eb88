#pragma once
// A fresh folder below %TEMP% for one test, removed with everything in it afterwards.
#include <windows.h>

#include <string>

#include "fakes/utf16_file.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace bootmark::win32::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    path_ = Narrow(std::wstring_view(temp)) + "bmport-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    ::CreateDirectoryW(Wide(path_).c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(Wide(path_)); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder with a trailing backslash.
  std::string Path() const { return path_ + "\\"; }
  std::string operator/(std::string_view name) const { return Path() + std::string(name); }

  // Names of the entries in the folder (not recursive).
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const UniqueFindHandle search(::FindFirstFileW(Wide(path_ + "\\*").c_str(), &found));
    if (!search) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(Narrow(name));
    } while (::FindNextFileW(search.Get(), &found));
    return names;
  }

 private:
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    if (const UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found)); search) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(child);
        } else {
          ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
          ::DeleteFileW(child.c_str());
        }
      } while (::FindNextFileW(search.Get(), &found));
    }
    ::RemoveDirectoryW(folder.c_str());
  }

  std::string path_;
};

// Raw bytes of a file ("" when it cannot be read).
inline std::string FileBytes(const std::string& path) {
  const UniqueFileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes(::GetFileSize(file.Get(), nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
  const UniqueFileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

using bootmark::testing::Utf16File;

}  // namespace bootmark::win32::testing
