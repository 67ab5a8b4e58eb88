#pragma once
// ITaskScheduler over the Task Scheduler's COM interfaces: 2.0 (taskschd) and
// 1.0 (mstask).
#include <memory>

#include "platform/task_scheduler.h"

namespace bootmark::win32 {

class Win32TaskService : public ITaskSource {
 public:
  std::unique_ptr<ITaskFolder> OpenFolder(std::string_view path) override;
  std::unique_ptr<ITaskFolder> CreateFolder(std::string_view name) override;
};

class Win32TaskScheduler1 : public ITaskScheduler1 {
 public:
  std::vector<std::string> WorkItemNames() override;
  std::unique_ptr<IWorkItem> Activate(std::string_view name) override;
};

class Win32TaskScheduler : public ITaskScheduler {
 public:
  ComSetup InitializeCom() override;
  void UninitializeCom() override;
  ITaskSource& Service() override { return service_; }
  ITaskScheduler1& Legacy() override { return legacy_; }

 private:
  Win32TaskService service_;
  Win32TaskScheduler1 legacy_;
};

}  // namespace bootmark::win32
