// Bootmark.exe: started by the suite with one switch, does that one job and ends.
#include "app/application.h"
#include "app/default_mode_jobs.h"
#include "app/win32/win32_notice_windows.h"
#include "platform/win32/win32_platform.h"

int main() {
  using namespace bootmark;
  win32::Win32Platform win32Platform;
  const Platform& platform = win32Platform.Get();

  ProcessState state;
  state.arguments = ProgramArguments::FromCommandLine(platform.environment.CommandLine());
  state.logs = std::make_unique<Logs>(platform.files, platform.clock, platform.environment);
  state.system = std::make_unique<SystemInfo>(platform);
  state.tasks = std::make_unique<TaskReader>(platform, state.logs.get());
  state.identity = LoadLocalIdentity(platform, *state.system);
  state.checkPath = std::make_unique<TCheckPath>(platform);

  DefaultModeJobs jobs(platform, state);
  win32::Win32NoticeWindows windows(platform);
  return RunProgram(platform, jobs, windows, state);
}
