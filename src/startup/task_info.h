#pragma once
// TTaskInfo: one scheduled task as read from the Task Scheduler, and TTaskFilter:
// which tasks a listing keeps.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"

namespace bootmark {

// One trigger. On the 1.0 interface `TriggerType` holds the 1.0 type.
struct TTaskTriggerEntry {
  std::int32_t TriggerType = 0;
  std::int32_t Delay = -1;               // seconds
  std::int32_t IdleMinutes = -1;         // 1.0 only
  std::int32_t RepetitionInterval = -1;  // minutes
  std::int32_t RepetitionDuration = -1;  // minutes
  bool StopAtDurationEnd = false;
  std::int32_t ExecutionTimeLimit = -1;  // minutes
  bool TriggerEnabled = true;
  DateTime StartBoundary = 0;
  DateTime EndBoundary = 0;
  std::string StartBoundaryText;
};

struct TTaskActionEntry {
  std::int32_t ActionType = 0;  // 0 execute, 5 COM handler, 6 e-mail, 7 message
  std::string ExecPath;
  std::string ExecArguments;
  std::string ExecWorkingDirectory;
  std::string MessageTitle;
  std::string MessageBody;
};

class TTaskInfo {
 public:
  std::vector<TTaskTriggerEntry> Triggers;
  std::vector<TTaskActionEntry> Actions;
  std::string Name;
  std::string Path = "\\";
  std::string Author;
  std::string Description;
  std::string UserId;
  bool Hidden = false;
  std::int32_t RunLevel = 1;
  std::int32_t Compatibility = 2;
  // Scratch copies: after reading, the task's first trigger and first action.
  TTaskTriggerEntry Trigger;
  TTaskActionEntry Action;
  bool RunOnlyIfIdle = true;
  bool DisallowStartIfOnBatteries = true;
  bool StopIfGoingOnBatteries = false;
  std::int32_t IdleDuration = -1;  // minutes
  std::int32_t IdleWaitTimeout = -1;
  bool StopOnIdleEnd = false;
  bool RestartOnIdle = false;
  bool WakeToRun = false;
  bool AllowDemandStart = false;
  bool StartWhenAvailable = false;
  std::int32_t RestartInterval = -1;
  std::int32_t RestartCount = -1;
  std::int32_t ExecutionTimeLimit = -1;
  bool AllowHardTerminate = false;
  std::int32_t MultipleInstances = 0;
  std::int32_t StartHour = 0;
  std::int32_t StartMinute = 0;
  std::int32_t StartSecond = 0;
  std::int32_t DaysInterval = 0;
  std::int32_t WeeksInterval = 0;
  std::int32_t DaysOfWeek = 0;
  std::int32_t DaysOfMonth = 0;
  std::int32_t MonthsOfYear = 0;
  DateTime StartTime = 0;
  bool Enabled = false;
  std::int32_t LogonType = 0;
  std::uint16_t Priority = 0;

  std::int32_t TriggerCount() const { return static_cast<std::int32_t>(Triggers.size()); }
  // Copies trigger `index` (0-based) into `entry`; leaves it alone when out of range.
  void GetTrigger(std::int32_t index, TTaskTriggerEntry& entry) const;
  void AddTrigger(const TTaskTriggerEntry& entry) { Triggers.push_back(entry); }
  void AddAction(const TTaskActionEntry& entry) { Actions.push_back(entry); }
};

using TaskList = std::vector<std::unique_ptr<TTaskInfo>>;

class TTaskFilter {
 public:
  std::vector<std::string> Folders;  // lower-cased
  bool WithTriggers = true;
  bool WithoutTriggers = true;
  bool ExactFolderMatch = true;

  void AddFolder(std::string_view path);
  bool IsFolderExcluded(std::string_view path) const;
};

}  // namespace bootmark
