#include "fakes/portable_profile_api.h"

#include <functional>

#include "base/text.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

// Loads the file into an object bound to no file (which would create it); false when
// it exists but cannot be read or decoded.
bool Load(TSafeIniFile& ini, std::string_view file) {
  ini.LoadFromFile(file);
  return ini.LastError() == 0;
}

// Loads, changes and saves; a file that cannot be read is not replaced.
bool Change(IFileSystem& files, std::string_view file, const std::function<void(TSafeIniFile&)>& change) {
  // The system's functions refuse a read-only file, which the settings file object would update.
  if ((files.GetAttributes(file).value_or(0) & file_attr::kReadOnly) != 0) return false;
  TSafeIniFile ini(files);
  if (!Load(ini, file)) return false;
  change(ini);
  ini.SaveToFile(file);
  return ini.LastError() == 0;
}

}  // namespace

std::string PortableProfileApi::ReadString(std::string_view file, std::string_view section, std::string_view key,
                                           std::string_view defaultValue) {
  TSafeIniFile ini(files_);
  if (Load(ini, file) && ini.ValueExists(section, key)) return ini.ReadString(section, key, "");
  // The system drops trailing blanks of the default.
  return std::string(TrimRight(defaultValue));
}

std::vector<std::string> PortableProfileApi::ReadKeys(std::string_view file, std::string_view section) {
  TSafeIniFile ini(files_);
  return Load(ini, file) ? ini.ReadSection(section) : std::vector<std::string>{};
}

std::vector<std::string> PortableProfileApi::ReadSectionNames(std::string_view file) {
  TSafeIniFile ini(files_);
  return Load(ini, file) ? ini.ReadSections() : std::vector<std::string>{};
}

bool PortableProfileApi::WriteString(std::string_view file, std::string_view section, std::string_view key,
                                     std::string_view value) {
  return Change(files_, file, [&](TSafeIniFile& ini) { ini.WriteString(section, key, value); });
}

bool PortableProfileApi::DeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  return Change(files_, file, [&](TSafeIniFile& ini) { ini.DeleteKey(section, key); });
}

bool PortableProfileApi::EraseSection(std::string_view file, std::string_view section) {
  return Change(files_, file, [&](TSafeIniFile& ini) { ini.EraseSection(section); });
}

}  // namespace bootmark
