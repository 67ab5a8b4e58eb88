#include "common/safe_ini_file.h"

#include <algorithm>
#include <new>

#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"

namespace bootmark {
namespace {

// Win32 error codes the loader reports when the system gives none of its own.
constexpr std::uint32_t kErrorGeneric = 1;
constexpr std::uint32_t kErrorNotEnoughMemory = 8;
constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;

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

namespace ini_format {

std::int32_t ParseInteger(std::string_view text, std::int32_t defaultValue) {
  return StrToIntDef(Trim(text), defaultValue);
}

std::string FormatInteger(std::int32_t value) { return IntToStr(value); }

bool ParseBool(std::string_view text, bool defaultValue) {
  return ParseInteger(text, defaultValue ? 1 : 0) != 0;
}

std::string FormatBool(bool value) { return value ? "1" : "0"; }

double ParseFloat(std::string_view text, double defaultValue) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty()) return defaultValue;
  // Files written where "," is the decimal separator are read alike.
  const std::string normalised = bootmark::ReplaceAll(trimmed, ",", ".");
  if (auto value = TryParseFloat(normalised)) return *value;
  throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

std::string FormatFloat(double value) { return FloatToStr(value); }

DateTime ParseDateTime(std::string_view text, DateTime defaultValue) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty()) return defaultValue;
  return ParseSettingsDateTime(trimmed).value_or(defaultValue);
}

std::string FormatDateTime(DateTime value) { return FormatSettingsDateTime(value); }

}  // namespace ini_format

namespace {

// Side copy of a file that could not be read: "<name>.unreadable" beside it.
constexpr std::string_view kUnreadableSuffix = ".unreadable";

// Folder part of a settings file name that has to exist before the file can:
// empty when the name has none, or names the root or the current folder.
std::string FolderToCreate(std::string_view fileName) {
  std::string folder = ExtractFilePath(fileName);
  if (folder == "\\" || folder == ".\\") folder.clear();
  return folder;
}

}  // namespace

TSafeIniFile::TSafeIniFile(IFileSystem& files) : files_(files) {}

TSafeIniFile::TSafeIniFile(IFileSystem& files, std::string fileName, TextEncoding encoding,
                           StreamFilter loadFilter, StreamFilter saveFilter)
    : files_(files),
      fileName_(std::move(fileName)),
      encoding_(encoding),
      loadFilter_(std::move(loadFilter)),
      saveFilter_(std::move(saveFilter)) {
  if (fileName_.empty()) return;
  const std::string folder = FolderToCreate(fileName_);
  if (!folder.empty() && !files_.FileExists(fileName_)) ForceDirectories(files_, folder);
  Load(fileName_);
  // A file that exists but could not be read must not be replaced by the
  // (empty) content the object now holds.
  if (lastError_ != 0) noAutoSave_ = true;
  if (!files_.FileExists(fileName_)) {
    if (!folder.empty()) ForceDirectories(files_, folder);
    files_.CreateIfMissing(fileName_, ByteOrderMark(encoding_));
  }
}

TSafeIniFile::~TSafeIniFile() {
  if (!modified_ || noAutoSave_) return;
  try {
    UpdateFile();
  } catch (...) {
    // A destructor has no one to report to; the file keeps its last saved content.
  }
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

int TSafeIniFile::FindSection(std::string_view name) const {
  return sectionIndex_.Find(name, [this](int i) -> std::string_view {
    return sections_[static_cast<std::size_t>(i)].name;
  });
}

int TSafeIniFile::AddSection(std::string name) {
  const int index = static_cast<int>(sections_.size());
  sections_.push_back(Section{std::move(name), {}});
  sectionIndex_.Insert(sections_.back().name, index, [this](int i) -> std::string_view {
    return sections_[static_cast<std::size_t>(i)].name;
  });
  return index;
}

void TSafeIniFile::RebuildSectionIndex() {
  sectionIndex_.Clear();
  const auto nameAt = [this](int i) -> std::string_view {
    return sections_[static_cast<std::size_t>(i)].name;
  };
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    sectionIndex_.Insert(sections_[i].name, static_cast<int>(i), nameAt);
  }
}

