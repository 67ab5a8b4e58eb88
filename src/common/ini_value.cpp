#include "common/ini_value.h"

#include "common/safe_ini_file.h"

namespace bootmark {

std::string ReadIniValue(IFileSystem& files, std::string_view fileName, std::string_view section,
                         std::string_view key) {
  constexpr std::string_view kDefault = "1";
  if (!files.FileExists(fileName)) return std::string(kDefault);
  // Unbound, so that nothing is ever written back.
  TSafeIniFile ini(files);
  ini.LoadFromFile(fileName);
  return ini.ReadString(section, key, kDefault);
}

}  // namespace bootmark
