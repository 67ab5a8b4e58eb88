#pragma once
// TTaskSchedulerInterfaces2: the Task Scheduler 2.0 reader. Walks the folders of
// registered tasks and reads each task into a TTaskInfo. Every step that fails
// writes its line to "TaskException.log" and the task keeps what was read.
#include <memory>
#include <string_view>

#include "common/logs.h"
#include "platform/task_scheduler.h"
#include "startup/task_info.h"

namespace bootmark {

class TTaskSchedulerInterfaces2 {
 public:
  // Runs the COM set-up. `store` is the scheduler's store of task files, read
  // in place of the service's task collections where those are not implemented.
  TTaskSchedulerInterfaces2(ITaskScheduler& scheduler, ITaskSource& store, Logs* logs);
  ~TTaskSchedulerInterfaces2();
  TTaskSchedulerInterfaces2(const TTaskSchedulerInterfaces2&) = delete;
  TTaskSchedulerInterfaces2& operator=(const TTaskSchedulerInterfaces2&) = delete;

  bool ComReady() const { return comReady_; }
  bool ComInitialized() const { return comInitialized_; }

  // The folder of `path`; nullptr when the service or the folder is missing.
  std::unique_ptr<ITaskFolder> UpdateTaskFoler(std::string_view path, bool noCreate);
  // Every task of the folder (and its sub-folders when `recursive`).
  TaskList GetAllTaskInfo(const TTaskFilter* filter, std::string_view path, bool recursive,
                          bool noTriggerFilter);
  // The task named `name` (without regard to case) in the folder of `path` or,
  // when `recursive`, below it; nullptr when there is none.
  std::unique_ptr<TTaskInfo> GetTaskInfo1(std::string_view name, std::string_view path, bool recursive);

  // The reading steps of one task.
  void GetTaskInfo3(IRegisteredTask& task, TTaskInfo& info);
  bool GetTaskTrigger(ITaskDefinition& definition, TTaskInfo& info, bool quick);
  void GetTaskAction(ITaskDefinition& definition, TTaskInfo& info);
  void GetTaskSettings(ITaskDefinition& definition, TTaskInfo& info);

 private:
  void GetAllTaskInfo1(ITaskFolder& folder, const TTaskFilter* filter, TaskList& list, bool recursive);
  std::unique_ptr<TTaskInfo> GetTaskInfo2(std::string_view name, ITaskFolder& folder, bool recursive);
  std::unique_ptr<IRegisteredTask> GetRegisteredTask(ITaskFolder& folder, std::string_view name);

  ITaskScheduler& scheduler_;
  ITaskSource& store_;
  Logs* logs_;
  bool comReady_ = false;
  bool comInitialized_ = false;
  bool noTriggerFilter_ = false;
};

}  // namespace bootmark
