#pragma once
// The task reader of the process: the scheduler interface chosen at start-up
// (Task Scheduler 2.0 from Windows Vista on, 1.0 before) and the questions the
// rest of the program asks about scheduled tasks.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "common/logs.h"
#include "platform/platform.h"
#include "startup/task_info.h"
#include "startup/task_legacy_reader.h"
#include "startup/task_service_reader.h"
#include "startup/task_xml_store.h"

namespace bootmark {

// True when the system reported by GetVersionExW is one that has Task Scheduler
// 2.0: the NT family at version 6.0 to 6.4, or 10 and later major versions.
bool UsesTaskScheduler2(const VersionExInfo& version);

// The folder of the scheduler's task files as this process reaches it.
std::string TaskStoreRoot(const Platform& platform);

class TaskReader {
 public:
  // Chooses the interface and creates its reader (the 2.0 reader runs the COM
  // set-up). `logs` may be null: failed steps are then not logged.
  TaskReader(const Platform& platform, Logs* logs);

  bool Interface2() const { return reader2_ != nullptr; }

  // Nullopt when the scheduler does not run and cannot be started. On the 1.0
  // interface the filter, folder and flags are ignored.
  std::optional<TaskList> GetAllTasks(const TTaskFilter* filter, std::string_view folderPath, bool recursive,
                                      bool noTriggerFilter);
  // The same, keeping only startup tasks.
  std::optional<TaskList> GetStartupTasks(const TTaskFilter* filter, std::string_view folderPath,
                                          bool recursive, bool noTriggerFilter);
  // One task by name; nullptr when there is none.
  std::unique_ptr<TTaskInfo> FindTask(std::string_view name, std::string_view folderPath, bool recursive);

  // Runs at system start or at logon.
  bool IsStartupTaskInfo(const TTaskInfo& info) const;
  bool IsSystemStartTask(std::string_view name, std::string_view folderPath);
  // The schedule kind of the task's first trigger for TTaskScheduleItem.
  std::uint16_t TaskScheduleKind(const TTaskInfo& info) const;

 private:
  const Platform& platform_;
  std::unique_ptr<TaskXmlStore> store_;
  std::unique_ptr<TTaskSchedulerInterfaces2> reader2_;
  std::unique_ptr<TTaskSchedulerInterfaces1> reader1_;
};

}  // namespace bootmark
