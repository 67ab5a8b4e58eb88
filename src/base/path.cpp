#include "base/path.h"

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

}  // namespace bootmark
