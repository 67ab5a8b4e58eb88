#include "app/main_data.h"

#include <set>

#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"

namespace bootmark {

std::vector<std::string> SortedExistingFiles(const std::vector<StartupFileEntry>& entries) {
  std::set<std::string, TextLessIgnoreCase> paths;
  for (const StartupFileEntry& entry : entries) {
    if (entry.fileExists) paths.insert(entry.filePath);
  }
  return {paths.begin(), paths.end()};
}

void WriteMainData(const Platform& platform, const std::vector<StartupFileEntry>& entries) {
  const std::string path = GetSuiteCommonDataDir(platform.shell) + "Startup Manager\\mainData.dat";
  TSafeIniFile file(platform.files, path, TextEncoding::Utf16LE);
  file.Clear();

  const std::vector<std::string> paths = SortedExistingFiles(entries);
  file.WriteString("btl", "ckey", std::to_string(platform.clock.TickCount()));
  file.WriteInteger("btl", "count", static_cast<std::int32_t>(paths.size()));
  for (std::size_t i = 0; i < paths.size(); ++i) {
    file.WriteString("btl", std::to_string(i + 1), "2|" + paths[i]);
  }
  // Saved when `file` goes out of scope.
}

}  // namespace bootmark
