#include "fakes/fake_file_system.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <utility>

#include "base/text.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_ports.h"

namespace bootmark {
namespace {

// Windows-1252 bytes 0x80..0x9F; the five the code page leaves undefined map to
// the C1 control of the same value, as the system's conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::vector<std::string> SplitNames(std::string_view text) {
  std::vector<std::string> names;
  for (std::string& name : SplitText(text, "\\")) {
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}

class HeldLock : public ISharedFileLock {
 public:
  explicit HeldLock(std::shared_ptr<std::recursive_timed_mutex> lock) : lock_(std::move(lock)) {}
  ~HeldLock() override { lock_->unlock(); }

 private:
  std::shared_ptr<std::recursive_timed_mutex> lock_;
};

}  // namespace

FakeFileSystem::FakeFileSystem() : sharedLock_(std::make_shared<std::recursive_timed_mutex>()) { AddDrive("C:"); }

// One lock stands for every file's: the tests that run two writers at once share one file.
std::unique_ptr<ISharedFileLock> FakeFileSystem::LockSharedFile(std::string_view, std::uint32_t waitMs) {
  if (!sharedLock_->try_lock_for(std::chrono::milliseconds(waitMs))) return nullptr;
  return std::make_unique<HeldLock>(sharedLock_);
}

FakeFileSystem::Parsed FakeFileSystem::Parse(std::string_view path) const {
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  Parsed parsed;
  std::vector<std::string> names;
  if (text.size() >= 2 && text[1] == ':') {
    parsed.root = UpperCaseOrdinal(text.substr(0, 2)) + "\\";
    names = SplitNames(std::string_view(text).substr(2));
  } else {
    const Parsed current = Parse(kCurrentDirectory);
    parsed.root = current.root;
    if (!StartsWith(text, "\\")) names = current.parts;
    for (std::string& name : SplitNames(text)) names.push_back(std::move(name));
  }
  for (std::string& name : names) {
    if (name == ".") continue;
    if (name == "..") {
      if (!parsed.parts.empty()) parsed.parts.pop_back();
      continue;
    }
    parsed.parts.push_back(std::move(name));
  }
  return parsed;
}

std::string FakeFileSystem::Join(const Parsed& parsed, std::size_t count) {
  std::string full = parsed.root;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) full += '\\';
    full += parsed.parts[i];
  }
  return full;
}

std::string FakeFileSystem::FullPath(std::string_view path) const {
  const Parsed parsed = Parse(path);
  return Join(parsed, parsed.parts.size());
}

std::string FakeFileSystem::Key(std::string_view fullPath) { return UpperCaseOrdinal(fullPath); }

FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path) {
  return const_cast<Node*>(std::as_const(*this).Find(path));
}

void FakeFileSystem::Mark(std::set<std::string>& paths, std::string_view path, bool marked) const {
  const std::string key = Key(FullPath(path));
  if (marked) {
    paths.insert(key);
  } else {
    paths.erase(key);
  }
}

const FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path) const {
  auto found = nodes_.find(Key(LongForm(FullPath(path))));
  return found == nodes_.end() ? nullptr : &found->second;
}

bool FakeFileSystem::IsRoot(std::string_view path) const {
  const Parsed parsed = Parse(path);
  return parsed.parts.empty() && roots_.count(Key(parsed.root)) > 0;
}

bool FakeFileSystem::ParentExists(std::string_view path) const {
  const Parsed parsed = Parse(path);
  if (parsed.parts.empty()) return false;
  if (parsed.parts.size() == 1) return roots_.count(Key(parsed.root)) > 0;
  const Node* parent = Find(Join(parsed, parsed.parts.size() - 1));
  return parent != nullptr && parent->directory;
}

void FakeFileSystem::AddDrive(std::string_view root) {
  roots_.insert(Key(Parse(std::string(root) + "\\").root));
}

void FakeFileSystem::AddDirectory(std::string_view path) {
  const Parsed parsed = Parse(path);
  roots_.insert(Key(parsed.root));
  for (std::size_t count = 1; count <= parsed.parts.size(); ++count) {
    const std::string full = Join(parsed, count);
    Node& node = nodes_[Key(full)];
    if (node.path.empty()) node = Node{full, true, {}, 0};
  }
}

void FakeFileSystem::AddFile(std::string_view path, std::string_view bytes,
                             std::uint32_t attributes) {
  const Parsed parsed = Parse(path);
  if (parsed.parts.empty()) return;
  AddDirectory(Join(parsed, parsed.parts.size() - 1));
  const std::string full = Join(parsed, parsed.parts.size());
  nodes_[Key(full)] = Node{full, false, std::string(bytes), attributes};
}

void FakeFileSystem::SetUnreadable(std::string_view path, bool unreadable) {
  Mark(unreadable_, path, unreadable);
}

void FakeFileSystem::FailCreateDirectory(std::string_view path, int times) {
  createDirectoryFailures_[Key(FullPath(path))] = times;
}

std::optional<std::string> FakeFileSystem::Content(std::string_view path) const {
  const Node* node = Find(path);
  if (node == nullptr || node->directory) return std::nullopt;
  return node->bytes;
}

