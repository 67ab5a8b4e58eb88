#include "startup/auto_run_config.h"

#include "common/data_dirs.h"
#include "common/safe_ini_file.h"

namespace bootmark {

void ClearAutoRunConfig(const Platform& platform) {
  const std::string path = GetSuiteCommonDataDir(platform.shell) + "Bootmark\\AutoRunConfig.ini";
  if (!platform.files.FileExists(path)) return;
  TSafeIniFile ini(platform.files, path, TextEncoding::Utf16LE);
  if (ini.LastError() != 0) return;  // never rewrite a file that could not be read
  for (const std::string& section : ini.ReadSections()) ini.EraseSection(section);
  // Erasing does not mark the file modified, so it is written explicitly.
  ini.UpdateFile();
}

}  // namespace bootmark
