#pragma once
// The Task Scheduler 2.0 service through its COM interfaces (taskschd).
#include <memory>

#include "platform/task_scheduler.h"

namespace bootmark::win32 {

class Win32TaskService : public ITaskSource {
 public:
  std::unique_ptr<ITaskFolder> OpenFolder(std::string_view path) override;
  std::unique_ptr<ITaskFolder> CreateFolder(std::string_view name) override;
};

}  // namespace bootmark::win32
