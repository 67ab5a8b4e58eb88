#include "app/win32/crash_net.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <string>

#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

// Set once at start, read when the process fails: no lock is needed.
std::function<void(std::string_view)> crashLog;
std::string crashMode;
std::atomic<bool> ending{false};

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
  CrashReport report;
  unsigned code = kCrashExitCode;
  if (pointers != nullptr && pointers->ExceptionRecord != nullptr) {
    code = pointers->ExceptionRecord->ExceptionCode;
    report.what = DescribeExceptionCode(code);
    report.className = CrashClassNameOfCode(code);
    report.address = reinterpret_cast<std::uintptr_t>(pointers->ExceptionRecord->ExceptionAddress);
  } else {
    report.what = DescribeExceptionCode(0);
  }
  EndAfterCrash(std::move(report), code);
}

void OnTerminate() {
  const std::exception_ptr exception = std::current_exception();
  CrashReport report = ReportException(exception);
  if (!exception) report.what = "terminate without an exception";
  EndAfterCrash(std::move(report), kCrashExitCode);
}

}  // namespace

void InstallCrashNet() {
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  ::SetUnhandledExceptionFilter(OnUnhandledException);
  std::set_terminate(OnTerminate);
}

void SetCrashLog(std::function<void(std::string_view line)> writer) { crashLog = std::move(writer); }

void SetCrashMode(std::string_view mode) { crashMode.assign(mode); }

void EndAfterCrash(CrashReport report, unsigned exitCode) {
  // A second failure while the first is reported (in the log writer, in the
  // handler, on another thread) only ends the process.
  if (!ending.exchange(true)) {
    try {
      if (report.mode.empty()) report.mode = crashMode;
      const std::string line = CrashLogLine(report);
      ::OutputDebugStringW(Wide(line).c_str());
      if (crashLog) crashLog(line);
    } catch (...) {
      // Out of memory while describing the failure: end all the same.
    }
    // A failure the handler took care of ends the process as a normal end.
    if (RunCrashHandler(report)) exitCode = 0;
  }
  ::TerminateProcess(::GetCurrentProcess(), exitCode);
  ::ExitProcess(exitCode);  // not reached
}

}  // namespace bootmark::win32
