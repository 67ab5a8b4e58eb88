#pragma once
// A file's version resource: the VS_VERSIONINFO tree that GetFileVersionInfoW
// returns, read from its bytes.
//
// Every block is: WORD length (of the whole block with its children), WORD value
// length (UTF-16 units for a text value, bytes for a binary one), WORD type (1
// text, 0 binary), the zero-terminated UTF-16 key, padding to 4 bytes, the value,
// padding to 4 bytes, then the child blocks, each starting on a 4-byte boundary.
// The root's value is the VS_FIXEDFILEINFO with the numeric versions; its
// children are "StringFileInfo" (string tables named by language and code page,
// holding the strings) and "VarFileInfo" ("Translation": pairs of language and
// code page).
//
// Reading never trusts the bytes: lengths that leave their parent end the list
// of children there, and a block nested deeper than any real resource is not
// read. The 16-bit form of old Windows 3.x files is not read.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

struct VersionBlock {
  std::u16string key;
  bool isText = false;
  // The value's bytes as they stand in the resource (UTF-16 LE for text).
  std::string value;
  std::vector<VersionBlock> children;
};

// The numeric file version of VS_FIXEDFILEINFO.
struct FixedFileVersion {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t release = 0;
  std::uint16_t build = 0;
  friend bool operator==(const FixedFileVersion&, const FixedFileVersion&) = default;
};

struct Translation {
  std::uint16_t language = 0;
  std::uint16_t codePage = 0;
  friend bool operator==(const Translation&, const Translation&) = default;
};

class VersionResource {
 public:
  // Nullopt when the bytes do not begin with a whole root block.
  static std::optional<VersionResource> Parse(std::string_view bytes);

  const VersionBlock& Root() const { return root_; }

  // The block at a path such as "\StringFileInfo\040904B0\CompanyName", keys
  // compared without regard to case, the first of equal names taken; "\" is the
  // root. Nullptr when there is none.
  const VersionBlock* Find(std::string_view path) const;

  // The file version of the root's VS_FIXEDFILEINFO; nullopt when the root's
  // value is too short to be one.
  std::optional<FixedFileVersion> FileVersion() const;
  // The first entry of "\VarFileInfo\Translation".
  std::optional<Translation> FirstTranslation() const;

  // A text value up to its first zero unit, as UTF-8.
  static std::string Text(const VersionBlock& block);

 private:
  VersionBlock root_;
};

// Name of the string table of a translation: 4 upper-case hexadecimal digits of
// the language, 4 of the code page ("040904B0").
std::string StringTableName(const Translation& translation);

}  // namespace bootmark
