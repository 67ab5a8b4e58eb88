#include "startup/task_service_reader.h"

#include <optional>
#include <type_traits>
#include <utility>

#include "base/text.h"
#include "startup/task_duration.h"
#include "startup/task_exception_log.h"

namespace bootmark {
namespace {

std::string NormaliseFolderPath(std::string_view path) {
  if (path.empty()) return "\\";
  if (path.front() != '\\') return "\\" + std::string(path);
  return std::string(path);
}

// True when the folder's task collection answers: the service's collections are
// not implemented everywhere (Wine), and then the store holds the same tasks.
bool CollectionsImplemented(ITaskFolder& folder) {
  try {
    folder.TaskCount();
  } catch (const TaskSchedulerError& error) {
    if (error.Code() == kTaskErrorNotImplemented) return false;
  }
  return true;
}

}  // namespace

TTaskSchedulerInterfaces2::TTaskSchedulerInterfaces2(ITaskScheduler& scheduler, ITaskSource& store, Logs* logs)
    : scheduler_(scheduler), store_(store), logs_(logs) {
  const ComSetup setup = scheduler_.InitializeCom();
  comInitialized_ = setup.initialized;
  comReady_ = setup.initialized && setup.securityReady;
}

TTaskSchedulerInterfaces2::~TTaskSchedulerInterfaces2() {
  if (comInitialized_) scheduler_.UninitializeCom();
}

std::unique_ptr<ITaskFolder> TTaskSchedulerInterfaces2::UpdateTaskFoler(std::string_view path, bool noCreate) {
  const std::string folderPath = NormaliseFolderPath(path);
  try {
    ITaskSource& service = scheduler_.Service();
    std::unique_ptr<ITaskFolder> folder;
    try {
      folder = service.OpenFolder(folderPath);
    } catch (const TaskServiceUnavailable&) {
      return nullptr;  // its trace line belongs to the switched-off debug trace
    }
    if (!folder && !noCreate) folder = service.CreateFolder(std::string_view(folderPath).substr(1));
    if (folder && !CollectionsImplemented(*folder)) folder = store_.OpenFolder(folderPath);
    return folder;
  } catch (const std::exception& error) {
    LogTaskException(logs_, "UpdateTaskFoler.exception : ", error);
    return nullptr;
  }
}

TaskList TTaskSchedulerInterfaces2::GetAllTaskInfo(const TTaskFilter* filter, std::string_view path,
                                                   bool recursive, bool noTriggerFilter) {
  noTriggerFilter_ = noTriggerFilter;
  TaskList list;
  try {
    if (std::unique_ptr<ITaskFolder> folder = UpdateTaskFoler(path, true)) {
      GetAllTaskInfo1(*folder, filter, list, recursive);
    }
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetAllTaskInfo.exception : ", error);
  }
  noTriggerFilter_ = false;
  return list;
}

void TTaskSchedulerInterfaces2::GetAllTaskInfo1(ITaskFolder& folder, const TTaskFilter* filter, TaskList& list,
                                                bool recursive) {
  std::int32_t folderCount = 0;
  try {
    if (filter != nullptr && filter->IsFolderExcluded(folder.Path())) return;
    const std::int32_t count = folder.TaskCount();
    for (std::int32_t i = 1; i <= count; ++i) {
      // A task that cannot be read is still listed with what could be read; only
      // the folder's own failures end its walk.
      std::unique_ptr<IRegisteredTask> task = folder.Task(i);
      auto info = std::make_unique<TTaskInfo>();
      bool hasTriggers = false;
      try {
        hasTriggers = GetTaskTrigger(*task->Definition(), *info, true);
      } catch (const std::exception& error) {
        LogTaskException(logs_, "GetAllTaskInfo1.exception : ", error);
      }
      if (filter != nullptr && !noTriggerFilter_ && filter->WithTriggers != filter->WithoutTriggers) {
        if (filter->WithTriggers && !hasTriggers) continue;
        if (filter->WithoutTriggers && hasTriggers) continue;
      }
      GetTaskInfo3(*task, *info);
      try {
        info->Path = task->Path();
      } catch (const std::exception& error) {
        LogTaskException(logs_, "GetAllTaskInfo1.exception : ", error);
      }
      list.push_back(std::move(info));
    }
    if (recursive) folderCount = folder.FolderCount();
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetAllTaskInfo1.exception : ", error);
    return;
  }
  for (std::int32_t i = 1; i <= folderCount; ++i) {
    try {
      std::unique_ptr<ITaskFolder> sub = folder.Folder(i);
      GetAllTaskInfo1(*sub, filter, list, recursive);
    } catch (const std::exception& error) {
      LogTaskException(logs_, "GetAllTaskInfo1.exception : ", error);
    }
  }
}

void TTaskSchedulerInterfaces2::GetTaskInfo3(IRegisteredTask& task, TTaskInfo& info) {
  try {
    // The name comes first, so that a task whose definition cannot be read is
    // still known by it.
    info.Name = task.Name();
    const std::unique_ptr<ITaskDefinition> definition = task.Definition();
    info.Author = definition->Author();
    info.Description = definition->Description();
    info.UserId = definition->UserId();
    info.RunLevel = definition->RunLevel();
    GetTaskTrigger(*definition, info, false);
    GetTaskAction(*definition, info);
    GetTaskSettings(*definition, info);
    info.Enabled = task.Enabled();
    info.LogonType = definition->LogonType();
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetTaskInfo3.exception : ", error);
  }
}

bool TTaskSchedulerInterfaces2::GetTaskTrigger(ITaskDefinition& definition, TTaskInfo& info, bool quick) {
  bool read = false;
  try {
    const std::int32_t count = definition.TriggerCount();
    if (quick) return count > 0;
    // Read last to first into the one current entry, which is not cleared between
    // triggers: what a trigger does not read stays as the trigger before left it.
    TTaskTriggerEntry& current = info.Trigger;
    std::string limitText;
    std::string startText;
    std::string endText;
    for (std::int32_t i = count; i >= 1; --i) {
      const std::unique_ptr<ITaskTrigger> trigger = definition.Trigger(i);
      current.TriggerType = trigger->Type();
      current.RepetitionInterval = TaskDurationIn(trigger->RepetitionInterval(), 60);
      current.RepetitionDuration = TaskDurationIn(trigger->RepetitionDuration(), 60);
      current.StopAtDurationEnd = trigger->StopAtDurationEnd();
      current.TriggerEnabled = trigger->Enabled();
      bool readsBoundaries = true;
      switch (current.TriggerType) {
        case 1:
        case 6:
          break;
        case 2:
          info.DaysInterval = trigger->DaysInterval();
          break;
        case 3:
          info.DaysOfWeek = trigger->DaysOfWeek();
          info.WeeksInterval = trigger->WeeksInterval();
          break;
        case 4:
          info.DaysOfMonth = trigger->DaysOfMonth();
          info.MonthsOfYear = trigger->MonthsOfYear();
          break;
        case 8:
        case 9:
          current.Delay = TaskDurationIn(trigger->Delay(), 1);
          break;
        default:
          readsBoundaries = false;
          break;
      }
      if (readsBoundaries) {
        limitText = trigger->ExecutionTimeLimit();
        startText = trigger->StartBoundary();
        endText = trigger->EndBoundary();
      }
      if (!limitText.empty()) current.ExecutionTimeLimit = TaskDurationIn(limitText, 60);
      if (!startText.empty()) {
        if (const auto start = ParseXmlDateTime(startText)) {
          current.StartBoundary = *start;
          info.StartTime = *start;
        }
        current.StartBoundaryText = startText;
      }
      if (!endText.empty()) {
        if (const auto end = ParseXmlDateTime(endText)) current.EndBoundary = *end;
      }
      info.AddTrigger(current);
      read = true;
    }
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetTaskTrigger.exception : ", error);
  }
  return read;
}

void TTaskSchedulerInterfaces2::GetTaskAction(ITaskDefinition& definition, TTaskInfo& info) {
  try {
    const std::int32_t count = definition.ActionCount();
    for (std::int32_t i = count; i >= 1; --i) {
      const std::unique_ptr<ITaskAction> action = definition.Action(i);
      TTaskActionEntry& current = info.Action;
      current = TTaskActionEntry{};
      current.ActionType = action->Type();
      if (current.ActionType == 0) {
        current.ExecPath = action->ExecPath();
        current.ExecArguments = action->ExecArguments();
        current.ExecWorkingDirectory = action->ExecWorkingDirectory();
      } else if (current.ActionType == 7) {
        current.MessageTitle = action->MessageTitle();
        current.MessageBody = action->MessageBody();
      }
      info.AddAction(current);
    }
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetTaskAction.exception : ", error);
  }
}

void TTaskSchedulerInterfaces2::GetTaskSettings(ITaskDefinition& definition, TTaskInfo& info) {
  TaskSettingsValues values;
  try {
    definition.ReadSettings(values);
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetTaskSettings.exception : ", error);
  }
  // What was read before a failure is kept.
  auto minutes = [](const std::optional<std::string>& text, std::int32_t& field) {
    if (text) field = TaskDurationIn(*text, 60);
  };
  auto set = [](const auto& value, auto& field) {
    if (value) field = static_cast<std::remove_reference_t<decltype(field)>>(*value);
  };
  set(values.enabled, info.Enabled);
  set(values.priority, info.Priority);
  set(values.runOnlyIfIdle, info.RunOnlyIfIdle);
  set(values.disallowStartIfOnBatteries, info.DisallowStartIfOnBatteries);
  set(values.stopIfGoingOnBatteries, info.StopIfGoingOnBatteries);
  minutes(values.idleDuration, info.IdleDuration);
  minutes(values.idleWaitTimeout, info.IdleWaitTimeout);
  set(values.stopOnIdleEnd, info.StopOnIdleEnd);
  set(values.restartOnIdle, info.RestartOnIdle);
  set(values.wakeToRun, info.WakeToRun);
  set(values.allowDemandStart, info.AllowDemandStart);
  set(values.startWhenAvailable, info.StartWhenAvailable);
  minutes(values.restartInterval, info.RestartInterval);
  set(values.restartCount, info.RestartCount);
  minutes(values.executionTimeLimit, info.ExecutionTimeLimit);
  set(values.allowHardTerminate, info.AllowHardTerminate);
  set(values.multipleInstances, info.MultipleInstances);
  set(values.hidden, info.Hidden);
  set(values.compatibility, info.Compatibility);
}

std::unique_ptr<TTaskInfo> TTaskSchedulerInterfaces2::GetTaskInfo1(std::string_view name, std::string_view path,
                                                                   bool recursive) {
  try {
    std::unique_ptr<ITaskFolder> folder = UpdateTaskFoler(path, true);
    if (!folder) return nullptr;
    return GetTaskInfo2(name, *folder, recursive);
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetTaskInfo1.exception : ", error);
    return nullptr;
  }
}

std::unique_ptr<TTaskInfo> TTaskSchedulerInterfaces2::GetTaskInfo2(std::string_view name, ITaskFolder& folder,
                                                                   bool recursive) {
  try {
    if (std::unique_ptr<IRegisteredTask> task = GetRegisteredTask(folder, name)) {
      auto info = std::make_unique<TTaskInfo>();
      info->Path = folder.Path();
      GetTaskInfo3(*task, *info);
      return info;
    }
    if (!recursive) return nullptr;
    const std::int32_t count = folder.FolderCount();
    for (std::int32_t i = 1; i <= count; ++i) {
      std::unique_ptr<ITaskFolder> sub = folder.Folder(i);
      if (std::unique_ptr<TTaskInfo> info = GetTaskInfo2(name, *sub, true)) return info;
    }
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetTaskInfo2.exception : ", error);
  }
  return nullptr;
}

std::unique_ptr<IRegisteredTask> TTaskSchedulerInterfaces2::GetRegisteredTask(ITaskFolder& folder,
                                                                             std::string_view name) {
  try {
    const std::string wanted = UpperCaseOrdinal(name);
    for (std::int32_t i = folder.TaskCount(); i >= 1; --i) {
      std::unique_ptr<IRegisteredTask> task = folder.Task(i);
      if (UpperCaseOrdinal(task->Name()) == wanted) return task;
    }
  } catch (const std::exception& error) {
    LogTaskException(logs_, "GetRegisteredTask.exception : ", error);
  }
  return nullptr;
}

}  // namespace bootmark
