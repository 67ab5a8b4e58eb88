#pragma once
// Fakes of the operating-system ports: version and machine facts, WOW64, the
// display, the registry and version resources. The defaults describe a 64-bit
// Windows 10 machine with a 1920 x 1080 screen at 96 dots per inch, on which
// the shipped 32-bit program runs as a WOW64 process.
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "fakes/fake_ports.h"
#include "platform/platform.h"

namespace bootmark::testing {

class FakeOperatingSystem : public IOperatingSystem {
 public:
  VersionExInfo VersionEx() override { return versionEx; }
  RealVersion ProcessBlockVersion() override {
    ++processBlockReads;
    return processBlock;
  }
  std::uint16_t NativeProcessorArchitecture() override { return architecture; }
  std::optional<std::string> UserName() override { return userName; }
  std::string SystemDirectory() override { return "C:\\Windows\\system32"; }
  std::string WindowsDirectory() override { return "C:\\Windows"; }
  char DecimalSeparator() override { return decimalSeparator; }
  MemoryStatus AvailableMemory() override { return memory; }

  VersionExInfo versionEx{10, 0, 19045, kPlatformWin32Nt, kProductWorkstation};
  RealVersion processBlock{10, 0, 19045};
  std::uint16_t architecture = processor_arch::kAmd64;
  std::optional<std::string> userName = "Ann";
  char decimalSeparator = '.';
  MemoryStatus memory{4ull << 30, 2ull << 30};
  int processBlockReads = 0;
};

class FakeWow64 : public IWow64 {
 public:
  static constexpr ProcessHandle kCurrentProcess = ~ProcessHandle{0};

  bool ProcessIs64Bit() override { return is64BitProcess; }
  ProcessHandle CurrentProcess() override { return kCurrentProcess; }
  std::optional<bool> IsWow64Process(ProcessHandle process) override;
  std::optional<Wow64RedirectionValue> DisableRedirection() override;
  bool RevertRedirection(Wow64RedirectionValue oldValue) override;

  bool is64BitProcess = false;
  // Nullopt: the system has no IsWow64Process.
  std::optional<bool> currentProcessIsWow64 = true;
  std::map<ProcessHandle, bool> otherProcesses;
  bool hasRedirectionFunctions = true;
  bool redirectionDisabled = false;
  std::vector<std::string> redirectionCalls;
};

class FakeDisplay : public IDisplay {
 public:
  std::optional<bool> IsProcessDpiAware() override { return dpiAware; }
  bool SetProcessDpiAware() override;
  std::optional<int> GetProcessDpiAwareness() override { return awareness; }
  bool SetProcessDpiAwareness(int value) override;
  int ScreenDpiY() override { return screenDpi; }
  std::optional<Rect> MonitorWorkArea(const Rect& area) override {
    workAreaAskedFor.push_back(area);
    return workArea;
  }

  // Nullopt: the function is missing (user32 before Vista, Shcore before 8.1).
  std::optional<bool> dpiAware = false;
  bool hasSetProcessDpiAware = true;
  std::optional<int> awareness = dpi_awareness::kUnaware;
  bool hasSetProcessDpiAwareness = true;
  int screenDpi = 96;
  std::optional<Rect> workArea = Rect{0, 0, 1920, 1040};
  // "SetProcessDPIAware" and "SetProcessDpiAwareness(n)" in the order called.
  std::vector<std::string> calls;
  std::vector<Rect> workAreaAskedFor;
};

class FakeVersionResources : public IVersionResources {
 public:
  std::optional<std::string> ReadVersionResource(std::string_view path) override {
    return Lookup(resources, UpperCaseOrdinal(path));
  }
  void Set(std::string_view path, std::string bytes) { resources[UpperCaseOrdinal(path)] = std::move(bytes); }
  std::map<std::string, std::string> resources;
};

}  // namespace bootmark::testing
