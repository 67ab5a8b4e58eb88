// Bootmark.exe: started by the suite with one switch, does that one job and ends.
#include "app/application.h"
#include "app/crash_report.h"
#include "app/default_mode_jobs.h"
#include "app/win32/crash_net.h"
#include "app/win32/win32_notice_windows.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_platform.h"

#ifdef BOOTMARK_TEST_FAULTS
#include <windows.h>

#include <new>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <thread>

#include "common/data_dirs.h"

namespace {

// The test build only: "TestFault.txt" beside the program names a failure to
// cause at the start of the mode, or, after "framework:", while the window
// framework starts, so that the crash net and the restart are seen at work.
void CauseFault(std::string_view kind) {
  if (kind == "exception") throw std::runtime_error("injected failure");
  if (kind == "oserror") throw std::system_error(ERROR_ACCESS_DENIED, std::system_category(), "injected failure");
  if (kind == "bad_alloc") throw std::bad_alloc();
  if (kind == "thread") std::thread([] { throw std::logic_error("injected failure in a thread"); }).join();
  if (kind == "access") ::RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
}

void InjectTestFault(const bootmark::Platform& platform, bootmark::ProcessState& state) {
  const auto kind = platform.files.ReadAll(bootmark::ProgramDir(platform.environment) + "TestFault.txt");
  if (!kind) return;
  constexpr std::string_view kFrameworkPrefix = "framework:";
  if (!kind->starts_with(kFrameworkPrefix)) return CauseFault(*kind);
  state.frameworkStartProbe = [fault = kind->substr(kFrameworkPrefix.size())] { CauseFault(fault); };
}

}  // namespace
#endif

namespace {

// The end of a run whose mode let a failure escape. Out of line, so that main's
// handler needs none of main's registers after the unwind (Wine with a debugger
// attached does not restore them all).
[[gnu::noinline, noreturn]] void EndAfterEscapedFailure() {
  using namespace bootmark;
  win32::EndAfterCrash(ReportException(std::current_exception()), win32::kCrashExitCode);
}

}  // namespace

int main() {
  using namespace bootmark;
  // Before anything that can fail: whatever escapes from here on is logged and
  // ends the process at once.
  win32::InstallCrashNet();
  win32::RestrictDllSearch();
  win32::Win32Platform win32Platform;
  const Platform& platform = win32Platform.Get();

  ProcessState state;
  state.arguments = ProgramArguments::FromCommandLine(platform.environment.CommandLine());
  win32::SetCrashMode(state.arguments[1]);
  state.logs = std::make_unique<Logs>(platform.files, platform.clock, platform.environment);
  win32::SetCrashLog([logs = state.logs.get()](std::string_view line) { WriteTraceLog(*logs, line); });
  try {
    // Only what every mode needs; the task reader (COM), the command-line resolver
    // and the local identity lists are made by the first job that asks for them.
    state.system = std::make_unique<SystemInfo>(platform);

    DefaultModeJobs jobs(platform, state);
    win32::Win32NoticeWindows windows(platform);
#ifdef BOOTMARK_TEST_FAULTS
    InjectTestFault(platform, state);
#endif
    return RunProgram(platform, jobs, windows, state);
  } catch (...) {
    // A mode's failure that nothing on its way caught.
    EndAfterEscapedFailure();
  }
}
