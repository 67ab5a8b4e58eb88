#include "startup/task_reader.h"

#include <algorithm>

#include "base/text.h"
#include "startup/task_schedule_service.h"

namespace bootmark {
namespace {

bool IsStartupType2(std::int32_t type) { return type == 8 || type == 9; }

}  // namespace

bool UsesTaskScheduler2(const VersionExInfo& version) {
  if (version.platformId != kPlatformWin32Nt) return false;
  if (version.major == 6) return version.minor <= 4;
  return version.major >= 10;
}

std::string TaskStoreRoot(const Platform& platform) {
  // A 32-bit process on 64-bit Windows sees "System32" redirected; the store
  // lives in the real one, reached there through "Sysnative".
  const std::string windows = platform.system.WindowsDirectory();
  if (platform.wow64.IsWow64Process(platform.wow64.CurrentProcess()).value_or(false) &&
      platform.files.DirectoryExists(windows + "\\Sysnative")) {
    return windows + "\\Sysnative\\Tasks";
  }
  return windows + "\\System32\\Tasks";
}

TaskReader::TaskReader(const Platform& platform, Logs* logs) : platform_(platform) {
  if (UsesTaskScheduler2(platform.system.VersionEx())) {
    store_ = std::make_unique<TaskXmlStore>(platform.files, TaskStoreRoot(platform));
    reader2_ = std::make_unique<TTaskSchedulerInterfaces2>(platform.tasks, *store_, logs);
  } else {
    // The 1.0 scheduler is COM as well; its apartment is set up the same way.
    platform.tasks.InitializeCom();
    reader1_ = std::make_unique<TTaskSchedulerInterfaces1>(platform.tasks.Legacy());
  }
}

std::optional<TaskList> TaskReader::GetAllTasks(const TTaskFilter* filter, std::string_view folderPath,
                                                bool recursive, bool noTriggerFilter) {
  if (!EnsureTaskSchedulerRuns(platform_.services)) return std::nullopt;
  if (reader2_) return reader2_->GetAllTaskInfo(filter, folderPath, recursive, noTriggerFilter);
  return reader1_->GetTasks();
}

std::optional<TaskList> TaskReader::GetStartupTasks(const TTaskFilter* filter, std::string_view folderPath,
                                                    bool recursive, bool noTriggerFilter) {
  std::optional<TaskList> list = GetAllTasks(filter, folderPath, recursive, noTriggerFilter);
  if (list) {
    std::erase_if(*list, [&](const std::unique_ptr<TTaskInfo>& info) { return !IsStartupTaskInfo(*info); });
  }
  return list;
}

std::unique_ptr<TTaskInfo> TaskReader::FindTask(std::string_view name, std::string_view folderPath,
                                                bool recursive) {
  if (!EnsureTaskSchedulerRuns(platform_.services)) return nullptr;
  std::unique_ptr<TTaskInfo> info;
  if (reader2_) {
    info = reader2_->GetTaskInfo1(name, folderPath, recursive);
  } else {
    info = reader1_->GetTaskInfo(name);
    if (info) info->Trigger.TriggerType = MapTriggerType1To2(info->Trigger.TriggerType);
  }
  if (info) {
    const CalendarTime start = DecodeDateTime(info->Trigger.StartBoundary);
    info->StartHour = start.hour;
    info->StartMinute = start.minute;
    info->StartSecond = start.second;
  }
  return info;
}

bool TaskReader::IsStartupTaskInfo(const TTaskInfo& info) const {
  if (reader2_) {
    return std::any_of(info.Triggers.begin(), info.Triggers.end(),
                       [](const TTaskTriggerEntry& trigger) { return IsStartupType2(trigger.TriggerType); });
  }
  return info.Trigger.TriggerType == 6 || info.Trigger.TriggerType == 7;
}

bool TaskReader::IsSystemStartTask(std::string_view name, std::string_view folderPath) {
  if (folderPath.empty()) {
    TTaskFilter filter;
    filter.AddFolder("\\Microsoft");
    const std::optional<TaskList> tasks = GetStartupTasks(&filter, "\\", true, false);
    return tasks && std::any_of(tasks->begin(), tasks->end(), [&](const std::unique_ptr<TTaskInfo>& info) {
             return SameText(info->Name, name);
           });
  }
  const std::unique_ptr<TTaskInfo> info = FindTask(name, folderPath, false);
  if (!info) return false;
  if (reader2_) return IsStartupTaskInfo(*info);
  return IsStartupType2(info->Trigger.TriggerType);
}

std::uint16_t TaskReader::TaskScheduleKind(const TTaskInfo& info) const {
  // Kinds in order: daily, weekly, monthly, system start, logon, once, idle,
  // monthly by day of week; the trigger type of each on either interface.
  static constexpr std::int32_t kTypes2[] = {2, 3, 4, 8, 9, 1, 6, 5};
  static constexpr std::int32_t kTypes1[] = {1, 2, 3, 6, 7, 0, 5, 4};
  const std::int32_t* types = reader2_ ? kTypes2 : kTypes1;
  for (std::uint16_t kind = 0; kind < 8; ++kind) {
    if (types[kind] == info.Trigger.TriggerType) return kind;
  }
  return 254;
}

}  // namespace bootmark
