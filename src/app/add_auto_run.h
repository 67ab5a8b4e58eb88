#pragma once
// The /AddAutoRun mode up to the alert window: the gates, the screening and the
// hand-over of the item to an alert window that is already open.
#include <string>

#include "alert/alert_window_names.h"
#include "app/mode_jobs.h"
#include "app/process_state.h"
#include "platform/platform.h"

namespace bootmark {

// Main.ini [Notification] StartupNotification is not "0" (a missing file counts as on).
bool IsStartupNotificationOn(const Platform& platform);

// Argument 2, a blank, argument 3, a blank, then arguments 4 to 7 run together.
std::string BuildForwardedItemText(const ProgramArguments& arguments);

enum class AddAutoRunOutcome {
  Ended,           // a gate or the screening stopped the item, or it was forwarded
  ShowAlertWindow  // this process opens the alert window (its queue now exists)
};

AddAutoRunOutcome RunAddAutoRun(const Platform& platform, IModeJobs& jobs, ProcessState& state);

}  // namespace bootmark
