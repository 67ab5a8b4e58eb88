#pragma once
// Task Scheduler 1.0 through its COM interfaces (mstask).
#include <memory>

#include "platform/task_scheduler.h"

namespace bootmark::win32 {

class Win32TaskScheduler1 : public ITaskScheduler1 {
 public:
  std::vector<std::string> WorkItemNames() override;
  std::unique_ptr<IWorkItem> Activate(std::string_view name) override;
};

}  // namespace bootmark::win32
