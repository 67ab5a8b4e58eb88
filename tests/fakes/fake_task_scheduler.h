#pragma once
// Fakes of the Service Control Manager and the Task Scheduler for tests.
//
// FakeTaskScheduler's 2.0 service reads the task store of a fake file system
// (the real task XML files) unless `collectionsNotImplemented` makes its task
// collections answer E_NOTIMPL as Wine's do; `serviceUnavailable` makes the
// service object impossible to create. The 1.0 scheduler holds work items in
// memory.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/services.h"
#include "platform/task_scheduler.h"
#include "startup/task_xml_store.h"

namespace bootmark {

// One installed service of the fake service list.
struct FakeService {
  std::string name;
  std::string displayName;
  std::uint32_t startType = 2;
  std::string binaryPath;
  std::string description;
  std::uint32_t configBytes = 512;  // what QueryServiceConfigW asks for
  bool openFails = false;
  bool queryFails = false;
};

class FakeServices : public IServices {
 public:
  // The service list, in enumeration order; `entriesPerBatch` entries per
  // EnumServicesStatusW call (0: all at once); `enumError` ends the first call
  // that would return entries with that error instead.
  std::vector<FakeService> installed;
  std::size_t entriesPerBatch = 0;
  std::uint32_t enumError = 0;
  bool managerRefused = false;
  int enumCalls = 0;

  // Service name -> state; a missing service reads 0.
  std::map<std::string, std::uint32_t> states;
  bool startFails = false;
  std::uint32_t startError = 1058;  // ERROR_SERVICE_DISABLED
  bool databaseLockedByOther = false;
  bool lockHeld = false;
  std::vector<std::string> calls;

  std::uint32_t ServiceState(std::string_view name) override;
  Result<std::unique_ptr<IServiceDatabaseLock>> LockDatabase() override;
  bool DatabaseLocked() override;
  bool SetStartType(std::string_view name, std::uint32_t startType) override;
  Result<void> StartService(std::string_view name) override;
  std::unique_ptr<IServiceManager> OpenManager() override;
};

struct FakeWorkItem {
  std::uint32_t flags = 0;
  std::string creator, comment, account;
  std::int32_t idleMinutes = 10, deadlineMinutes = 60;
  std::string application, parameters, workingDirectory;
  std::uint32_t maxRunTime = 259200000;
  std::vector<WorkItemTrigger> triggers;
};

class FakeTaskScheduler1 : public ITaskScheduler1 {
 public:
  // Work item name (with ".job") -> item, listed in insertion order.
  std::vector<std::pair<std::string, FakeWorkItem>> items;
  std::set<std::string> notActivatable;

  std::vector<std::string> WorkItemNames() override;
  std::unique_ptr<IWorkItem> Activate(std::string_view name) override;
};

class FakeTaskScheduler : public ITaskScheduler {
 public:
  explicit FakeTaskScheduler(IFileSystem& files);

  int initializeCalls = 0;
  int uninitializeCalls = 0;
  bool collectionsNotImplemented = false;
  bool serviceUnavailable = false;
  FakeTaskScheduler1 legacy;

  ComSetup InitializeCom() override;
  void UninitializeCom() override { ++uninitializeCalls; }
  ITaskSource& Service() override { return service_; }
  ITaskScheduler1& Legacy() override { return legacy; }

 private:
  class FakeService : public ITaskSource {
   public:
    FakeService(FakeTaskScheduler& owner, IFileSystem& files, std::string root);
    std::unique_ptr<ITaskFolder> OpenFolder(std::string_view path) override;
    std::unique_ptr<ITaskFolder> CreateFolder(std::string_view name) override;

   private:
    FakeTaskScheduler& owner_;
    TaskXmlStore store_;
  };
  FakeService service_;
};

}  // namespace bootmark
