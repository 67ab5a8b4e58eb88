#pragma once
// The DNS change notice as a real window.
#include "app/process_state.h"
#include "platform/platform.h"

namespace bootmark::win32 {

// Creates the notice, runs its message loop and ends the process (exit code 0)
// on every way out, including a window closed by the system.
void RunDnsChangeNoticeWindow(const Platform& platform, ProcessState& state);

}  // namespace bootmark::win32
