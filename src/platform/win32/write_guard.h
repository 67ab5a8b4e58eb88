#pragma once
// Where this program may write. It often runs as SYSTEM and writes into data
// folders that ordinary users can write too: a junction or symbolic link planted
// there (in a folder the program has not made yet, or in place of a file) would
// send a write anywhere on the machine. Every write of the file system port asks
// the guard first; a refused write is a failed write.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark::win32 {

class WriteGuard {
 public:
  // The folders below which no reparse point is followed, looked up at the first
  // write (most runs write nothing).
  using FoldersFn = std::function<std::vector<std::string>()>;

  void GuardFoldersBelow(FoldersFn folders);

  // 0 when `path` may be written; else the error to report:
  // - ERROR_INVALID_NAME for a path that is not fully qualified: every file the
  //   program writes lies in a folder it looked up, so such a path comes from a
  //   failed look-up and would land in the current drive or folder; and for a
  //   path with "." or ".." as a name;
  // - ERROR_CANT_RESOLVE_FILENAME when the path, or a folder on its way, below a
  //   guarded folder is a reparse point.
  std::uint32_t Check(std::string_view path);
  // Check, with the error also set as the thread's last error when refused.
  bool Allows(std::string_view path);

 private:
  FoldersFn foldersFn_;
  std::optional<std::vector<std::string>> folders_;
};

}  // namespace bootmark::win32
