#pragma once
// The Windows Task Scheduler as the task reader sees it.
//
// Task Scheduler 2.0: folders of registered tasks, each with a definition
// (registration, principal, triggers, actions, settings). Every getter answers
// what the scheduler answers and throws TaskSchedulerError when the scheduler
// refuses, so the reader can log the failed step and keep what it read before.
// Durations and dates come as the scheduler's texts ("PT30S",
// "2024-01-05T08:00:00"); the reader converts them.
//
// Task Scheduler 1.0: the ".job" work items of older systems.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

// A scheduler call that failed; `Code()` is its HRESULT (0 when there is none).
class TaskSchedulerError : public std::runtime_error {
 public:
  explicit TaskSchedulerError(const std::string& message, std::uint32_t code = 0)
      : std::runtime_error(message), code_(code) {}
  std::uint32_t Code() const { return code_; }

 private:
  std::uint32_t code_;
};

// The task service object itself cannot be created.
class TaskServiceUnavailable : public TaskSchedulerError {
 public:
  using TaskSchedulerError::TaskSchedulerError;
};

constexpr std::uint32_t kTaskErrorNotImplemented = 0x80004001u;  // E_NOTIMPL

// --- Task Scheduler 2.0 -------------------------------------------------------

class ITaskTrigger {
 public:
  virtual ~ITaskTrigger() = default;
  virtual std::int32_t Type() = 0;
  // The repetition pattern.
  virtual std::string RepetitionInterval() = 0;
  virtual std::string RepetitionDuration() = 0;
  virtual bool StopAtDurationEnd() = 0;
  virtual bool Enabled() = 0;
  virtual std::string ExecutionTimeLimit() = 0;
  virtual std::string StartBoundary() = 0;
  virtual std::string EndBoundary() = 0;
  // Type-specific values; asked only of triggers of the matching type.
  virtual std::int32_t DaysInterval() = 0;   // daily
  virtual std::int32_t DaysOfWeek() = 0;     // weekly
  virtual std::int32_t WeeksInterval() = 0;  // weekly
  virtual std::int32_t DaysOfMonth() = 0;    // monthly
  virtual std::int32_t MonthsOfYear() = 0;   // monthly
  virtual std::string Delay() = 0;           // boot and logon
};

class ITaskAction {
 public:
  virtual ~ITaskAction() = default;
  virtual std::int32_t Type() = 0;
  virtual std::string ExecPath() = 0;              // execute actions
  virtual std::string ExecArguments() = 0;
  virtual std::string ExecWorkingDirectory() = 0;
  virtual std::string MessageTitle() = 0;          // show-message actions
  virtual std::string MessageBody() = 0;
};

// The settings of a task, filled field by field in this order by ReadSettings; a
// field stays empty when the reading stopped before it.
struct TaskSettingsValues {
  std::optional<bool> enabled;
  std::optional<std::int32_t> priority;
  std::optional<bool> runOnlyIfIdle;
  std::optional<bool> disallowStartIfOnBatteries;
  std::optional<bool> stopIfGoingOnBatteries;
  std::optional<std::string> idleDuration;
  std::optional<std::string> idleWaitTimeout;
  std::optional<bool> stopOnIdleEnd;
  std::optional<bool> restartOnIdle;
  std::optional<bool> wakeToRun;
  std::optional<bool> allowDemandStart;
  std::optional<bool> startWhenAvailable;
  std::optional<std::string> restartInterval;
  std::optional<std::int32_t> restartCount;
  std::optional<std::string> executionTimeLimit;
  std::optional<bool> allowHardTerminate;
  std::optional<std::int32_t> multipleInstances;
  std::optional<bool> hidden;
  std::optional<std::int32_t> compatibility;
};

class ITaskDefinition {
 public:
  virtual ~ITaskDefinition() = default;
  virtual std::string Author() = 0;
  virtual std::string Description() = 0;
  virtual std::string UserId() = 0;
  virtual std::int32_t RunLevel() = 0;
  virtual std::int32_t LogonType() = 0;
  virtual std::int32_t TriggerCount() = 0;
  // 1-based.
  virtual std::unique_ptr<ITaskTrigger> Trigger(std::int32_t index) = 0;
  virtual std::int32_t ActionCount() = 0;
  virtual std::unique_ptr<ITaskAction> Action(std::int32_t index) = 0;
  // Fills `values` in the order of its fields; throws at the first failure.
  virtual void ReadSettings(TaskSettingsValues& values) = 0;
};

