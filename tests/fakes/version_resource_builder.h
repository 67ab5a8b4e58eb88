#pragma once
// Builds the bytes of version resources laid out as resource compilers write
// them, for tests: every block a 6-byte header, its UTF-16 key, its value and
// its children, each part starting on a 4-byte boundary.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text.h"

namespace bootmark::testing::version_bytes {

inline void PutWord(std::string& bytes, std::uint16_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>(value >> 8);
}

inline void PadTo4(std::string& bytes) {
  while (bytes.size() % 4 != 0) bytes += '\0';
}

inline std::string Utf16Bytes(std::string_view text, bool withZero) {
  std::u16string units = Utf8ToUtf16(text);
  if (withZero) units += u'\0';
  std::string bytes;
  for (char16_t unit : units) PutWord(bytes, unit);
  return bytes;
}

// One block. `valueLength` is what the header states: UTF-16 units for text,
// bytes otherwise; -1 computes it from the value as compilers do.
inline std::string Block(std::string_view key, bool text, std::string_view value,
                         const std::vector<std::string>& children = {}, int valueLength = -1) {
  std::string bytes(6, '\0');
  bytes += Utf16Bytes(key, true);
  PadTo4(bytes);
  bytes += value;
  for (const std::string& child : children) {
    PadTo4(bytes);
    bytes += child;
  }
  const std::size_t stated = valueLength >= 0 ? static_cast<std::size_t>(valueLength)
                                              : (text ? value.size() / 2 : value.size());
  std::string header;
  PutWord(header, static_cast<std::uint16_t>(bytes.size()));
  PutWord(header, static_cast<std::uint16_t>(stated));
  PutWord(header, text ? 1 : 0);
  bytes.replace(0, 6, header);
  return bytes;
}

inline std::string String(std::string_view key, std::string_view text) {
  return Block(key, true, Utf16Bytes(text, true));
}

inline std::string Table(std::string_view name, const std::vector<std::pair<std::string, std::string>>& strings) {
  std::vector<std::string> children;
  for (const auto& [key, text] : strings) children.push_back(String(key, text));
  return Block(name, true, "", children);
}

inline std::string StringFileInfo(const std::vector<std::string>& tables) {
  return Block("StringFileInfo", true, "", tables);
}

inline std::string VarFileInfo(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& translations) {
  std::string value;
  for (const auto& [language, codePage] : translations) {
    PutWord(value, language);
    PutWord(value, codePage);
  }
  return Block("VarFileInfo", true, "", {Block("Translation", false, value)});
}

// VS_FIXEDFILEINFO with the file version given and the product version 9.9.9.9.
inline std::string FixedFileInfo(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                                 std::uint16_t build) {
  std::string value;
  const auto dword = [&value](std::uint32_t v) {
    PutWord(value, static_cast<std::uint16_t>(v));
    PutWord(value, static_cast<std::uint16_t>(v >> 16));
  };
  dword(0xFEEF04BD);  // signature
  dword(0x00010000);  // structure version
  dword(static_cast<std::uint32_t>(major) << 16 | minor);
  dword(static_cast<std::uint32_t>(release) << 16 | build);
  dword(0x00090009);
  dword(0x00090009);
  for (int i = 0; i < 7; ++i) dword(0);  // flags mask, flags, OS, type, subtype, date
  return value;
}

inline std::string Root(std::string_view fixedInfo, const std::vector<std::string>& children) {
  return Block("VS_VERSION_INFO", false, fixedInfo, children);
}

// A resource with one US English (0409, Unicode) string table named by its translation.
inline std::string English(const std::vector<std::pair<std::string, std::string>>& strings,
                           std::string_view fixedInfo = FixedFileInfo(1, 0, 0, 0)) {
  return Root(fixedInfo, {StringFileInfo({Table("040904B0", strings)}), VarFileInfo({{0x0409, 0x04B0}})});
}

}  // namespace bootmark::testing::version_bytes
