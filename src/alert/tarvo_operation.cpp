#include "alert/tarvo_operation.h"

#include "alert/item_exe_path.h"
#include "alert/new_item.h"
#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

bool SameFolder(std::string_view itemPath, std::string_view recordPath) {
  const std::string itemFolder = ExtractFilePath(itemPath);
  const std::string recordFolder = ExtractFilePath(recordPath);
  return itemFolder.empty() || recordFolder.empty() || SameText(itemFolder, recordFolder);
}

}  // namespace

bool IsTarvoOperation(const Platform& platform, TCheckPath& checkPath, std::string_view name, int kind,
                      std::string_view exePath, std::string_view linkPath) {
  try {
    const std::string program = GetItemExePath(checkPath, exePath);
    const std::string folder = GetSuiteCommonDataDir(platform.shell) + "Bootmark\\";
    ForceDirectories(platform.files, folder);
    if (!platform.files.DirectoryExists(folder)) return false;

    TSafeIniFile records(platform.files, folder + "AutoRunConfig.ini", TextEncoding::Utf16LE);
    for (const std::string& section : records.ReadSections()) {
      const std::string recordName = records.ReadString(section, "Name", "");
      const int recordKind = records.ReadInteger(section, "Type", 0);
      const bool sameFolder = recordKind == item_kind::kStartupShortcut
                                  ? SameFolder(linkPath, records.ReadString(section, "LinkPath", ""))
                                  : SameFolder(program, records.ReadString(section, "ExePath", ""));
      if (SameText(recordName, name) && recordKind == kind && sameFolder) {
        records.EraseSection(section);
        // Erasing does not mark the file modified: it is written here.
        records.UpdateFile();
        return true;
      }
    }
    return false;
  } catch (...) {
    return false;
  }
}

}  // namespace bootmark
