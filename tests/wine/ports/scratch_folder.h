#pragma once
// A fresh folder below %TEMP% for one test, removed with everything in it afterwards.
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "wine/tools/tool_files.h"

namespace bootmark::win32::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("bmport-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter));
    std::filesystem::create_directory(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only files too
    }
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder with a trailing backslash.
  std::string Path() const { return Narrow(path_.wstring()) + "\\"; }
  std::string operator/(std::string_view name) const { return Path() + std::string(name); }

 private:
  std::filesystem::path path_;
};

// Raw bytes of a file ("" when it cannot be read).
inline std::string FileBytes(const std::string& path) {
  std::string bytes;
  return bmtool::ReadAll(Wide(path), bytes) ? bytes : std::string();
}

inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
  const UniqueFileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace bootmark::win32::testing
