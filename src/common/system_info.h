#pragma once
// The operating system as the program sees it: how the process declares its DPI
// awareness at start-up, the Windows version as the system really is and its
// display name, special folders with fall-backs, the 64-bit Windows checks and
// the file-system redirection switches, a few one-line queries, and opening
// Explorer with a file selected.
//
// One SystemInfo lives for the whole process (the values it computes are kept
// from the first use on). The first uses happen on the main thread during
// start-up; nothing here takes a lock.
//
// Bitness: the shipped program is 32-bit. The 64-bit build (made only to run the
// tests under 64-bit Wine) answers as the 32-bit program would on the same
// machine: IsWow64 is true (a 64-bit process runs only on 64-bit Windows, where
// the 32-bit program is a WOW64 process), and switching the redirection off and
// back succeeds without doing anything, since no redirection applies to it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace bootmark {

// Display name of a Windows version: "Windows XP", "Windows 2003 Server",
// "Windows 7", "Windows 10", "Windows 11"... Only the NT family gets a name;
// versions no row names give the empty text. `version` gives the platform and
// the product type, and the version numbers to name.
std::string OSNameOf(const VersionExInfo& version, std::uint16_t processorArchitecture);

// A screen is large enough for the notice windows at the size Windows' own
// scaling gives them when its larger side is at least 900 pixels and its smaller
// side at least 640.
bool ScreenLargeEnough(Size screen);

class SystemInfo {
 public:
  explicit SystemInfo(const Platform& platform);

  // Runs once while the program starts, before any window exists: finds out
  // whether Windows scales the program's windows itself (DpiVirtualized) and,
  // unless it does on a large enough screen, declares the process DPI aware.
  // Writes "************** Win32MinorVersion: <minor>" when it declares.
  void SetupDpiAwareness();
  // True when the process is not DPI aware and the screen reports 96 dots per
  // inch, i.e. Windows scales the program's windows itself.
  bool DpiVirtualized() const { return dpiVirtualized_; }

  // Major, minor and build as the system really is, from the process
  // environment block.
  RealVersion GetRealVersion();
  // OSNameOf the version GetVersionExW reports, or of GetRealVersion's numbers
  // when `useRealVersion` (the only way to tell Windows 11 from Windows 10).
  std::string GetOSName(bool useRealVersion);

  // True when the program runs as a 32-bit process on 64-bit Windows (always, in
  // the 64-bit build). Computed once.
  bool IsWow64();
  // Switch the file-system redirection of the calling thread off and back on.
  // Both do nothing and return false unless IsWow64 is true and the system has
  // the function.
  bool DisableWow64Redirection(Wow64RedirectionValue& oldValue);
  bool RevertWow64Redirection(Wow64RedirectionValue oldValue);
  // kernel32's IsWow64Process: false when the system has none or the call fails.
  // Asked about the current process, the 64-bit build answers as IsWow64 does.
  bool IsWow64Process(ProcessHandle process, bool& isWow64);

  std::string GetSystemDir();
  std::string GetWindowsDir();

 private:
  const Platform& platform_;
  bool dpiVirtualized_ = false;
  std::optional<RealVersion> realVersion_;
  std::optional<bool> isWow64_;
};

// Opens Explorer on `path` with the file selected:
//  1. on Windows XP and later, through SHOpenFolderAndSelectItems where shell32
//     has it; true when that worked;
//  2. otherwise, on Windows 6.0 and later, opens the containing folder of a file
//     (a folder itself) with the shell verb "explore";
//  3. on older systems, starts "explorer" with " /select," and the path.
// In 2 and 3 the result is true when the shell call answers above 32.
bool OpenFolderAndSelect(const Platform& platform, std::string_view path);

}  // namespace bootmark
