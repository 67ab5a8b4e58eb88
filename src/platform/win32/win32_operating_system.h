#pragma once
// The operating system's version, folders, user and locale facts.
#include "platform/operating_system.h"

namespace bootmark::win32 {

class Win32OperatingSystem : public IOperatingSystem {
 public:
  VersionExInfo VersionEx() override;
  RealVersion ProcessBlockVersion() override;
  std::uint16_t NativeProcessorArchitecture() override;
  std::optional<std::string> UserName() override;
  std::string SystemDirectory() override;
  std::string WindowsDirectory() override;
  char DecimalSeparator() override;
  MemoryStatus AvailableMemory() override;
};

}  // namespace bootmark::win32
