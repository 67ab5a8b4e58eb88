#pragma once
// IServices over the Service Control Manager (advapi32).
#include "platform/services.h"

namespace bootmark::win32 {

class Win32Services : public IServices {
 public:
  std::uint32_t ServiceState(std::string_view name) override;
  Result<std::unique_ptr<IServiceDatabaseLock>> LockDatabase() override;
  bool DatabaseLocked() override;
  bool SetStartType(std::string_view name, std::uint32_t startType) override;
  Result<void> StartService(std::string_view name) override;
  std::unique_ptr<IServiceManager> OpenManager() override;
};

}  // namespace bootmark::win32
