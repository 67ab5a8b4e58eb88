#pragma once
// The few values that live for the whole process. Created in main and passed down;
// nothing else in the program holds process-wide state.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "alert/alert_queue.h"
#include "base/program_arguments.h"
#include "common/logs.h"
#include "common/system_info.h"
#include "platform/processes.h"
#include "platform/types.h"
#include "startup/command_path.h"
#include "startup/local_identity.h"
#include "startup/task_reader.h"
#include "suite/statistics.h"

namespace bootmark {

struct ProcessState {
  ProgramArguments arguments;
  // 1 in the boot time mode: a crash there may restart the program.
  int restartMode = 0;
  // The mode's named mutex, held until the process ends.
  std::unique_ptr<INamedMutex> modeMutex;
  // The new item's text as forwarded to a running alert window.
  std::string forwardedItemText;
  // The running alert window found by a later /AddAutoRun start.
  WindowHandle alertWindow = kNoWindow;
  // Created only by the first /AddAutoRun instance, just before its alert window.
  std::optional<AlertQueue> alertQueue;
  // The trace and task exception logs, created by main for the whole process. Held
  // by pointer: the managers own locks and so cannot move, while the state itself
  // must stay movable; tests that write no log leave it empty.
  std::unique_ptr<Logs> logs;
  // Facts about the system computed once (DPI scaling, versions, WOW64), created by
  // main; empty in tests that need none.
  std::unique_ptr<SystemInfo> system;
  // The task reader of the chosen scheduler interface, created by the first job
  // that reads tasks (it sets up COM for the process).
  std::unique_ptr<TaskReader> tasks;
  // The resolver of startup command lines, created by the first job that resolves
  // one; it reads the PATH and PATHEXT lists on its first search.
  std::unique_ptr<TCheckPath> checkPath;
  // The local users, computer name and owner that item keys replace, read by the
  // first job that makes item keys (after the task reader); empty lists when they
  // could not be read.
  std::optional<LocalIdentity> identity;
  // The usage statistics, set up by the first event sent (StatisticsFor).
  StatState statistics;
  // Runs while the window framework starts; set only by the test build, which
  // fails there on request.
  std::function<void()> frameworkStartProbe;
};

}  // namespace bootmark