class IRegisteredTask {
 public:
  virtual ~IRegisteredTask() = default;
  virtual std::string Name() = 0;
  virtual std::string Path() = 0;
  virtual bool Enabled() = 0;
  virtual std::unique_ptr<ITaskDefinition> Definition() = 0;
};

class ITaskFolder {
 public:
  virtual ~ITaskFolder() = default;
  virtual std::string Path() = 0;
  // The folder's tasks, hidden ones included; 1-based.
  virtual std::int32_t TaskCount() = 0;
  virtual std::unique_ptr<IRegisteredTask> Task(std::int32_t index) = 0;
  // The sub-folders; 1-based.
  virtual std::int32_t FolderCount() = 0;
  virtual std::unique_ptr<ITaskFolder> Folder(std::int32_t index) = 0;
};

// Where the folders come from: one connection to the task service per call.
class ITaskSource {
 public:
  virtual ~ITaskSource() = default;
  // Connects and opens the folder of `path` ("\" or "\A\B"). Nullptr when the
  // folder does not exist. Throws TaskServiceUnavailable when the service object
  // cannot be created, TaskSchedulerError when it cannot connect.
  virtual std::unique_ptr<ITaskFolder> OpenFolder(std::string_view path) = 0;
  // Creates the folder `name` (no leading "\") in the root folder; nullptr when
  // that fails.
  virtual std::unique_ptr<ITaskFolder> CreateFolder(std::string_view name) = 0;
};

// --- Task Scheduler 1.0 -------------------------------------------------------

// One trigger of a ".job" work item, in the 1.0 numbering and units.
struct WorkItemTrigger {
  std::int32_t type = 0;  // 0 once ... 5 on idle, 6 at system start, 7 at logon
  std::int32_t minutesInterval = 0;
  std::int32_t minutesDuration = 0;
  std::uint32_t flags = 0;  // 0x2: stop at the end of the duration
  std::int32_t beginYear = 0, beginMonth = 0, beginDay = 0;
  std::int32_t startHour = 0, startMinute = 0;
  std::int32_t endYear = 0, endMonth = 0, endDay = 0;  // 0 when there is no end date
};

class IWorkItem {
 public:
  virtual ~IWorkItem() = default;
  virtual std::uint32_t Flags() = 0;
  virtual std::string Creator() = 0;
  virtual std::string Comment() = 0;
  virtual std::string AccountInformation() = 0;
  // Idle wait and deadline in minutes.
  virtual void IdleWait(std::int32_t& idleMinutes, std::int32_t& deadlineMinutes) = 0;
  virtual std::string ApplicationName() = 0;
  virtual std::string Parameters() = 0;
  virtual std::string WorkingDirectory() = 0;
  virtual std::uint32_t MaxRunTimeMilliseconds() = 0;
  virtual std::int32_t TriggerCount() = 0;
  // 0-based.
  virtual WorkItemTrigger Trigger(std::int32_t index) = 0;
};

class ITaskScheduler1 {
 public:
  virtual ~ITaskScheduler1() = default;
  // The names of every work item; throws when the scheduler object cannot be
  // created (the code is the HRESULT).
  virtual std::vector<std::string> WorkItemNames() = 0;
  // Nullptr when the work item cannot be activated.
  virtual std::unique_ptr<IWorkItem> Activate(std::string_view name) = 0;
};

// --- The scheduler as a whole -------------------------------------------------

struct ComSetup {
  bool initialized = false;  // the apartment initialisation succeeded
  bool securityReady = false;
};

class ITaskScheduler {
 public:
  virtual ~ITaskScheduler() = default;
  // CoInitializeEx (multithreaded) and the process-wide CoInitializeSecurity.
  virtual ComSetup InitializeCom() = 0;
  virtual void UninitializeCom() = 0;
  // The Task Scheduler 2.0 service (COM).
  virtual ITaskSource& Service() = 0;
  // Task Scheduler 1.0.
  virtual ITaskScheduler1& Legacy() = 0;
};

}  // namespace bootmark
