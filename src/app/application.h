#pragma once
// The program entry: picks the run mode from the first argument and runs its job.
#include "app/mode_jobs.h"
#include "app/notice_windows.h"
#include "app/process_state.h"
#include "platform/platform.h"

namespace bootmark {

// The window framework's start: the DPI decision, which must come before any
// window and any question to the desktop (the test build may fail here on request).
// Every mode but /mainData makes it; /AddAutoRun once its settings gate is passed,
// so that a run ending there needs no display.
void StartWindowFramework(ProcessState& state);

// Runs the mode named by state.arguments[1]; returns the process exit code (0).
int RunProgram(const Platform& platform, IModeJobs& jobs, INoticeWindows& windows, ProcessState& state);

}  // namespace bootmark
