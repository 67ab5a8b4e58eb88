#pragma once
// What the new-item screening asks about one scheduled task, looked up by name
// in every folder of the scheduler.
#include <string>
#include <string_view>

#include "startup/task_reader.h"

namespace bootmark {

// False only for a task that exists and has no trigger at all; a task that is
// not found, or a look-up that fails, answers true.
bool TaskHasTriggers(TaskReader& tasks, std::string_view taskName);

// The program text of the task's first action, and whether the task is enabled.
// The empty text and false for a task that is not found.
std::string GetTaskExePath(TaskReader& tasks, std::string_view taskName, bool& enabled);

}  // namespace bootmark
