#include "platform/win32/write_guard.h"

#include <windows.h>

#include "base/path.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

// "." or ".." as a name: the path would leave the folder it seems to lie in.
bool HasDotName(std::string_view path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view name = path.substr(start, end - start);
    if (name == "." || name == "..") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

void WriteGuard::GuardFoldersBelow(FoldersFn folders) {
  foldersFn_ = std::move(folders);
  folders_.reset();
}

std::uint32_t WriteGuard::Check(std::string_view path) {
  if (!IsFullyQualifiedPath(path) || HasDotName(path)) return ERROR_INVALID_NAME;
  if (!folders_) folders_ = foldersFn_ ? foldersFn_() : std::vector<std::string>{};
  for (const std::string& folder : *folders_) {
    if (folder.empty()) continue;
    for (const std::string& step : PathsBelow(folder, path)) {
      // A link's own attributes, not its target's.
      const DWORD attributes = ::GetFileAttributesW(Wide(step).c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES) break;  // nothing can be planted below a missing name
      if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return ERROR_CANT_RESOLVE_FILENAME;
    }
  }
  return 0;
}

bool WriteGuard::Allows(std::string_view path) {
  const std::uint32_t error = Check(path);
  if (error != 0) ::SetLastError(error);
  return error == 0;
}

}  // namespace bootmark::win32
