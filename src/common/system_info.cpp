#include "common/system_info.h"

#include <algorithm>

#include "base/path.h"
#include "base/program_arguments.h"
#include "base/text.h"

namespace bootmark {
namespace {

constexpr int kUnscaledDpi = 96;
constexpr std::uint32_t kFirstWindows11Build = 22000;

constexpr std::intptr_t kShellExecuteSuccessAbove = 32;

bool AtLeast(const VersionExInfo& version, std::uint32_t major, std::uint32_t minor) {
  return version.major > major || (version.major == major && version.minor >= minor);
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

std::string SystemInfo::GetSystemDir() { return platform_.system.SystemDirectory(); }

std::string SystemInfo::GetWindowsDir() { return platform_.system.WindowsDirectory(); }

bool OpenFolderAndSelect(const Platform& platform, std::string_view path) {
  const VersionExInfo version = platform.system.VersionEx();
  if (AtLeast(version, 5, 1) && platform.shell.OpenFolderAndSelectItem(path) == SelectInFolderResult::kOpened) {
    return true;
  }
  if (AtLeast(version, 6, 0)) {
    const std::string folder = platform.files.DirectoryExists(path) ? std::string(path) : ExtractFileDir(path);
    return platform.shell.ShellExecute(kNoWindow, "explore", folder, "", "", show_command::kNormal) >
           kShellExecuteSuccessAbove;
  }
  // Explorer by its full path (never searched for along the current folder and
  // PATH), and the path quoted: a path with a comma or blank is still one item.
  const std::string windows = platform.system.WindowsDirectory();
  if (windows.empty()) return false;
  return platform.shell.ShellExecute(kNoWindow, "open", IncludeTrailingBackslash(windows) + "explorer.exe",
                                     " /select," + QuoteArgument(path), "",
                                     show_command::kNormal) > kShellExecuteSuccessAbove;
}

}  // namespace bootmark
