#pragma once
// TIniFile: a settings file read and written through the system's profile
// functions. Every call goes to the file itself, so it is the class for files
// another program may be writing at the same time; TSafeIniFile is the one for
// files this program owns.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile.h"

namespace bootmark {

class TIniFile {
 public:
  // Prepares the file: creates its folder, clears a read-only attribute, creates
  // the file if missing and gives an empty file the UTF-16 LE byte order mark so
  // that the profile functions keep writing it in UTF-16.
  TIniFile(IFileSystem& files, IProfileApi& profile, std::string fileName);

  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const { return fileName_; }
  IFileSystem& Files() const { return files_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue);
  // False when the system refused the write.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);

  std::vector<std::string> ReadSections();
  std::vector<std::string> ReadSection(std::string_view section);
  bool SectionExists(std::string_view section);
  bool DeleteKey(std::string_view section, std::string_view key);

  // Flushes the system's cached copy of the file to disk.
  void UpdateFile();

 private:
  void PrepareFile();

  IFileSystem& files_;
  IProfileApi& profile_;
  std::string fileName_;
};

}  // namespace bootmark
