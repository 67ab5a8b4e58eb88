#pragma once
// The task status snapshot: [TaskStatus] of "Bootmark\Bootmark.ini" in the suite's
// common data folder, one key per task name, "1" enabled and "0" disabled. Alerts
// on a task compare against it.
#include <string_view>

#include "platform/platform.h"
#include "startup/task_reader.h"

namespace bootmark {

// Rewrites the section from every task of the machine (first step of
// /UpdateTaskschd). Without a running scheduler the section is left empty.
void SnapshotTaskStatus(const Platform& platform, TaskReader& reader);

// The stored state of one task; false when missing.
bool GetStoredTaskStatus(const Platform& platform, std::string_view name);
// Stores one task's state and saves the file at once.
void SetStoredTaskStatus(const Platform& platform, std::string_view name, bool enabled);

}  // namespace bootmark
