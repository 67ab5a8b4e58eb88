#pragma once
// ITaskScheduler over the Task Scheduler's COM interfaces: 2.0 (taskschd) and
// 1.0 (mstask), and COM for the thread that reads them.
#include "platform/task_scheduler.h"
#include "platform/win32/win32_task_legacy.h"
#include "platform/win32/win32_task_service.h"

namespace bootmark::win32 {

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
