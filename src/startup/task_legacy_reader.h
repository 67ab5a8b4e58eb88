#pragma once
// TTaskSchedulerInterfaces1: the Task Scheduler 1.0 reader (".job" work items).
#include <memory>
#include <string_view>

#include "platform/task_scheduler.h"
#include "startup/task_info.h"

namespace bootmark {

class TTaskSchedulerInterfaces1 {
 public:
  explicit TTaskSchedulerInterfaces1(ITaskScheduler1& scheduler) : scheduler_(scheduler) {}

  // Every work item that can be read, triggers in the 1.0 numbering.
  TaskList GetTasks();
  // The work item `name` (".job" appended unless it ends so); nullptr when it
  // cannot be activated.
  std::unique_ptr<TTaskInfo> GetTaskInfo(std::string_view workItemName);

 private:
  ITaskScheduler1& scheduler_;
};

// The 2.0 trigger type of a 1.0 trigger type (used by look-ups by name).
std::int32_t MapTriggerType1To2(std::int32_t type);

}  // namespace bootmark
