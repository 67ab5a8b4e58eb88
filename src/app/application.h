#pragma once
// The program entry: picks the run mode from the first argument and runs its job.
#include "app/mode_jobs.h"
#include "app/notice_windows.h"
#include "app/process_state.h"
#include "platform/platform.h"

namespace bootmark {

// Runs the mode named by state.arguments[1]; returns the process exit code (0).
int RunProgram(const Platform& platform, IModeJobs& jobs, INoticeWindows& windows, ProcessState& state);

}  // namespace bootmark
