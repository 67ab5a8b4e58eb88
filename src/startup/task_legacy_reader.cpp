#include "startup/task_legacy_reader.h"

#include <exception>

#include "base/text.h"

namespace bootmark {
namespace {

// Work item flags.
constexpr std::uint32_t kFlagStartOnlyIfIdle = 0x10;
constexpr std::uint32_t kFlagKillOnIdleEnd = 0x20;
constexpr std::uint32_t kFlagDontStartIfOnBatteries = 0x40;
constexpr std::uint32_t kFlagKillIfGoingOnBatteries = 0x80;
constexpr std::uint32_t kFlagDisabled = 0x4;
constexpr std::uint32_t kFlagHidden = 0x200;
constexpr std::uint32_t kFlagRestartOnIdleResume = 0x800;
constexpr std::uint32_t kFlagSystemRequired = 0x1000;
// Trigger flag.
constexpr std::uint32_t kTriggerKillAtDurationEnd = 0x2;
constexpr std::uint32_t kInfiniteRunTime = 0xFFFFFFFFu;

std::optional<DateTime> TriggerDate(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                                    std::int32_t minute) {
  if (year == 0) return std::nullopt;
  CalendarTime time;
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = hour;
  time.minute = minute;
  return EncodeDateTime(time);
}

}  // namespace

std::int32_t MapTriggerType1To2(std::int32_t type) {
  switch (type) {
    case 0: return 1;
    case 1: return 2;
    case 2: return 3;
    case 3: return 4;
    case 4: return 5;
    case 5: return 6;
    case 6: return 8;
    case 7: return 9;
    default: return type;
  }
}

TaskList TTaskSchedulerInterfaces1::GetTasks() {
  TaskList list;
  std::vector<std::string> names;
  try {
    names = scheduler_.WorkItemNames();
  } catch (const std::exception&) {
    return list;  // the scheduler object could not be created
  }
  for (const std::string& name : names) {
    if (std::unique_ptr<TTaskInfo> info = GetTaskInfo(name)) list.push_back(std::move(info));
  }
  return list;
}

std::unique_ptr<TTaskInfo> TTaskSchedulerInterfaces1::GetTaskInfo(std::string_view workItemName) {
  std::string name(workItemName);
  if (!EndsWithIgnoreCase(name, ".job")) name += ".job";
  std::unique_ptr<IWorkItem> item;
  try {
    item = scheduler_.Activate(name);
  } catch (const std::exception&) {
    return nullptr;
  }
  if (!item) return nullptr;

  auto info = std::make_unique<TTaskInfo>();
  info->Name = name;
  info->Path = name;
  // A value that cannot be read leaves its default; the item is still listed.
  try {
    const std::uint32_t flags = item->Flags();
    info->Enabled = (flags & kFlagDisabled) == 0;
    info->Hidden = (flags & kFlagHidden) != 0;
    info->RunOnlyIfIdle = (flags & kFlagStartOnlyIfIdle) != 0;
    info->StopOnIdleEnd = (flags & kFlagKillOnIdleEnd) != 0;
    info->DisallowStartIfOnBatteries = (flags & kFlagDontStartIfOnBatteries) != 0;
    info->StopIfGoingOnBatteries = (flags & kFlagKillIfGoingOnBatteries) != 0;
    info->RestartOnIdle = (flags & kFlagRestartOnIdleResume) != 0;
    info->WakeToRun = (flags & kFlagSystemRequired) != 0;
    const std::uint32_t maxRunTime = item->MaxRunTimeMilliseconds();
    if (maxRunTime != kInfiniteRunTime) info->ExecutionTimeLimit = static_cast<std::int32_t>(maxRunTime / 60000);
    info->Author = item->Creator();
    info->Description = item->Comment();
    info->UserId = item->AccountInformation();
  } catch (const std::exception&) {
  }
  try {
    TTaskTriggerEntry& current = info->Trigger;
    std::int32_t idleMinutes = -1;
    std::int32_t deadlineMinutes = -1;
    item->IdleWait(idleMinutes, deadlineMinutes);
    current.IdleMinutes = idleMinutes;
    current.Delay = deadlineMinutes * 60;
    // Read from the last trigger to the first, as the 2.0 reader does: the
    // current entry and the start time end as the task's first trigger's.
    const std::int32_t count = item->TriggerCount();
    for (std::int32_t i = count - 1; i >= 0; --i) {
      const WorkItemTrigger trigger = item->Trigger(i);
      current.TriggerType = trigger.type;
      current.RepetitionInterval = trigger.minutesInterval;
      current.RepetitionDuration = trigger.minutesDuration;
      current.StopAtDurationEnd = (trigger.flags & kTriggerKillAtDurationEnd) != 0;
      if (const auto begin = TriggerDate(trigger.beginYear, trigger.beginMonth, trigger.beginDay,
                                         trigger.startHour, trigger.startMinute)) {
        current.StartBoundary = *begin;
        info->StartTime = *begin;
      }
      if (const auto end = TriggerDate(trigger.endYear, trigger.endMonth, trigger.endDay, 0, 0)) {
        current.EndBoundary = *end;
      }
      info->AddTrigger(current);
    }
  } catch (const std::exception&) {
  }
  try {
    TTaskActionEntry& action = info->Action;
    action.ActionType = 0;
    action.ExecPath = item->ApplicationName();
    action.ExecArguments = item->Parameters();
    action.ExecWorkingDirectory = item->WorkingDirectory();
    info->AddAction(action);
  } catch (const std::exception&) {
  }
  return info;
}

}  // namespace bootmark
