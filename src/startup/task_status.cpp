#include "startup/task_status.h"

#include <string>

#include "common/data_dirs.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

constexpr std::string_view kSection = "TaskStatus";

std::string SnapshotFile(const Platform& platform) {
  return GetSuiteCommonDataDir(platform.shell) + "Bootmark\\Bootmark.ini";
}

}  // namespace

void SnapshotTaskStatus(const Platform& platform, TaskReader& reader) {
  TSafeIniFile ini(platform.files, SnapshotFile(platform), TextEncoding::Utf16LE);
  if (ini.NoAutoSave()) return;  // a file that could not be read is never rewritten
  ini.EraseSection(kSection);
  const std::optional<TaskList> tasks = reader.GetAllTasks(nullptr, "\\", true, false);
  if (tasks) {
    for (const std::unique_ptr<TTaskInfo>& task : *tasks) {
      // A name is a key; a task whose name could not be read has none.
      if (!task->Name.empty()) ini.WriteBool(kSection, task->Name, task->Enabled);
    }
  }
  // Erasing alone does not mark the file modified; the snapshot is written even
  // when it lists no task.
  ini.UpdateFile();
}

bool GetStoredTaskStatus(const Platform& platform, std::string_view name) {
  const std::string path = SnapshotFile(platform);
  if (!platform.files.FileExists(path)) return false;
  TSafeIniFile ini(platform.files, path, TextEncoding::Utf16LE);
  return ini.ReadBool(kSection, name, false);
}

void SetStoredTaskStatus(const Platform& platform, std::string_view name, bool enabled) {
  TSafeIniFile ini(platform.files, SnapshotFile(platform), TextEncoding::Utf16LE);
  if (ini.NoAutoSave()) return;
  ini.WriteBool(kSection, name, enabled);
  ini.UpdateFile();
}

}  // namespace bootmark
