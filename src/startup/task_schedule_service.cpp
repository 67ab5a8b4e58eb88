#include "startup/task_schedule_service.h"

#include <memory>

namespace bootmark {
namespace {

constexpr std::uint32_t kErrorServiceAlreadyRunning = 1056;

void SetAutomaticStart(IServices& services) {
  std::uint32_t error = 0;
  std::unique_ptr<IServiceDatabaseLock> lock = services.LockDatabase(error);
  // Someone else holds the lock: its status is asked for and the change goes
  // ahead; the manager itself decides whether it can be made meanwhile.
  if (!lock && error == kErrorServiceDatabaseLocked) services.DatabaseLocked();
  services.SetStartType(kScheduleServiceName, service_start::kAutomatic);
}

}  // namespace

bool EnsureTaskSchedulerRuns(IServices& services) {
  if (services.ServiceState(kScheduleServiceName) == service_state::kRunning) return true;
  SetAutomaticStart(services);
  if (services.ServiceState(kScheduleServiceName) == service_state::kRunning) return true;
  std::uint32_t error = 0;
  if (services.StartService(kScheduleServiceName, error)) return true;
  // A failure that sets no error, or a service started meanwhile, is no failure.
  return error == 0 || error == kErrorServiceAlreadyRunning;
}

}  // namespace bootmark
