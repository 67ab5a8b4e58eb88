#include "common/data_dirs.h"

#include "base/path.h"

namespace bootmark {
namespace {

constexpr int kForceDirectoriesAttempts = 101;

std::string FolderBelow(IShell& shell, int csidl, std::string_view tail) {
  std::string path = shell.GetSpecialFolderPath(csidl);
  path += tail;
  path += '\\';
  return path;
}

// A folder that cannot be created because it is a root: "", "C:", "C:\", "\",
// "\\server" and "\\server\share".
bool IsRoot(std::string_view folder) {
  if (folder.empty() || folder == "\\") return true;
  if (folder.size() == 2 && folder[1] == ':') return true;
  if (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\') return true;
  if (folder.size() > 2 && folder[0] == '\\' && folder[1] == '\\') {
    // UNC: the server and share names are not folders one can create.
    std::size_t slash = folder.find('\\', 2);
    if (slash == std::string_view::npos) return true;
    return folder.find('\\', slash + 1) == std::string_view::npos;
  }
  return false;
}

// One pass of creating the folder and its missing parents, parents first.
void CreateFolderChain(IFileSystem& files, std::string_view folder) {
  std::string dir = ExcludeTrailingBackslash(folder);
  if (IsRoot(dir) || files.DirectoryExists(dir)) return;
  std::string parent = ExtractFileDir(dir);
  if (parent != dir) CreateFolderChain(files, parent);
  files.CreateDirectory(dir);
}

}  // namespace

std::string GetSuiteUserDataDir(IShell& shell) {
  return FolderBelow(shell, csidl::kAppData, std::string("\\").append(kSuiteFolder));
}

std::string GetSuiteCommonDataDir(IShell& shell) {
  return FolderBelow(shell, csidl::kCommonAppData, std::string("\\").append(kSuiteFolder));
}

std::string GetSuiteLowDataDir(IShell& shell) {
  return FolderBelow(shell, csidl::kProfile,
                     std::string("\\AppData\\LocalLow\\").append(kSuiteFolder));
}

std::string GetMakerCommonDataDir(IShell& shell) {
  return FolderBelow(shell, csidl::kCommonAppData, std::string("\\").append(kMakerFolder));
}

std::string ProgramDir(IEnvironment& environment) {
  return ExtractFilePath(environment.ExecutablePath());
}

bool ForceDirectories(IFileSystem& files, std::string_view folder) {
  std::string dir = ExcludeTrailingBackslash(folder);
  if (dir.empty()) return false;
  if (IsRoot(dir)) return files.DirectoryExists(IncludeTrailingBackslash(dir));
  for (int attempt = 0; attempt < kForceDirectoriesAttempts; ++attempt) {
    if (files.DirectoryExists(dir)) return true;
    CreateFolderChain(files, dir);
  }
  return files.DirectoryExists(dir);
}

}  // namespace bootmark
