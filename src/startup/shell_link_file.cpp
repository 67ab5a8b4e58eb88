#include "startup/shell_link_file.h"

#include <cstdint>

#include "base/text.h"

namespace bootmark {
namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::string_view kLinkClassId{"\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16};
// Link flags.
constexpr std::uint32_t kHasTargetIdList = 0x01;
constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasRelativePath = 0x08;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
// Link info flags, and the header size from which the Unicode offsets are present.
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr std::uint32_t kUnicodeLinkInfoHeader = 0x24;
// The shell object's buffers hold 260 characters with the terminating zero.
constexpr std::size_t kMaxFieldUnits = 259;

// Little-endian reads that check the end of the bytes.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool Has(std::size_t at, std::size_t length) const { return at <= bytes_.size() && length <= bytes_.size() - at; }
  std::string_view Slice(std::size_t at, std::size_t length) const { return bytes_.substr(at, length); }
  bool Read(std::size_t at, std::size_t width, std::uint32_t& value) const {
    if (!Has(at, width)) return false;
    value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes_[at + i]);
    return true;
  }

 private:
  std::string_view bytes_;
};

std::u16string Utf16Units(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return units;
}

// A field as the shell object's buffer holds it: up to its first zero (some
// writers count the terminating zero in), at most 259 characters.
std::u16string Cut(std::u16string units) {
  if (const std::size_t zero = units.find(u'\0'); zero != std::u16string::npos) units.resize(zero);
  if (units.size() > kMaxFieldUnits) units.resize(kMaxFieldUnits);
  return units;
}

// The zero-terminated text at `at` that ends before `end`; false when it does not.
bool TerminatedText(const Reader& reader, std::size_t at, std::size_t end, bool unicode,
                    const AnsiDecoder& decodeAnsi, std::u16string& text) {
  const std::size_t width = unicode ? 2 : 1;
  for (std::size_t pos = at; pos + width <= end; pos += width) {
    std::uint32_t unit = 0;
    if (!reader.Read(pos, width, unit)) return false;
    if (unit == 0) {
      const std::string_view raw = reader.Slice(at, pos - at);
      text = unicode ? Utf16Units(raw) : decodeAnsi(raw);
      return true;
    }
  }
  return false;
}

// The link info block at `at`: the local base path followed by the common path
// suffix, the Unicode forms where the block has them. A block without a local
// base path gives an empty target.
bool ReadLinkInfo(const Reader& reader, std::size_t at, const AnsiDecoder& decodeAnsi, std::u16string& target,
                  std::size_t& size) {
  std::uint32_t blockSize = 0, headerSize = 0, flags = 0, baseOffset = 0, suffixOffset = 0;
  if (!reader.Read(at, 4, blockSize) || blockSize < 0x1C || !reader.Has(at, blockSize) ||
      !reader.Read(at + 4, 4, headerSize) || headerSize > blockSize || !reader.Read(at + 8, 4, flags) ||
      !reader.Read(at + 16, 4, baseOffset) || !reader.Read(at + 24, 4, suffixOffset)) {
    return false;
  }
  size = blockSize;
  if ((flags & kVolumeIdAndLocalBasePath) == 0) return true;
  const std::size_t end = at + blockSize;
  bool unicode = false;
  if (headerSize >= kUnicodeLinkInfoHeader) {
    std::uint32_t wideBase = 0, wideSuffix = 0;
    if (!reader.Read(at + 28, 4, wideBase) || !reader.Read(at + 32, 4, wideSuffix)) return false;
    if (wideBase != 0) {
      baseOffset = wideBase;
      suffixOffset = wideSuffix;
      unicode = true;
    }
  }
  if (baseOffset >= blockSize || suffixOffset >= blockSize) return false;
  std::u16string base, suffix;
  if (!TerminatedText(reader, at + baseOffset, end, unicode, decodeAnsi, base)) return false;
  if (suffixOffset != 0 && !TerminatedText(reader, at + suffixOffset, end, unicode, decodeAnsi, suffix)) return false;
  target = base + suffix;
  return true;
}

}  // namespace

std::optional<ShellLinkFields> ParseShellLinkFile(std::string_view bytes, const AnsiDecoder& decodeAnsi) {
  const Reader reader(bytes);
  std::uint32_t headerSize = 0, flags = 0;
  if (!reader.Read(0, 4, headerSize) || headerSize != kHeaderSize || !reader.Has(0, kHeaderSize) ||
      reader.Slice(4, kLinkClassId.size()) != kLinkClassId || !reader.Read(0x14, 4, flags)) {
    return std::nullopt;
  }
  std::size_t at = kHeaderSize;
  if (flags & kHasTargetIdList) {
    std::uint32_t listSize = 0;
    if (!reader.Read(at, 2, listSize) || !reader.Has(at + 2, listSize)) return std::nullopt;
    at += 2 + listSize;
  }
  std::u16string target;
  if (flags & kHasLinkInfo) {
    std::size_t infoSize = 0;
    if (!ReadLinkInfo(reader, at, decodeAnsi, target, infoSize)) return std::nullopt;
    at += infoSize;
  }

  // The string data: each a count of characters and the characters, unterminated.
  const bool unicode = (flags & kIsUnicode) != 0;
  const std::size_t width = unicode ? 2 : 1;
  std::u16string strings[5];
  constexpr std::uint32_t kStringFlags[5] = {kHasName, kHasRelativePath, kHasWorkingDir, kHasArguments,
                                             kHasIconLocation};
  for (std::size_t i = 0; i < 5; ++i) {
    if ((flags & kStringFlags[i]) == 0) continue;
    std::uint32_t count = 0;
    if (!reader.Read(at, 2, count) || !reader.Has(at + 2, std::size_t{count} * width)) return std::nullopt;
    const std::string_view raw = reader.Slice(at + 2, std::size_t{count} * width);
    strings[i] = unicode ? Utf16Units(raw) : decodeAnsi(raw);
    at += 2 + std::size_t{count} * width;
  }

  ShellLinkFields fields;
  fields.target = Utf16ToUtf8(Cut(std::move(target)));
  fields.description = Utf16ToUtf8(Cut(std::move(strings[0])));
  fields.workingFolder = Utf16ToUtf8(Cut(std::move(strings[2])));
  fields.arguments = Utf16ToUtf8(Cut(std::move(strings[3])));
  fields.iconLocation = Utf16ToUtf8(Cut(std::move(strings[4])));
  return fields;
}

}  // namespace bootmark