void TSafeIniFile::ResetCache() {
  cacheName_.clear();
  cacheIndex_ = -1;
}

int TSafeIniFile::SectionForWrite(std::string_view name) {
  // The cache compares exactly: a name spelled differently takes the (case-
  // insensitive) lookup and so still finds the same section.
  if (cacheIndex_ >= 0 && cacheName_ == name) return cacheIndex_;
  int index = FindSection(name);
  if (index < 0) index = AddSection(std::string(name));
  cacheName_.assign(name);
  cacheIndex_ = index;
  return index;
}

bool TSafeIniFile::FindValue(std::string_view section, std::string_view key,
                             std::string_view& value) const {
  const int s = FindSection(section);
  if (s < 0) return false;
  const TIniHashedStringList& lines = sections_[static_cast<std::size_t>(s)].lines;
  const int line = lines.IndexOfName(key);
  if (line < 0) return false;
  value = lines.ValueAt(line);
  return true;
}

std::string TSafeIniFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
  std::string_view value;
  return std::string(FindValue(section, key, value) ? value : defaultValue);
}

void TSafeIniFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  TIniHashedStringList& lines = sections_[static_cast<std::size_t>(SectionForWrite(section))].lines;
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append(1, '=').append(value);
  if (appendOnly_) {
    lines.Add(std::move(line));
  } else if (const int existing = lines.IndexOfName(key); existing >= 0) {
    lines.Put(existing, std::move(line));
  } else {
    lines.Add(std::move(line));
  }
  modified_ = true;
}

std::int32_t TSafeIniFile::ReadInteger(std::string_view section, std::string_view key,
                                       std::int32_t defaultValue) const {
  std::string_view value;
  return FindValue(section, key, value) ? ini_format::ParseInteger(value, defaultValue)
                                        : defaultValue;
}

void TSafeIniFile::WriteInteger(std::string_view section, std::string_view key,
                                std::int32_t value) {
  WriteString(section, key, ini_format::FormatInteger(value));
}

bool TSafeIniFile::ReadBool(std::string_view section, std::string_view key,
                            bool defaultValue) const {
  std::string_view value;
  return FindValue(section, key, value) ? ini_format::ParseBool(value, defaultValue)
                                        : defaultValue;
}

void TSafeIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, ini_format::FormatBool(value));
}

double TSafeIniFile::ReadFloat(std::string_view section, std::string_view key,
                               double defaultValue) const {
  std::string_view value;
  return FindValue(section, key, value) ? ini_format::ParseFloat(value, defaultValue)
                                        : defaultValue;
}

void TSafeIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, ini_format::FormatFloat(value));
}

DateTime TSafeIniFile::ReadDateTime(std::string_view section, std::string_view key,
                                    DateTime defaultValue) const {
  std::string_view value;
  return FindValue(section, key, value) ? ini_format::ParseDateTime(value, defaultValue)
                                        : defaultValue;
}

void TSafeIniFile::WriteDateTime(std::string_view section, std::string_view key,
                                 DateTime value) {
  WriteString(section, key, ini_format::FormatDateTime(value));
}

std::vector<std::string> TSafeIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  const int s = FindSection(section);
  if (s < 0) return keys;
  for (const std::string& line : sections_[static_cast<std::size_t>(s)].lines.Lines()) {
    std::string_view name, value;
    if (TIniHashedStringList::SplitLine(line, name, value)) keys.emplace_back(name);
  }
  return keys;
}

std::vector<std::string> TSafeIniFile::ReadSections() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::string> TSafeIniFile::ReadSectionValues(std::string_view section) const {
  const int s = FindSection(section);
  if (s < 0) return {};
  return sections_[static_cast<std::size_t>(s)].lines.Lines();
}

bool TSafeIniFile::SectionExists(std::string_view section) const {
  return FindSection(section) >= 0;
}

