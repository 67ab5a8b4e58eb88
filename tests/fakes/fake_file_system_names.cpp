// The fake file system's short names, long-name expansion and path search.
#include "fakes/fake_file_system.h"

#include "base/text.h"

namespace bootmark {

void FakeFileSystem::AddShortName(std::string_view path, std::string_view shortName) {
  const std::string full = FullPath(path);
  const std::size_t slash = full.rfind('\\');
  shortNames_[Key(full.substr(0, slash + 1) + std::string(shortName))] = full;
}

std::string FakeFileSystem::LongForm(std::string fullPath) const {
  // Each pass replaces one short name; a path has fewer names than there are passes.
  for (std::size_t pass = 0; pass <= shortNames_.size(); ++pass) {
    const std::string key = Key(fullPath);
    bool replaced = false;
    for (const auto& [shortKey, longPath] : shortNames_) {
      if (key.compare(0, shortKey.size(), shortKey) == 0 &&
          (key.size() == shortKey.size() || key[shortKey.size()] == '\\')) {
        fullPath = longPath + fullPath.substr(shortKey.size());
        replaced = true;
        break;
      }
    }
    if (!replaced) break;
  }
  return fullPath;
}

// As the system's search: a name with a drive or starting at a root is tried by
// itself, then with the extension when its file name has none; another name is
// tried in each folder of the search path (an empty entry is the current folder),
// with the extension when the name has no "." at all.
std::optional<std::string> FakeFileSystem::SearchFile(std::string_view searchPath, std::string_view name,
                                                      std::string_view defaultExtension) {
  if (name.empty()) return std::nullopt;
  const bool relative = name[0] != '\\' && name[0] != '/' && (name.size() < 2 || name[1] != ':') &&
                        !StartsWith(name, ".\\") && !StartsWith(name, "..\\");
  if (!relative) {
    if (Exists(name)) return FullPath(name);
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && name.find_first_of("\\/", dot) == std::string_view::npos;
    const std::string withExtension = std::string(name) + std::string(defaultExtension);
    if (!hasExtension && Exists(withExtension)) return FullPath(withExtension);
    return std::nullopt;
  }
  const std::string_view extension = name.find('.') == std::string_view::npos ? defaultExtension : "";
  for (const std::string& folder : SplitText(searchPath, ";")) {
    std::string candidate = folder;
    if (!candidate.empty() && candidate.back() != '\\') candidate += '\\';
    candidate += std::string(name) + std::string(extension);
    if (Exists(candidate)) return FullPath(candidate);
  }
  return std::nullopt;
}

std::optional<std::string> FakeFileSystem::LongPathName(std::string_view path) {
  if (!Exists(path)) return std::nullopt;
  return LongForm(FullPath(path));
}

}  // namespace bootmark
