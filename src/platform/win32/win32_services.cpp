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

UniqueServiceHandle OpenControlManager(DWORD access) {
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

std::string TextOf(const wchar_t* text) { return text == nullptr ? std::string() : Narrow(text); }

// One service opened with GENERIC_READ.
class Win32ServiceReader : public IServiceReader {
 public:
  explicit Win32ServiceReader(UniqueServiceHandle service) : service_(std::move(service)) {}

  std::optional<std::uint32_t> ConfigBytesNeeded() override {
    DWORD needed = 0;
    if (::QueryServiceConfigW(service_.Get(), nullptr, 0, &needed)) return needed;
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    return needed;
  }

  std::optional<ServiceConfig> QueryConfig(std::uint32_t bytes) override {
    // QUERY_SERVICE_CONFIGW holds pointers: the buffer is kept aligned for them.
    std::vector<std::uintptr_t> buffer(bytes / sizeof(std::uintptr_t) + 1);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    DWORD needed = 0;
    if (!::QueryServiceConfigW(service_.Get(), config, bytes, &needed)) return std::nullopt;
    return ServiceConfig{config->dwStartType, TextOf(config->lpBinaryPathName)};
  }

  std::string Description() override {
    using QueryConfig2 = BOOL(WINAPI*)(SC_HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
    static const auto queryConfig2 = FindSystemFunction<QueryConfig2>(L"advapi32.dll", "QueryServiceConfig2W");
    if (queryConfig2 == nullptr) return {};
    DWORD needed = 0;
    queryConfig2(service_.Get(), SERVICE_CONFIG_DESCRIPTION, nullptr, 0, &needed);
    if (needed == 0 || needed > kMaxDescriptionBytes) return {};
    std::vector<std::uintptr_t> buffer(needed / sizeof(std::uintptr_t) + 1);
    auto* description = reinterpret_cast<SERVICE_DESCRIPTIONW*>(buffer.data());
    if (!queryConfig2(service_.Get(), SERVICE_CONFIG_DESCRIPTION, reinterpret_cast<LPBYTE>(description), needed,
                      &needed) ||
        description->lpDescription == nullptr) {
      return {};
    }
    return TextOf(description->lpDescription);
  }

 private:
  static constexpr DWORD kMaxDescriptionBytes = 1048576;
  UniqueServiceHandle service_;
};

class Win32ServiceManager : public IServiceManager {
 public:
  explicit Win32ServiceManager(UniqueServiceHandle manager) : manager_(std::move(manager)) {}

  ServiceListBatch EnumServices(std::uint32_t& resumeHandle) override {
    std::vector<std::uintptr_t> buffer(kServiceEnumBufferBytes / sizeof(std::uintptr_t), 0);
    auto* entries = reinterpret_cast<ENUM_SERVICE_STATUSW*>(buffer.data());
    DWORD needed = 0;
    DWORD returned = 0;
    DWORD resume = resumeHandle;
    ServiceListBatch batch;
    if (!::EnumServicesStatusW(manager_.Get(), SERVICE_WIN32, SERVICE_STATE_ALL, entries, kServiceEnumBufferBytes,
                               &needed, &returned, &resume)) {
      batch.error = ::GetLastError();
      if (batch.error != ERROR_MORE_DATA) returned = 0;
    }
    resumeHandle = resume;
    batch.entries.reserve(returned);
    for (DWORD i = 0; i < returned; ++i) {
      batch.entries.push_back({TextOf(entries[i].lpServiceName), TextOf(entries[i].lpDisplayName)});
    }
    return batch;
  }

  std::unique_ptr<IServiceReader> Open(std::string_view name) override {
    UniqueServiceHandle service(::OpenServiceW(manager_.Get(), Wide(name).c_str(), GENERIC_READ));
    if (!service) return nullptr;
    return std::make_unique<Win32ServiceReader>(std::move(service));
  }

 private:
  UniqueServiceHandle manager_;
};

}  // namespace

std::unique_ptr<IServiceManager> Win32Services::OpenManager() {
  UniqueServiceHandle manager = OpenControlManager(SC_MANAGER_ENUMERATE_SERVICE);
  if (!manager) return nullptr;
  return std::make_unique<Win32ServiceManager>(std::move(manager));
}

std::uint32_t Win32Services::ServiceState(std::string_view name) {
  const UniqueServiceHandle manager = OpenControlManager(SC_MANAGER_CONNECT);
  const UniqueServiceHandle service = OpenNamedService(manager, name, SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  if (!service || !::QueryServiceStatus(service.Get(), &status)) return 0;
  return status.dwCurrentState;
}

Result<std::unique_ptr<IServiceDatabaseLock>> Win32Services::LockDatabase() {
  UniqueServiceHandle manager = OpenControlManager(SC_MANAGER_CONNECT | SC_MANAGER_LOCK | SC_MANAGER_QUERY_LOCK_STATUS);
  if (!manager) return SystemError{::GetLastError()};
  const SC_LOCK lock = ::LockServiceDatabase(manager.Get());
  if (lock == nullptr) return SystemError{::GetLastError()};
  return std::unique_ptr<IServiceDatabaseLock>(std::make_unique<Win32DatabaseLock>(std::move(manager), lock));
}

bool Win32Services::DatabaseLocked() {
  const UniqueServiceHandle manager = OpenControlManager(SC_MANAGER_QUERY_LOCK_STATUS);
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
  const UniqueServiceHandle manager = OpenControlManager(SC_MANAGER_CONNECT);
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
  const UniqueServiceHandle manager = OpenControlManager(SC_MANAGER_CONNECT);
  const UniqueServiceHandle service = OpenNamedService(manager, name, SERVICE_START);
  if (!service || !::StartServiceW(service.Get(), 0, nullptr)) return SystemError{::GetLastError()};
  return {};
}

}  // namespace bootmark::win32
