#include "fakes/fake_task_scheduler.h"

#include <algorithm>

#include "base/text.h"
#include "fakes/fake_ports.h"

namespace bootmark {
namespace {

class FakeLock : public IServiceDatabaseLock {
 public:
  explicit FakeLock(bool& held) : held_(held) { held_ = true; }
  ~FakeLock() override { held_ = false; }

 private:
  bool& held_;
};

class FakeWorkItemView : public IWorkItem {
 public:
  explicit FakeWorkItemView(FakeWorkItem item) : item_(std::move(item)) {}
  std::uint32_t Flags() override { return item_.flags; }
  std::string Creator() override { return item_.creator; }
  std::string Comment() override { return item_.comment; }
  std::string AccountInformation() override { return item_.account; }
  void IdleWait(std::int32_t& idle, std::int32_t& deadline) override {
    idle = item_.idleMinutes;
    deadline = item_.deadlineMinutes;
  }
  std::string ApplicationName() override { return item_.application; }
  std::string Parameters() override { return item_.parameters; }
  std::string WorkingDirectory() override { return item_.workingDirectory; }
  std::uint32_t MaxRunTimeMilliseconds() override { return item_.maxRunTime; }
  std::int32_t TriggerCount() override { return static_cast<std::int32_t>(item_.triggers.size()); }
  WorkItemTrigger Trigger(std::int32_t index) override {
    return item_.triggers.at(static_cast<std::size_t>(index));
  }

 private:
  FakeWorkItem item_;
};

// A folder of the store whose task collection is not implemented.
class NotImplementedFolder : public ITaskFolder {
 public:
  explicit NotImplementedFolder(std::unique_ptr<ITaskFolder> inner) : inner_(std::move(inner)) {}
  std::string Path() override { return inner_->Path(); }
  std::int32_t TaskCount() override { throw TaskSchedulerError("Not implemented", kTaskErrorNotImplemented); }
  std::unique_ptr<IRegisteredTask> Task(std::int32_t) override {
    throw TaskSchedulerError("Not implemented", kTaskErrorNotImplemented);
  }
  std::int32_t FolderCount() override { return inner_->FolderCount(); }
  std::unique_ptr<ITaskFolder> Folder(std::int32_t index) override {
    return std::make_unique<NotImplementedFolder>(inner_->Folder(index));
  }

 private:
  std::unique_ptr<ITaskFolder> inner_;
};

}  // namespace

std::uint32_t FakeServices::ServiceState(std::string_view name) {
  return testing::Lookup(states, std::string(name)).value_or(0);
}

Result<std::unique_ptr<IServiceDatabaseLock>> FakeServices::LockDatabase() {
  calls.push_back("LockDatabase");
  if (databaseLockedByOther) return SystemError{kErrorServiceDatabaseLocked};
  return std::unique_ptr<IServiceDatabaseLock>(std::make_unique<FakeLock>(lockHeld));
}

bool FakeServices::DatabaseLocked() {
  calls.push_back("QueryLockStatus");
  return databaseLockedByOther || lockHeld;
}

bool FakeServices::SetStartType(std::string_view name, std::uint32_t startType) {
  calls.push_back("SetStartType " + std::string(name) + " " + std::to_string(startType));
  return states.count(std::string(name)) > 0;
}

Result<void> FakeServices::StartService(std::string_view name) {
  calls.push_back("StartService " + std::string(name));
  if (startFails || !states.count(std::string(name))) {
    return SystemError{startFails ? startError : 1060};  // ERROR_SERVICE_DOES_NOT_EXIST
  }
  states[std::string(name)] = service_state::kRunning;
  return {};
}

std::vector<std::string> FakeTaskScheduler1::WorkItemNames() {
  std::vector<std::string> names;
  for (const auto& [name, item] : items) names.push_back(name);
  return names;
}

std::unique_ptr<IWorkItem> FakeTaskScheduler1::Activate(std::string_view name) {
  if (notActivatable.count(std::string(name))) return nullptr;
  for (const auto& [itemName, item] : items) {
    if (SameText(itemName, name)) return std::make_unique<FakeWorkItemView>(item);
  }
  return nullptr;
}

FakeTaskScheduler::FakeTaskScheduler(IFileSystem& files) : service_(*this, files, "C:\\Windows\\System32\\Tasks") {}

ComSetup FakeTaskScheduler::InitializeCom() {
  ++initializeCalls;
  return ComSetup{true, true};
}

FakeTaskScheduler::FakeService::FakeService(FakeTaskScheduler& owner, IFileSystem& files, std::string root)
    : owner_(owner), store_(files, std::move(root)) {}

std::unique_ptr<ITaskFolder> FakeTaskScheduler::FakeService::OpenFolder(std::string_view path) {
  if (owner_.serviceUnavailable) throw TaskServiceUnavailable("Class not registered", 0x80040154u);
  std::unique_ptr<ITaskFolder> folder = store_.OpenFolder(path);
  if (folder && owner_.collectionsNotImplemented) return std::make_unique<NotImplementedFolder>(std::move(folder));
  return folder;
}

std::unique_ptr<ITaskFolder> FakeTaskScheduler::FakeService::CreateFolder(std::string_view name) {
  return store_.CreateFolder(name);
}

}  // namespace bootmark