std::string FakeFileSystem::Text(std::string_view path) {
  const std::optional<std::string> bytes = Content(path);
  std::string text;
  if (!bytes) return "<missing>";
  return DecodeFileText(*this, *bytes, text) ? text : "<undecodable>";
}

int FakeFileSystem::WriteCount(std::string_view path) const {
  return testing::Lookup(writes_, Key(FullPath(path))).value_or(0);
}

int FakeFileSystem::CreateDirectoryCalls(std::string_view path) const {
  return testing::Lookup(createDirectoryCalls_, Key(FullPath(path))).value_or(0);
}

std::vector<std::string> FakeFileSystem::Files() const {
  std::vector<std::string> files;
  for (const auto& [key, node] : nodes_) {
    if (!node.directory) files.push_back(node.path);
  }
  return files;
}

void FakeFileSystem::CountWrite(std::string_view path) {
  ++writes_[Key(FullPath(path))];
  ++totalWrites_;
}

std::uint32_t FakeFileSystem::WriteBlocked(std::string_view path, const Node* node) const {
  if (writeFailures_.count(Key(FullPath(path))) > 0) return kErrorDiskFull;
  if (node == nullptr) return ParentExists(path) ? 0 : kErrorPathNotFound;
  if (node->directory) return kErrorAccessDenied;
  // Windows refuses to overwrite read-only files. A hidden file is replaced like
  // any other (the new content is moved over it) and stays hidden.
  if ((node->attributes & file_attr::kReadOnly) != 0) return kErrorAccessDenied;
  return 0;
}

bool FakeFileSystem::FileExists(std::string_view path) {
  const Node* node = Find(path);
  return node != nullptr && !node->directory;
}

bool FakeFileSystem::DirectoryExists(std::string_view path) {
  if (IsRoot(path)) return true;
  const Node* node = Find(path);
  return node != nullptr && node->directory;
}

Result<std::string> FakeFileSystem::ReadAll(std::string_view path) {
  const Node* node = Find(path);
  if (node == nullptr) return SystemError{ParentExists(path) ? kErrorFileNotFound : kErrorPathNotFound};
  if (node->directory) return SystemError{kErrorAccessDenied};
  if (unreadable_.count(Key(FullPath(path))) > 0) return SystemError{kErrorSharingViolation};
  return node->bytes;
}

Result<void> FakeFileSystem::ReplaceAll(std::string_view path, std::string_view bytes) {
  CountWrite(path);
  Node* node = Find(path);
  if (const std::uint32_t error = WriteBlocked(path, node); error != 0) return SystemError{error};
  if (node == nullptr) {
    AddFile(path, bytes);
  } else {
    node->bytes.assign(bytes);
  }
  return {};
}

Result<void> FakeFileSystem::CreateIfMissing(std::string_view path, std::string_view initialBytes) {
  const Node* node = Find(path);
  if (node != nullptr) {
    if (node->directory) return SystemError{kErrorAccessDenied};
    return {};
  }
  if (const std::uint32_t error = WriteBlocked(path, node); error != 0) return SystemError{error};
  CountWrite(path);
  AddFile(path, initialBytes);
  return {};
}

std::optional<std::uint64_t> FakeFileSystem::FileSize(std::string_view path) {
  const Node* node = Find(path);
  if (node == nullptr || node->directory || unreadable_.count(Key(FullPath(path))) > 0) {
    return std::nullopt;
  }
  return node->bytes.size();
}

std::optional<std::uint32_t> FakeFileSystem::GetAttributes(std::string_view path) {
  if (IsRoot(path)) return file_attr::kDirectory;
  const Node* node = Find(path);
  if (node == nullptr) return std::nullopt;
  if (node->directory) return node->attributes | file_attr::kDirectory;
  return node->attributes == 0 ? file_attr::kNormal : node->attributes;
}

bool FakeFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  Node* node = Find(path);
  if (node == nullptr) return false;
  // As on Windows, "normal" only stands for "no other attribute".
  attributes &= ~(file_attr::kDirectory | file_attr::kNormal);
  node->attributes = attributes;
  return true;
}

bool FakeFileSystem::CreateDirectory(std::string_view path) {
  const std::string key = Key(FullPath(path));
  ++createDirectoryCalls_[key];
  if (DirectoryExists(path)) return true;
  if (Find(path) != nullptr || !ParentExists(path)) return false;
  if (auto failing = createDirectoryFailures_.find(key);
      failing != createDirectoryFailures_.end() && failing->second > 0) {
    --failing->second;
    return false;
  }
  AddDirectory(path);
  return true;
}

bool FakeFileSystem::DeleteFile(std::string_view path) {
  const Node* node = Find(path);
  if (node == nullptr || node->directory || (node->attributes & file_attr::kReadOnly) != 0) {
    return false;
  }
  nodes_.erase(Key(FullPath(path)));
  return true;
}

std::u16string FakeFileSystem::DecodeAnsi(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += (byte >= 0x80 && byte < 0xA0) ? kCp1252High[byte - 0x80] : char16_t{byte};
  }
  return text;
}

}  // namespace bootmark
