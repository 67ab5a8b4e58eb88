// Arbitrary bytes as a file's version resource: reading must never crash or
// hang, whatever is read must stay inside the input and within the depth limit,
// the room the system keeps after a resource must not change what is read, and
// the field reader succeeds exactly when the resource parses.
// fuzz-max-len: 66000
#include "base/text.h"
#include "common/file_version.h"
#include "fakes/fake_system_ports.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kFile = "C:\\Fuzz\\input.exe";

bool SameTree(const VersionBlock& a, const VersionBlock& b) {
  if (a.key != b.key || a.isText != b.isText || a.value != b.value || a.children.size() != b.children.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.children.size(); ++i) {
    if (!SameTree(a.children[i], b.children[i])) return false;
  }
  return true;
}

// Every block fits in the input, and Find by the path of keys that leads to a
// block reaches a block of that key (the first of equal names).
void CheckBlocks(const VersionResource& resource, const VersionBlock& block, const std::string& path,
                 std::size_t inputSize, int depth, std::size_t& count) {
  Check(depth <= 16);
  Check(block.value.size() + block.key.size() * 2 <= inputSize);
  ++count;
  Check(count * 6 <= inputSize);
  VersionResource::Text(block);
  for (const VersionBlock& child : block.children) {
    const std::string name = Utf16ToUtf8(child.key);
    if (name.empty() || name.find('\\') != std::string::npos) continue;
    const std::string childPath = path + "\\" + name;
    const VersionBlock* found = resource.Find(childPath);
    Check(found != nullptr && SameText(Utf16ToUtf8(found->key), name));
    // Below a block that an earlier namesake hides, paths lead elsewhere.
    if (found == &child) CheckBlocks(resource, child, childPath, inputSize, depth + 1, count);
  }
}

BOOTMARK_FUZZ_TARGET(bytes) {
  testing::FakeVersionResources versions;
  versions.Set(kFile, bytes);

  const std::optional<VersionResource> resource = VersionResource::Parse(bytes);
  const std::optional<FileVersionFields> strings =
      GetFileVersionFields(versions, kFile, kExtraVersionString, FileVersionSource::kString);
  Check(strings.has_value() == resource.has_value());
  if (!resource) {
    Check(GetFileVersionField(versions, kFile, 1, "default") == "default");
    return;
  }

  std::size_t count = 0;
  CheckBlocks(*resource, resource->Root(), "", bytes.size(), 0, count);

  // Extra room after the resource, as GetFileVersionInfoW leaves, changes nothing.
  const std::optional<VersionResource> padded = VersionResource::Parse(bytes + std::string(64, '\x5A'));
  Check(padded.has_value() && SameTree(padded->Root(), resource->Root()));

  Check(GetFileVersionField(versions, kFile, 1, "default") == strings->CompanyName);
}
