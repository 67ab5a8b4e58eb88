#pragma once
// The boot time notice as a real window.
#include "app/process_state.h"
#include "platform/platform.h"

namespace bootmark::win32 {

// Runs the startup inventory, creates the notice, runs its message loop and ends
// the process (exit code 0) on every way out, including a window closed by the
// system.
void RunBootTimeNoticeWindow(const Platform& platform, ProcessState& state);

}  // namespace bootmark::win32
