#pragma once
// The Service Control Manager, as far as the program needs it: the state of one
// service, its start type, starting it, the lock of the service database, and
// the list of services with their configuration.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The buffer of one EnumServicesStatusW call, in bytes.
constexpr std::uint32_t kServiceEnumBufferBytes = 65536;
constexpr std::uint32_t kErrorMoreData = 234;

// One entry of the service list.
struct ServiceListEntry {
  std::string serviceName;
  std::string displayName;
};

// The entries of one EnumServicesStatusW call and how it ended: 0 when it
// returned the last entries, kErrorMoreData when more follow from the resume
// handle, any other error when the list cannot go on.
struct ServiceListBatch {
  std::vector<ServiceListEntry> entries;
  std::uint32_t error = 0;
};

// What QueryServiceConfigW gives of one service.
struct ServiceConfig {
  std::uint32_t startType = 0;
  std::string binaryPath;
};

// One service opened for reading; closed when the object is destroyed.
class IServiceReader {
 public:
  virtual ~IServiceReader() = default;
  // The size QueryServiceConfigW asks for; nullopt when the query fails in
  // another way than by the buffer being too small.
  virtual std::optional<std::uint32_t> ConfigBytesNeeded() = 0;
  // QueryServiceConfigW into a buffer of `bytes`; nullopt when it fails.
  virtual std::optional<ServiceConfig> QueryConfig(std::uint32_t bytes) = 0;
  // QueryServiceConfig2W's description text; empty when the service has none.
  virtual std::string Description() = 0;
};

// The Service Control Manager opened to list the services; closed when the
// object is destroyed.
class IServiceManager {
 public:
  virtual ~IServiceManager() = default;
  // One EnumServicesStatusW call for the Win32 services in any state into a
  // zeroed buffer of kServiceEnumBufferBytes, from `resumeHandle` (0 at first),
  // which it advances.
  virtual ServiceListBatch EnumServices(std::uint32_t& resumeHandle) = 0;
  // OpenServiceW with GENERIC_READ; nullptr when it fails.
  virtual std::unique_ptr<IServiceReader> Open(std::string_view name) = 0;
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
  // OpenSCManagerW of the local machine with SC_MANAGER_ENUMERATE_SERVICE;
  // nullptr when access is refused.
  virtual std::unique_ptr<IServiceManager> OpenManager() = 0;
};

}  // namespace bootmark
