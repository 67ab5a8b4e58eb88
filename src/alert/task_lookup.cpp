#include "alert/task_lookup.h"

namespace bootmark {

bool TaskHasTriggers(TaskReader& tasks, std::string_view taskName) {
  try {
    const std::unique_ptr<TTaskInfo> task = tasks.FindTask(taskName, "\\", true);
    return task == nullptr || task->TriggerCount() > 0;
  } catch (...) {
    return true;
  }
}

std::string GetTaskExePath(TaskReader& tasks, std::string_view taskName, bool& enabled) {
  enabled = false;
  const std::unique_ptr<TTaskInfo> task = tasks.FindTask(taskName, "\\", true);
  if (task == nullptr) return {};
  enabled = task->Enabled;
  return task->Action.ExecPath;
}

}  // namespace bootmark
