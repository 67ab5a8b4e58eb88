#pragma once
// The operating-system facts, WOW64, the display, the registry and version
// resources.
#include "platform/display.h"
#include "platform/operating_system.h"
#include "platform/registry.h"
#include "platform/version_resources.h"
#include "platform/wow64.h"

namespace bootmark::win32 {

class Win32OperatingSystem : public IOperatingSystem {
 public:
  VersionExInfo VersionEx() override;
  RealVersion ProcessBlockVersion() override;
  std::uint16_t NativeProcessorArchitecture() override;
  std::optional<std::string> UserName() override;
  std::string SystemDirectory() override;
  std::string WindowsDirectory() override;
  std::string TempDirectory() override;
  std::string Kernel32Path() override;
  std::optional<Guid> NewGuid() override;
  char DecimalSeparator() override;
};

// In the 64-bit build the functions answer for that 64-bit process: it is not a
// WOW64 process and nothing redirects its file access. The rules that must see
// the machine as the shipped 32-bit program does (SystemInfo) make up for it.
class Win32Wow64 : public IWow64 {
 public:
  bool ProcessIs64Bit() override;
  ProcessHandle CurrentProcess() override;
  bool IsWow64Process(ProcessHandle process, bool& isWow64) override;
  bool DisableRedirection(Wow64RedirectionValue& oldValue) override;
  bool RevertRedirection(Wow64RedirectionValue oldValue) override;
};

class Win32Display : public IDisplay {
 public:
  std::optional<bool> IsProcessDpiAware() override;
  bool SetProcessDpiAware() override;
  std::optional<int> GetProcessDpiAwareness() override;
  bool SetProcessDpiAwareness(int awareness) override;
  int ScreenDpiY() override;
  std::optional<Rect> MonitorWorkArea(const Rect& area) override;
};

class Win32VersionResources : public IVersionResources {
 public:
  std::optional<std::string> ReadVersionResource(std::string_view path) override;
};

}  // namespace bootmark::win32
