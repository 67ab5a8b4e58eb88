#include "common/ini_file.h"

#include <algorithm>

#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"

namespace bootmark {

TIniFile::TIniFile(IFileSystem& files, IProfileApi& profile, std::string fileName)
    : files_(files), profile_(profile), fileName_(std::move(fileName)) {
  PrepareFile();
  files_.CreateIfMissing(fileName_, ByteOrderMark(TextEncoding::Utf16LE));
  // An empty file would be written in ANSI by the profile functions; the byte
  // order mark makes them keep it in UTF-16.
  if (files_.FileSize(fileName_) == std::uint64_t{0}) {
    files_.ReplaceAll(fileName_, ByteOrderMark(TextEncoding::Utf16LE));
  }
}

void TIniFile::PrepareFile() {
  const std::string folder = ExtractFilePath(fileName_);
  if (folder.empty() || folder == "\\") {
    fileName_.insert(0, ".\\");
  } else {
    ForceDirectories(files_, folder);
  }
  // The profile functions cannot write a read-only file; the program's own
  // settings must stay writable.
  const std::optional<std::uint32_t> attributes = files_.GetAttributes(fileName_);
  if (attributes && (*attributes & file_attr::kReadOnly) != 0) {
    files_.SetAttributes(fileName_, *attributes & ~file_attr::kReadOnly);
  }
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) {
  return profile_.ReadString(fileName_, section, key, defaultValue);
}

bool TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
  return profile_.WriteString(fileName_, section, key, value);
}

std::vector<std::string> TIniFile::ReadSections() { return profile_.ReadSectionNames(fileName_); }

std::vector<std::string> TIniFile::ReadSection(std::string_view section) {
  return profile_.ReadKeys(fileName_, section);
}

bool TIniFile::SectionExists(std::string_view section) {
  const std::vector<std::string> names = ReadSections();
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& name) { return SameText(name, section); });
}

bool TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  return profile_.DeleteKey(fileName_, section, key);
}

void TIniFile::UpdateFile() {
  // Once prepared the name has a folder part, so this only makes sure the folder
  // still exists and the file is still writable before the system writes to it.
  PrepareFile();
  profile_.Flush(fileName_);
}

}  // namespace bootmark
