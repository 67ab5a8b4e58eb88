#pragma once
// The task scheduler's own service, "Schedule": the scheduler answers only while
// it runs, so every listing and look-up first makes sure that it does.
#include "platform/services.h"

namespace bootmark {

inline constexpr std::string_view kScheduleServiceName = "Schedule";

// True when the service runs, or was started now. A stopped service is first set
// to start automatically (under the service database's lock, which goes ahead
// when another holder has it), then started; the start-type change does not
// decide the answer.
bool EnsureTaskSchedulerRuns(IServices& services);

}  // namespace bootmark
