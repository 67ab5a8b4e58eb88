#pragma once
// The new-startup-item alert as a real window.
#include "app/process_state.h"
#include "platform/platform.h"

namespace bootmark::win32 {

// Creates the alert, shows the item of this start and then each forwarded one,
// and ends the process (exit code 0) when no item is left, when the item's
// program does not exist, and when the window is closed by the system.
void RunAutoRunNoticeWindow(const Platform& platform, ProcessState& state);

}  // namespace bootmark::win32
