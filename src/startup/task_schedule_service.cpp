#include "startup/task_schedule_service.h"

#include <memory>

namespace bootmark {
namespace {

constexpr std::uint32_t kErrorServiceAlreadyRunning = 1056;

void SetAutomaticStart(IServices& services) {
  const Result<std::unique_ptr<IServiceDatabaseLock>> lock = services.LockDatabase();
  // Someone else holds the lock: its status is asked for and the change goes
  // ahead; the manager itself decides whether it can be made meanwhile.
  if (!lock && lock.error() == kErrorServiceDatabaseLocked) services.DatabaseLocked();
  services.SetStartType(kScheduleServiceName, service_start::kAutomatic);
}

}  // namespace

bool EnsureTaskSchedulerRuns(IServices& services) {
  if (services.ServiceState(kScheduleServiceName) == service_state::kRunning) return true;
  SetAutomaticStart(services);
  if (services.ServiceState(kScheduleServiceName) == service_state::kRunning) return true;
  const Result<void> started = services.StartService(kScheduleServiceName);
  // A failure that sets no error, or a service started meanwhile, is no failure.
  return started.ok() || started.error() == kErrorServiceAlreadyRunning;
}

}  // namespace bootmark
