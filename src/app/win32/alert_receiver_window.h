#pragma once
// The alert window of the first /AddAutoRun instance as a receiver: a top-level
// window of class "TBmark_AutoRunNotice", titled "AutoRunNotice", that later
// instances find and forward their items to with WM_COPYDATA. It stays open while
// items keep arriving and closes a while after the last one.
#include "app/process_state.h"
#include "platform/platform.h"

namespace bootmark::win32 {

// Creates the window and runs the message loop until it closes. False when the
// window could not be created.
bool RunAlertReceiverWindow(const Platform& platform, ProcessState& state);

}  // namespace bootmark::win32
