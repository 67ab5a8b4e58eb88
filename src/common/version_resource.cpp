#include "common/version_resource.h"

#include <cstdio>

#include "base/text.h"

namespace bootmark {
namespace {

constexpr std::size_t kHeaderBytes = 6;
// Real resources nest four deep (root, StringFileInfo, table, string).
constexpr int kMaxDepth = 8;
constexpr std::size_t kFixedFileInfoBytes = 52;

std::uint16_t Word(std::string_view bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                    static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

std::uint32_t Dword(std::string_view bytes, std::size_t offset) {
  return Word(bytes, offset) | static_cast<std::uint32_t>(Word(bytes, offset + 2)) << 16;
}

std::size_t AlignTo4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

// Reads the block at `offset`, which must end by `limit`. Offsets count from the
// start of the resource, which the system keeps on a 4-byte boundary.
std::optional<VersionBlock> ReadBlock(std::string_view bytes, std::size_t offset, std::size_t limit, int depth) {
  if (depth > kMaxDepth || offset + kHeaderBytes > limit) return std::nullopt;
  const std::size_t length = Word(bytes, offset);
  const std::size_t valueLength = Word(bytes, offset + 2);
  const std::uint16_t type = Word(bytes, offset + 4);
  if (length < kHeaderBytes || offset + length > limit) return std::nullopt;
  const std::size_t end = offset + length;

  VersionBlock block;
  block.isText = type == 1;
  std::size_t cursor = offset + kHeaderBytes;
  while (true) {
    if (cursor + 2 > end) return std::nullopt;  // the key runs out of the block
    const char16_t unit = Word(bytes, cursor);
    cursor += 2;
    if (unit == 0) break;
    block.key += unit;
  }

  const std::size_t valueStart = std::min(AlignTo4(cursor), end);
  const std::size_t valueBytes = block.isText ? valueLength * 2 : valueLength;
  const std::size_t valueEnd = std::min(valueStart + valueBytes, end);
  block.value.assign(bytes.substr(valueStart, valueEnd - valueStart));

  std::size_t child = AlignTo4(valueStart + valueBytes);
  while (child + kHeaderBytes <= end) {
    std::optional<VersionBlock> read = ReadBlock(bytes, child, end, depth + 1);
    if (!read) break;
    child = AlignTo4(child + Word(bytes, child));
    block.children.push_back(std::move(*read));
  }
  return block;
}

bool SameKey(const std::u16string& key, std::string_view name) { return SameText(Utf16ToUtf8(key), name); }

}  // namespace

std::optional<VersionResource> VersionResource::Parse(std::string_view bytes) {
  if (bytes.size() < kHeaderBytes) return std::nullopt;
  // The 16-bit form has the key's first character where the 32-bit form has
  // the type (0 or 1).
  if (static_cast<unsigned char>(bytes[4]) >= ' ') return std::nullopt;
  std::optional<VersionBlock> root = ReadBlock(bytes, 0, bytes.size(), 0);
  if (!root) return std::nullopt;
  VersionResource resource;
  resource.root_ = std::move(*root);
  return resource;
}

const VersionBlock* VersionResource::Find(std::string_view path) const {
  const VersionBlock* block = &root_;
  for (const std::string& name : SplitText(path, "\\")) {
    if (name.empty()) continue;
    const VersionBlock* found = nullptr;
    for (const VersionBlock& child : block->children) {
      if (SameKey(child.key, name)) {
        found = &child;
        break;
      }
    }
    if (found == nullptr) return nullptr;
    block = found;
  }
  return block;
}

std::optional<FixedFileVersion> VersionResource::FileVersion() const {
  if (root_.value.size() < kFixedFileInfoBytes) return std::nullopt;
  const std::uint32_t high = Dword(root_.value, 8);
  const std::uint32_t low = Dword(root_.value, 12);
  return FixedFileVersion{static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high),
                          static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low)};
}

std::optional<Translation> VersionResource::FirstTranslation() const {
  const VersionBlock* block = Find("\\VarFileInfo\\Translation");
  if (block == nullptr || block->value.size() < 4) return std::nullopt;
  return Translation{Word(block->value, 0), Word(block->value, 2)};
}

std::string VersionResource::Text(const VersionBlock& block) {
  std::u16string text;
  for (std::size_t offset = 0; offset + 2 <= block.value.size(); offset += 2) {
    const char16_t unit = Word(block.value, offset);
    if (unit == 0) break;
    text += unit;
  }
  return Utf16ToUtf8(text);
}

std::string StringTableName(const Translation& translation) {
  char name[9];
  std::snprintf(name, sizeof name, "%04X%04X", static_cast<unsigned>(translation.language),
                static_cast<unsigned>(translation.codePage));
  return name;
}

}  // namespace bootmark
