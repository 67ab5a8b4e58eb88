#include "base/path.h"

#include "base/text.h"

namespace bootmark {
namespace {

bool IsDelimiter(char c) { return c == '\\' || c == ':'; }

// Length of the folder part including its final delimiter (0 when there is none).
std::size_t FolderLength(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsDelimiter(path[i - 1])) return i;
  }
  return 0;
}

}  // namespace

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, FolderLength(path)));
}

std::string ExtractFileDir(std::string_view path) {
  std::size_t length = FolderLength(path);
  // Drop the final backslash unless it is the only character or follows
  // another delimiter ("\" and "C:\" stay whole).
  if (length > 1 && path[length - 1] == '\\' && !IsDelimiter(path[length - 2])) --length;
  return std::string(path.substr(0, length));
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(FolderLength(path)));
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (!result.empty() && result.back() != '\\') result += '\\';
  return result;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

bool IsFullyQualifiedPath(std::string_view path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
    const char drive = static_cast<char>(path[0] | 0x20);
    return drive >= 'a' && drive <= 'z';
  }
  // "\\server\share" with both names present.
  if (!path.starts_with("\\\\") || path.size() < 5) return false;
  const std::size_t share = path.find('\\', 2);
  return share != std::string_view::npos && share > 2 && share + 1 < path.size() && path[share + 1] != '\\';
}

std::vector<std::string> PathsBelow(std::string_view folder, std::string_view path) {
  const std::string root = IncludeTrailingBackslash(folder);
  if (root.empty() || path.size() <= root.size() || !SameText(path.substr(0, root.size()), root)) return {};
  std::vector<std::string> paths;
  std::size_t start = root.size();
  while (start < path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view name = path.substr(start, end - start);
    if (name == "." || name == "..") return {};
    if (!name.empty()) paths.emplace_back(path.substr(0, end));
    start = end + 1;
  }
  return paths;
}

}  // namespace bootmark
