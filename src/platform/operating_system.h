#pragma once
// Facts about the running Windows: its version as the process is told it and as
// it really is, the processor, the user, the system folders, new GUIDs.
#include <cstdint>
#include <optional>
#include <string>

namespace bootmark {

// The version numbers Windows keeps in the process environment block. They are
// not subject to the compatibility version that GetVersionExW reports to
// programs whose manifest does not list the running system.
struct RealVersion {
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::uint32_t Build = 0;
  friend bool operator==(const RealVersion&, const RealVersion&) = default;
};

// What GetVersionExW reports (OSVERSIONINFOEXW).
struct VersionExInfo {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platformId = 0;   // 2 for the NT family
  std::uint8_t productType = 0;   // 1 workstation, 2 domain controller, 3 server; 0 unknown
};

constexpr std::uint32_t kPlatformWin32Nt = 2;
constexpr std::uint8_t kProductWorkstation = 1;

// Processor architectures of SYSTEM_INFO.wProcessorArchitecture.
namespace processor_arch {
constexpr std::uint16_t kIntel = 0;
constexpr std::uint16_t kIa64 = 6;
constexpr std::uint16_t kAmd64 = 9;
constexpr std::uint16_t kArm64 = 12;
constexpr std::uint16_t kUnknown = 0xFFFF;
}  // namespace processor_arch

// Free memory, in bytes.
struct MemoryStatus {
  std::uint64_t availablePhysical = 0;
  std::uint64_t availableVirtual = 0;  // free address space of this process
};

class IOperatingSystem {
 public:
  virtual ~IOperatingSystem() = default;
  // GetVersionExW: the version the system reports to this process.
  virtual VersionExInfo VersionEx() = 0;
  // The OS version fields of this process's environment block.
  virtual RealVersion ProcessBlockVersion() = 0;
  // The machine's processor architecture: GetNativeSystemInfo where the system
  // has it (a 32-bit process on 64-bit Windows sees the real one), else GetSystemInfo.
  virtual std::uint16_t NativeProcessorArchitecture() = 0;
  // GetUserNameW (up to 255 characters); nullopt when it fails.
  virtual std::optional<std::string> UserName() = 0;
  // GetSystemDirectoryW and GetWindowsDirectoryW as the system gives them; empty
  // on failure.
  virtual std::string SystemDirectory() = 0;
  virtual std::string WindowsDirectory() = 0;
  // The user's decimal separator (GetLocaleInfoW LOCALE_SDECIMAL), for numbers shown
  // to the user; "." when it cannot be read. Settings files never use it.
  virtual char DecimalSeparator() = 0;
  // GlobalMemoryStatusEx, looked up in kernel32 at run time; all 0 without it or
  // when it fails.
  virtual MemoryStatus AvailableMemory() = 0;
};

}  // namespace bootmark
