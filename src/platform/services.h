#pragma once
// The Service Control Manager, as far as the program needs it: the state of one
// service, its start type, starting it, and the lock of the service database.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/result.h"

namespace bootmark {

namespace service_state {
constexpr std::uint32_t kStopped = 1;
constexpr std::uint32_t kRunning = 4;
}  // namespace service_state

namespace service_start {
constexpr std::uint32_t kAutomatic = 2;
constexpr std::uint32_t kDemand = 3;
constexpr std::uint32_t kDisabled = 4;
}  // namespace service_start

constexpr std::uint32_t kErrorServiceDatabaseLocked = 1055;

// The lock of the service database, released when the object is destroyed.
class IServiceDatabaseLock {
 public:
  virtual ~IServiceDatabaseLock() = default;
};

class IServices {
 public:
  virtual ~IServices() = default;
  // QueryServiceStatus's current state; 0 when the service cannot be opened or
  // queried.
  virtual std::uint32_t ServiceState(std::string_view name) = 0;
  // LockServiceDatabase; a failure carries its error (1055 when another holder
  // has it).
  virtual Result<std::unique_ptr<IServiceDatabaseLock>> LockDatabase() = 0;
  // QueryServiceLockStatusW: true when the database is locked.
  virtual bool DatabaseLocked() = 0;
  // ChangeServiceConfigW with only the start type changed, then
  // ChangeServiceConfig2W's description level with no text. False when the
  // service cannot be opened or the change is refused.
  virtual bool SetStartType(std::string_view name, std::uint32_t startType) = 0;
  // StartServiceW; a failure carries GetLastError, which may be 0 (then ok()
  // is true: a refusal without a reason does not count as one).
  virtual Result<void> StartService(std::string_view name) = 0;
};

}  // namespace bootmark