bool TSafeIniFile::ValueExists(std::string_view section, std::string_view key) const {
  std::string_view value;
  return FindValue(section, key, value);
}

void TSafeIniFile::EraseSection(std::string_view section) {
  const int s = FindSection(section);
  if (s < 0) return;
  sections_.erase(sections_.begin() + s);
  RebuildSectionIndex();
  // Positions after the erased section moved; the next write looks its section up.
  ResetCache();
}

void TSafeIniFile::DeleteKey(std::string_view section, std::string_view key) {
  const int s = FindSection(section);
  if (s < 0) return;
  TIniHashedStringList& lines = sections_[static_cast<std::size_t>(s)].lines;
  const int line = lines.IndexOfName(key);
  if (line < 0) return;
  lines.Delete(line);
  modified_ = true;
}

void TSafeIniFile::Clear() {
  sections_.clear();
  sectionIndex_.Clear();
  ResetCache();
}

bool TSafeIniFile::Serialise(std::string& bytes) const {
  try {
    std::size_t estimate = 2;
    for (const Section& section : sections_) {
      estimate += section.name.size() + 6;
      for (const std::string& line : section.lines.Lines()) estimate += line.size() + 2;
    }
    std::string encoded;
    encoded.reserve(estimate * 2);
    encoded.assign(kBomUtf16LE);
    for (const Section& section : sections_) {
      AppendUtf16(encoded, "[");
      AppendUtf16(encoded, section.name);
      AppendUtf16(encoded, "]\r\n");
      for (const std::string& line : section.lines.Lines()) {
        AppendUtf16(encoded, line);
        AppendUtf16(encoded, "\r\n");
      }
      AppendUtf16(encoded, "\r\n");
    }
    if (!saveFilter_) {
      bytes = std::move(encoded);
      return true;
    }
    return saveFilter_(encoded, bytes);
  } catch (...) {
    return false;
  }
}

bool TSafeIniFile::MoveAside(const std::string& path) {
  const std::string sideCopy = path + std::string(kUnreadableSuffix);
  // One side copy, the latest: an older one makes way.
  if (files_.FileExists(sideCopy) && !files_.DeleteFile(sideCopy)) return false;
  return files_.MoveFile(path, sideCopy);
}

void TSafeIniFile::UpdateFile() {
  if (fileName_.empty()) return;
  WriteTo(fileName_);
  if (lastError_ == 0) modified_ = false;
}

void TSafeIniFile::SaveToFile(std::string_view fileName) {
  lastError_ = 0;
  if (!fileName.empty()) WriteTo(fileName);
}

void TSafeIniFile::WriteTo(std::string_view fileName) {
  std::string path(fileName);
  const std::string folder = ExtractFilePath(path);
  if (folder.empty() || folder == "\\") {
    path.insert(0, ".\\");
  } else {
    ForceDirectories(files_, folder);
  }

  std::string bytes;
  if (!Serialise(bytes)) {
    lastError_ = kErrorGeneric;
    return;
  }

  constexpr std::uint32_t kBlocking = file_attr::kReadOnly | file_attr::kHidden;
  const std::optional<std::uint32_t> found = files_.GetAttributes(path);
  const std::uint32_t attributes = found.value_or(0);
  // An explicit save heals a file that could not be read, but what it held is
  // never lost: it moves aside first, and when it cannot, nothing is written.
  if (unreadOnDisk_ && found) {
    if (!MoveAside(path)) {
      lastError_ = kErrorGeneric;
      return;
    }
    unreadOnDisk_ = false;
  }
  const bool clearAttributes = (attributes & kBlocking) != 0;
  if (clearAttributes && files_.FileExists(path)) files_.SetAttributes(path, attributes & ~kBlocking);

  if (!files_.ReplaceAll(path, bytes).ok()) lastError_ = kErrorGeneric;

  if (clearAttributes) files_.SetAttributes(path, attributes);
}

}  // namespace bootmark
