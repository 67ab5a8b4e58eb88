#include "common/shell_helpers.h"

#include <string>

#include "base/path.h"

namespace bootmark {
namespace {

constexpr std::intptr_t kShellExecuteSuccessAbove = 32;

bool AtLeast(const VersionExInfo& version, std::uint32_t major, std::uint32_t minor) {
  return version.major > major || (version.major == major && version.minor >= minor);
}

}  // namespace

bool OpenFolderAndSelect(const Platform& platform, std::string_view path) {
  const VersionExInfo version = platform.system.VersionEx();
  if (AtLeast(version, 5, 1) && platform.shell.OpenFolderAndSelectItem(path) == SelectInFolderResult::kOpened) {
    return true;
  }
  if (AtLeast(version, 6, 0)) {
    const std::string folder = platform.files.DirectoryExists(path) ? std::string(path) : ExtractFileDir(path);
    return platform.shell.ShellExecute(kNoWindow, "explore", folder, "", "", show_command::kNormal) >
           kShellExecuteSuccessAbove;
  }
  return platform.shell.ShellExecute(kNoWindow, "open", "explorer", " /select," + std::string(path), "",
                                     show_command::kNormal) > kShellExecuteSuccessAbove;
}

}  // namespace bootmark
