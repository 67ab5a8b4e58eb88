// The fake file system's writers, copies, moves and folder listings.
#include "fakes/fake_file_system.h"

#include "base/text.h"

namespace bootmark {

class FakeFileSystem::FakeWriteFile : public IWriteFile {
 public:
  FakeWriteFile(FakeFileSystem& files, std::string key) : files_(files), key_(std::move(key)) {}
  ~FakeWriteFile() override { files_.openForWriting_.erase(key_); }

  std::uint64_t Size() const override {
    const auto found = files_.nodes_.find(key_);
    return found == files_.nodes_.end() ? 0 : found->second.bytes.size();
  }
  bool Append(std::string_view bytes) override {
    const auto found = files_.nodes_.find(key_);
    if (found == files_.nodes_.end()) return false;
    if (files_.writeFailures_.count(key_) > 0) return false;
    found->second.bytes.append(bytes);
    return true;
  }
  bool Truncate() override {
    const auto found = files_.nodes_.find(key_);
    if (found == files_.nodes_.end()) return false;
    found->second.bytes.clear();
    return true;
  }

 private:
  FakeFileSystem& files_;
  std::string key_;
};

void FakeFileSystem::HoldOpenForWriting(std::string_view path, bool held) { Mark(openForWriting_, path, held); }

Result<std::unique_ptr<IWriteFile>> FakeFileSystem::OpenForWriting(std::string_view path) {
  const std::string key = Key(FullPath(path));
  if (openForWriting_.count(key) > 0) return SystemError{kErrorSharingViolation};
  Node* node = Find(path);
  if (node != nullptr && (node->directory || (node->attributes & file_attr::kReadOnly) != 0)) {
    return SystemError{kErrorAccessDenied};
  }
  if (node == nullptr) {
    if (!ParentExists(path)) return SystemError{kErrorPathNotFound};
    AddFile(path, "");
  }
  CountWrite(path);
  openForWriting_.insert(key);
  return std::unique_ptr<IWriteFile>(std::make_unique<FakeWriteFile>(*this, key));
}

bool FakeFileSystem::CopyFile(std::string_view from, std::string_view to, bool replace) {
  const Node* source = Find(from);
  if (source == nullptr || source->directory || unreadable_.count(Key(FullPath(from))) > 0) return false;
  Node* target = Find(to);
  if (target != nullptr && (!replace || WriteBlocked(to, target) != 0)) return false;
  if (target == nullptr && !ParentExists(to)) return false;
  const std::string bytes = source->bytes;
  CountWrite(to);
  AddFile(to, bytes, source->attributes);
  return true;
}

bool FakeFileSystem::MoveFile(std::string_view from, std::string_view to) {
  const std::string fromKey = Key(FullPath(from));
  const auto source = nodes_.find(fromKey);
  if (source == nodes_.end() || source->second.directory || Find(to) != nullptr || !ParentExists(to)) {
    return false;
  }
  if (openForWriting_.count(fromKey) > 0) return false;
  Node moved = std::move(source->second);
  nodes_.erase(source);
  moved.path = FullPath(to);
  nodes_[Key(moved.path)] = std::move(moved);
  return true;
}

namespace {

// "*" matches any run of characters, "?" any one; case is ignored.
bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  if (pattern.empty()) return name.empty();
  if (pattern.front() == '*') {
    for (std::size_t skip = 0; skip <= name.size(); ++skip) {
      if (MatchesWildcard(name.substr(skip), pattern.substr(1))) return true;
    }
    return false;
  }
  if (name.empty()) return false;
  if (pattern.front() != '?' && !SameText(name.substr(0, 1), pattern.substr(0, 1))) return false;
  return MatchesWildcard(name.substr(1), pattern.substr(1));
}

}  // namespace

std::vector<std::string> FakeFileSystem::ChildNames(std::string_view folder, bool directories,
                                                    std::string_view pattern) const {
  std::string prefix = FullPath(folder);
  if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
  const std::string prefixKey = Key(prefix);
  std::vector<std::string> names;
  // The map is ordered by key: the folder's entries, at any depth, follow its key.
  for (auto entry = nodes_.upper_bound(prefixKey); entry != nodes_.end() && entry->first.starts_with(prefixKey);
       ++entry) {
    const auto& [key, node] = *entry;
    if (node.directory != directories || key.find('\\', prefixKey.size()) != std::string::npos) continue;
    std::string name = node.path.substr(node.path.rfind('\\') + 1);
    if (MatchesWildcard(name, pattern)) names.push_back(std::move(name));
  }
  return names;
}

std::vector<std::string> FakeFileSystem::FindFiles(std::string_view folder, std::string_view pattern) {
  return ChildNames(folder, false, pattern);
}

std::vector<std::string> FakeFileSystem::FindFolders(std::string_view folder) { return ChildNames(folder, true, "*"); }

}  // namespace bootmark
