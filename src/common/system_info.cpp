#include "common/system_info.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/path.h"
#include "base/text.h"

namespace bootmark {
namespace {

constexpr int kUnscaledDpi = 96;
constexpr std::uint32_t kFirstWindows11Build = 22000;

// A special folder's fall-back. "<user>" in a path stands for the user name;
// paths follow the system drive.
struct FolderFallBack {
  int csidl;
  const char* variable;
  const char* variableOn64Bit;  // nullptr: the same variable
  const char* path;             // Windows 6.0 and later
  const char* pathBefore6;
  const char* pathOn64Bit;      // both eras on 64-bit Windows; nullptr: as above
};

constexpr std::array<FolderFallBack, 6> kFolderFallBacks{{
    {csidl::kAppData, "APPDATA", nullptr, "\\Users\\<user>\\AppData\\Roaming",
     "\\Documents and Settings\\<user>\\Application Data", nullptr},
    {csidl::kLocalAppData, "LOCALAPPDATA", nullptr, "\\Users\\<user>\\AppData\\Local",
     "\\Documents and Settings\\<user>\\Local Settings\\Application Data", nullptr},
    {csidl::kCommonAppData, "ProgramData", nullptr, "\\ProgramData",
     "\\Documents and Settings\\All Users\\Application Data", nullptr},
    {csidl::kProgramFiles, "ProgramFiles", "ProgramFiles(x86)", "\\Program Files", "\\Program Files",
     "\\Program Files (x86)"},
    {csidl::kProfile, "USERPROFILE", nullptr, "\\Users\\<user>", "\\Documents and Settings\\<user>", nullptr},
    {csidl::kCommonProgramFiles, "CommonProgramFiles", "CommonProgramFiles(x86)", "\\Program Files\\Common Files",
     "\\Program Files\\Common Files", "\\Program Files (x86)\\Common Files"},
}};

// "C:" of "C:\Windows\system32\kernel32.dll"; empty without a drive letter.
std::string DriveOf(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  return {};
}

}  // namespace

std::string OSNameOf(const VersionExInfo& version, std::uint16_t processorArchitecture) {
  if (version.platformId != kPlatformWin32Nt) return {};
  switch (version.major) {
    case 3:
    case 4:
      return "Windows NT";
    case 5:
      switch (version.minor) {
        case 0:
          return "Windows 2000";
        case 1:
          return "Windows XP";
        case 2:
          // Windows XP Professional x64 shares 5.2 with Windows Server 2003.
          return version.productType == kProductWorkstation && processorArchitecture == processor_arch::kAmd64
                     ? "Windows XP"
                     : "Windows 2003 Server";
        default:
          return {};
      }
    case 6:
      switch (version.minor) {
        case 0:
          return "Windows Vista";
        case 1:
          return "Windows 7";
        case 2:
        case 3:
          return "Windows 8";
        case 4:
          return "Windows 10";
        default:
          return {};
      }
    case 10:
      // Windows 11 kept major version 10; only its build numbers tell it apart.
      return version.build < kFirstWindows11Build ? "Windows 10" : "Windows 11";
    default:
      return version.major > 10 ? "Windows 11" : std::string();
  }
}

bool ScreenLargeEnough(Size screen) {
  const std::int32_t larger = std::max(screen.width, screen.height);
  const std::int32_t smaller = std::min(screen.width, screen.height);
  return larger >= 900 && smaller - 40 >= 600;
}

SystemInfo::SystemInfo(const Platform& platform) : platform_(platform) {}

void SystemInfo::SetupDpiAwareness() {
  IDisplay& display = platform_.display;
  const VersionExInfo version = platform_.system.VersionEx();

  if (version.major >= 6) {
    if (const std::optional<bool> aware = display.IsProcessDpiAware()) {
      if (!*aware || display.GetProcessDpiAwareness() == dpi_awareness::kUnaware) {
        dpiVirtualized_ = display.ScreenDpiY() == kUnscaledDpi;
      }
    }
  }
  // Windows scales the windows itself, and they fit on the screen at that size.
  if (dpiVirtualized_ && ScreenLargeEnough(platform_.desktop.PrimaryScreenSize())) return;

  if (version.major >= 6) {
    if (version.major < 10 && version.minor < 3) {
      display.SetProcessDpiAware();
      display.SetProcessDpiAwareness(dpi_awareness::kPerMonitorAware);
    } else {
      display.SetProcessDpiAwareness(dpi_awareness::kPerMonitorAware);
    }
  }
  platform_.debug.Write("************** Win32MinorVersion: " + std::to_string(version.minor));
}

RealVersion SystemInfo::GetRealVersion() {
  if (!realVersion_) realVersion_ = platform_.system.ProcessBlockVersion();
  return *realVersion_;
}

std::string SystemInfo::GetOSName(bool useRealVersion) {
  VersionExInfo version = platform_.system.VersionEx();
  if (useRealVersion) {
    const RealVersion real = GetRealVersion();
    version.major = real.Major;
    version.minor = real.Minor;
    version.build = real.Build;
  }
  return OSNameOf(version, platform_.system.NativeProcessorArchitecture());
}

std::string SystemInfo::GetSpecialFolder(WindowHandle /*owner*/, int csidl) {
  std::string path = platform_.shell.GetSpecialFolderPath(csidl);
  if (Utf8ToUtf16(path).size() >= 3) return path;
  const auto fallBack = std::find_if(kFolderFallBacks.begin(), kFolderFallBacks.end(),
                                     [csidl](const FolderFallBack& row) { return row.csidl == csidl; });
  if (fallBack == kFolderFallBacks.end()) return path;

  const bool on64BitWindows = IsWow64();
  const char* variable =
      on64BitWindows && fallBack->variableOn64Bit != nullptr ? fallBack->variableOn64Bit : fallBack->variable;
  if (std::optional<std::string> value = platform_.environment.GetVariable(variable); value && !value->empty()) {
    return *value;
  }

  const char* tail = platform_.system.VersionEx().major >= 6 ? fallBack->path : fallBack->pathBefore6;
  if (on64BitWindows && fallBack->pathOn64Bit != nullptr) tail = fallBack->pathOn64Bit;
  return DriveOf(platform_.system.Kernel32Path()) + ReplaceAll(tail, "<user>", GetCurrentUserName());
}

bool SystemInfo::IsWow64() {
  if (!isWow64_) {
    IWow64& wow64 = platform_.wow64;
    isWow64_ = wow64.ProcessIs64Bit() || wow64.IsWow64Process(wow64.CurrentProcess()).value_or(false);
  }
  return *isWow64_;
}

bool SystemInfo::DisableWow64Redirection(Wow64RedirectionValue& oldValue) {
  if (!IsWow64()) return false;
  if (platform_.wow64.ProcessIs64Bit()) {
    oldValue = 0;
    return true;
  }
  const std::optional<Wow64RedirectionValue> disabled = platform_.wow64.DisableRedirection();
  if (!disabled) return false;
  oldValue = *disabled;
  return true;
}

bool SystemInfo::RevertWow64Redirection(Wow64RedirectionValue oldValue) {
  if (!IsWow64()) return false;
  if (platform_.wow64.ProcessIs64Bit()) return true;
  return platform_.wow64.RevertRedirection(oldValue);
}

bool SystemInfo::IsWow64Process(ProcessHandle process, bool& isWow64) {
  IWow64& wow64 = platform_.wow64;
  if (wow64.ProcessIs64Bit() && process == wow64.CurrentProcess()) {
    isWow64 = IsWow64();
    return true;
  }
  const std::optional<bool> answer = wow64.IsWow64Process(process);
  if (!answer) return false;
  isWow64 = *answer;
  return true;
}

std::uint32_t SystemInfo::GetWindowsMajorVersion() { return platform_.system.VersionEx().major; }

std::string SystemInfo::GetCurrentUserName() { return platform_.system.UserName().value_or(std::string()); }

std::string SystemInfo::GetSystemDir() { return platform_.system.SystemDirectory(); }

std::string SystemInfo::GetWindowsDir() { return platform_.system.WindowsDirectory(); }

std::string SystemInfo::GetTempDir() { return platform_.system.TempDirectory(); }

std::string GuidToText(const Guid& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.data1), static_cast<unsigned>(guid.data2),
                static_cast<unsigned>(guid.data3), guid.data4[0], guid.data4[1], guid.data4[2],
                guid.data4[3], guid.data4[4], guid.data4[5], guid.data4[6], guid.data4[7]);
  return text;
}

std::string SystemInfo::NewGuidText() {
  const std::optional<Guid> guid = platform_.system.NewGuid();
  return guid ? GuidToText(*guid) : std::string();
}

}  // namespace bootmark
