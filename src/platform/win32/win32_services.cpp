#include "platform/win32/win32_services.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/system_library.h"
#include "platform/win32/unique_resource.h"
#include "platform/win32/wide.h"

#undef StartService

namespace bootmark::win32 {
namespace {

void CloseService(SC_HANDLE handle) { ::CloseServiceHandle(handle); }
void UnlockDatabase(SC_LOCK lock) { ::UnlockServiceDatabase(lock); }

// A handle of the Service Control Manager or of one service.
using UniqueServiceHandle = UniqueResource<SC_HANDLE, CloseService>;
// The lock of the service database, released with UnlockServiceDatabase.
using UniqueServiceLock = UniqueResource<SC_LOCK, UnlockDatabase>;

UniqueServiceHandle OpenManager(DWORD access) {
  return UniqueServiceHandle(::OpenSCManagerW(nullptr, nullptr, access));
}

UniqueServiceHandle OpenNamedService(const UniqueServiceHandle& manager, std::string_view name, DWORD access) {
  if (!manager) return UniqueServiceHandle(nullptr);
  return UniqueServiceHandle(::OpenServiceW(manager.Get(), Wide(name).c_str(), access));
}

class Win32DatabaseLock : public IServiceDatabaseLock {
 public:
  Win32DatabaseLock(UniqueServiceHandle manager, SC_LOCK lock) : manager_(std::move(manager)), lock_(lock) {}

 private:
  // Declared in this order so that the lock is released before the manager closes.
  UniqueServiceHandle manager_;
  UniqueServiceLock lock_;
};

}  // namespace

std::uint32_t Win32Services::ServiceState(std::string_view name) {
  const UniqueServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  const UniqueServiceHandle service = OpenNamedService(manager, name, SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  if (!service || !::QueryServiceStatus(service.Get(), &status)) return 0;
  return status.dwCurrentState;
}

Result<std::unique_ptr<IServiceDatabaseLock>> Win32Services::LockDatabase() {
  UniqueServiceHandle manager = OpenManager(SC_MANAGER_CONNECT | SC_MANAGER_LOCK | SC_MANAGER_QUERY_LOCK_STATUS);
  if (!manager) return SystemError{::GetLastError()};
  const SC_LOCK lock = ::LockServiceDatabase(manager.Get());
  if (lock == nullptr) return SystemError{::GetLastError()};
  return std::unique_ptr<IServiceDatabaseLock>(std::make_unique<Win32DatabaseLock>(std::move(manager), lock));
}

bool Win32Services::DatabaseLocked() {
  const UniqueServiceHandle manager = OpenManager(SC_MANAGER_QUERY_LOCK_STATUS);
  if (!manager) return false;
  DWORD needed = 0;
  ::QueryServiceLockStatusW(manager.Get(), nullptr, 0, &needed);
  if (needed == 0 || needed > 65536) return false;
  std::vector<unsigned char> buffer(needed);
  auto* status = reinterpret_cast<QUERY_SERVICE_LOCK_STATUSW*>(buffer.data());
  if (!::QueryServiceLockStatusW(manager.Get(), status, needed, &needed)) return false;
  return status->fIsLocked != 0;
}

bool Win32Services::SetStartType(std::string_view name, std::uint32_t startType) {
  const UniqueServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  const UniqueServiceHandle service = OpenNamedService(manager, name, SERVICE_CHANGE_CONFIG);
  if (!service) return false;
  // Only the start type changes: every other setting is passed as "no change".
  const bool changed = ::ChangeServiceConfigW(service.Get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE,
                                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) != 0;
  // The description level with no text leaves the description as it is.
  using ChangeConfig2 = BOOL(WINAPI*)(SC_HANDLE, DWORD, LPVOID);
  static const auto changeConfig2 = FindSystemFunction<ChangeConfig2>(L"advapi32.dll", "ChangeServiceConfig2W");
  if (changeConfig2 != nullptr) {
    SERVICE_DESCRIPTIONW description{};
    changeConfig2(service.Get(), SERVICE_CONFIG_DESCRIPTION, &description);
  }
  return changed;
}

Result<void> Win32Services::StartService(std::string_view name) {
  const UniqueServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  const UniqueServiceHandle service = OpenNamedService(manager, name, SERVICE_START);
  if (!service || !::StartServiceW(service.Get(), 0, nullptr)) return SystemError{::GetLastError()};
  return {};
}

}  // namespace bootmark::win32
