// Reading a settings file: recognising its encoding, decoding it to UTF-8 and
// parsing the text into sections and lines.
#include "common/safe_ini_file.h"

#include <new>

#include "base/text.h"
#include "common/safe_ini_file_errors.h"

namespace bootmark {
namespace {

constexpr std::uint32_t kErrorGeneric = safe_ini_errors::kGeneric;
constexpr std::uint32_t kErrorNotEnoughMemory = safe_ini_errors::kNotEnoughMemory;
constexpr std::uint32_t kErrorNoUnicodeTranslation = safe_ini_errors::kNoUnicodeTranslation;

constexpr std::string_view kBomUtf16LE = "\xFF\xFE";
constexpr std::string_view kBomUtf16BE = "\xFE\xFF";
constexpr std::string_view kBomUtf8 = "\xEF\xBB\xBF";

}  // namespace

std::string_view ByteOrderMark(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return kBomUtf8;
    case TextEncoding::Utf16LE:
      return kBomUtf16LE;
    case TextEncoding::Utf16BE:
      return kBomUtf16BE;
    case TextEncoding::None:
    case TextEncoding::Ansi:
      break;
  }
  return {};
}

TextEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kBomUtf16LE)) return TextEncoding::Utf16LE;
  if (bytes.starts_with(kBomUtf16BE)) return TextEncoding::Utf16BE;
  if (bytes.starts_with(kBomUtf8)) return TextEncoding::Utf8;
  return TextEncoding::Ansi;
}

bool DecodeFileText(IFileSystem& files, std::string_view bytes, std::string& text) {
  switch (DetectEncoding(bytes)) {
    case TextEncoding::Utf16LE:
      return TryDecodeUtf16Bytes(bytes.substr(kBomUtf16LE.size()), false, text);
    case TextEncoding::Utf16BE:
      return TryDecodeUtf16Bytes(bytes.substr(kBomUtf16BE.size()), true, text);
    case TextEncoding::Utf8:
      bytes.remove_prefix(kBomUtf8.size());
      if (!IsWellFormedUtf8(bytes)) return false;
      text.assign(bytes);
      return true;
    case TextEncoding::None:
    case TextEncoding::Ansi:
      break;
  }
  // Text in the ANSI code page never holds a NUL byte: such a file is binary and
  // rewriting it as settings would lose what it holds.
  if (bytes.find('\0') != std::string_view::npos) return false;
  text = Utf16ToUtf8(files.DecodeAnsi(bytes));
  return true;
}

void TSafeIniFile::LoadFromFile(std::string_view fileName) { Load(fileName); }

void TSafeIniFile::Load(std::string_view fileName) {
  LoadContent(fileName);
  if (lastError_ != 0) Clear();
  if (fileName == fileName_) unreadOnDisk_ = lastError_ != 0;
}

void TSafeIniFile::LoadContent(std::string_view fileName) {
  lastError_ = 0;
  Clear();
  if (!files_.FileExists(fileName)) return;
  try {
    Result<std::string> read = files_.ReadAll(fileName);
    if (!read) {
      lastError_ = read.error() != 0 ? read.error() : kErrorGeneric;
      return;
    }
    std::optional<std::string> bytes = std::move(read).value();
    if (loadFilter_) {
      std::string filtered;
      if (!loadFilter_(*bytes, filtered)) {
        lastError_ = kErrorGeneric;
        return;
      }
      *bytes = std::move(filtered);
    }
    std::string text;
    if (!DecodeFileText(files_, *bytes, text)) {
      lastError_ = kErrorNoUnicodeTranslation;
      return;
    }
    bytes.reset();
    Parse(text);
  } catch (const std::bad_alloc&) {
    lastError_ = kErrorNotEnoughMemory;
  } catch (...) {
    lastError_ = kErrorGeneric;
  }
}

void TSafeIniFile::Parse(std::string_view text) {
  int current = -1;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    const std::string_view line = Trim(text.substr(pos, end - pos));
    // CR LF, LF and CR all end a line.
    pos = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;

    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = AddSection(std::string(Trim(line.substr(1, line.size() - 2))));
      continue;
    }
    if (current < 0) continue;  // Lines before the first section belong to none.
    std::string_view name, value;
    if (TIniHashedStringList::SplitLine(line, name, value)) {
      name = Trim(name);
      value = Trim(value);
      std::string stored;
      stored.reserve(name.size() + 1 + value.size());
      stored.append(name).append(1, '=').append(value);
      sections_[static_cast<std::size_t>(current)].lines.Add(std::move(stored));
    } else {
      sections_[static_cast<std::size_t>(current)].lines.Add(std::string(line));
    }
  }
}

}  // namespace bootmark
