#include "common/safe_ini_file.h"

#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"

namespace bootmark {

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
  sharedLock_ = files_.LockSharedFile(fileName_, kSharedFileLockWaitMs);
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

}  // namespace bootmark
