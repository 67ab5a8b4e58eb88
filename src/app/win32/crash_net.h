#pragma once
// The last line of defence: whatever escapes (a C++ exception nothing caught, a
// call to std::terminate, a processor fault) is written to the program's log and
// the debug output, the crash handler gets its turn, and the process ends at
// once: no system error dialog, no hang on a window nobody sees.
#include <functional>
#include <string_view>

#include "app/crash_report.h"

namespace bootmark::win32 {

// First thing in main: the terminate handler, the unhandled-exception filter and
// the error mode without fault dialogs.
void InstallCrashNet();

// Where crash lines go besides the debug output, once the program's log exists.
// The writer must not throw.
void SetCrashLog(std::function<void(std::string_view line)> writer);
// The run mode named in later reports.
void SetCrashMode(std::string_view mode);

// Logs the report, runs the crash handler and ends the process with `exitCode`,
// or with 0 when the handler handled the failure.
[[noreturn]] void EndAfterCrash(CrashReport report, unsigned exitCode);

// Exit code of a process ended by a C++ failure (as abort()).
constexpr unsigned kCrashExitCode = 3;

}  // namespace bootmark::win32
