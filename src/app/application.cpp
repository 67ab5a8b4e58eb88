#include "app/application.h"

#include <exception>
#include <string>
#include <vector>

#include "app/add_auto_run.h"
#include "app/crash_restart.h"
#include "app/main_data.h"
#include "app/run_mode.h"
#include "common/logs.h"
#include "startup/auto_run_config.h"

namespace bootmark {
namespace {

// Takes the mode's mutex; false when another instance of the mode already runs.
bool TakeModeMutex(const Platform& platform, ProcessState& state, std::string_view name) {
  state.modeMutex = platform.processes.CreateOwnedMutex(name);
  return !state.modeMutex->AlreadyExisted();
}

}  // namespace

void StartWindowFramework(ProcessState& state) {
  if (state.system) state.system->SetupDpiAwareness();
  if (state.frameworkStartProbe) state.frameworkStartProbe();
}

int RunProgram(const Platform& platform, IModeJobs& jobs, INoticeWindows& windows, ProcessState& state) {
  const RunMode mode = ParseRunMode(state.arguments[1]);

  // The main-data job runs alone: no statistics, no window. When the inventory
  // cannot be gathered (a lookup database that cannot be opened, a cache that
  // cannot be written) the job ends without touching "mainData.dat".
  if (mode == RunMode::MainData) {
    std::vector<StartupFileEntry> entries;
    try {
      entries = jobs.CollectStartupFiles();
    } catch (const std::exception& error) {
      if (state.logs) WriteTraceLog(*state.logs, std::string("WriteMainData : ") + error.what());
      return 0;
    }
    WriteMainData(platform, entries);
    return 0;
  }
  // A crash while the window framework starts restarts the boot time notice. The
  // handler is set and cleared by plain statements, not by a scope guard: a
  // failure that escapes the start must still find it when the safety net runs.
  if (mode == RunMode::BootTask) {
    state.restartMode = 1;
    SetCrashHandler([&platform, &state](const CrashReport& report) {
      return RestartAfterCrash(platform, state.arguments, state.restartMode, report);
    });
  }
  // /AddAutoRun starts the framework once its settings gate let the item through.
  if (mode != RunMode::AddAutoRun) StartWindowFramework(state);
  if (mode == RunMode::BootTask) SetCrashHandler({});

  switch (mode) {
    case RunMode::BootTask:
      if (TakeModeMutex(platform, state, kBootTaskMutex)) windows.RunBootTimeNotice(state);
      break;
    case RunMode::DNSChange:
      if (TakeModeMutex(platform, state, kDnsChangeMutex)) windows.RunDnsChangeNotice(state);
      break;
    case RunMode::AddAutoRun:
      if (RunAddAutoRun(platform, jobs, state) == AddAutoRunOutcome::ShowAlertWindow) {
        windows.RunAlertNotice(state);
      }
      break;
    case RunMode::UpdateTaskschd:
      jobs.SnapshotTaskStatus();
      ClearAutoRunConfig(platform);
      platform.debug.Write("UpdateTaskschd : UpdateTaskschd");
      break;
    case RunMode::LoadAVList:
      platform.debug.Write("LoadAVList : LoadAVList");
      windows.RunAlertNotice(state);
      break;
    case RunMode::MainData:
    case RunMode::None:
      break;
  }
  return 0;
}

}  // namespace bootmark
