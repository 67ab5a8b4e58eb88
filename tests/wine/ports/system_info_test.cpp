// What only the real system answers about itself: the 64-bit checks of the 64-bit
// test build and the version in the process environment block. The rules built on
// these answers are tested natively; programs started through the shell are seen end
// to end (the suite from a notice, the restart helper after a crash).
#include <windows.h>

#include <gtest/gtest.h>

#include "base/text.h"
#include "common/system_info.h"
#include "platform/win32/win32_operating_system.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_wow64.h"

namespace bootmark::win32 {
namespace {

#ifdef _WIN64
// The 64-bit build, the one the Wine tests run, is no WOW64 process, but stands for
// the 32-bit program: its program folders and its answers are those of the 32-bit
// program.
TEST(Win32Wow64Checks, The64BitBuildSeesTheMachineAsThe32BitProgramWould) {
  Win32Platform win32;
  SystemInfo system(win32.Get());
  Win32Wow64 wow64;
  EXPECT_TRUE(wow64.ProcessIs64Bit());
  EXPECT_EQ(wow64.IsWow64Process(wow64.CurrentProcess()), std::optional<bool>(false));
  EXPECT_TRUE(system.IsWow64());
  EXPECT_EQ(Win32OperatingSystem().NativeProcessorArchitecture(), processor_arch::kAmd64);
  Wow64RedirectionValue oldValue = 1234;
  EXPECT_TRUE(system.DisableWow64Redirection(oldValue));
  EXPECT_EQ(oldValue, 0u);
  EXPECT_TRUE(system.RevertWow64Redirection(oldValue));

  Win32Shell shell;
  EXPECT_TRUE(EndsWithIgnoreCase(shell.GetSpecialFolderPath(csidl::kProgramFiles), ":\\Program Files (x86)"));
  EXPECT_TRUE(EndsWithIgnoreCase(shell.GetSpecialFolderPath(csidl::kCommonProgramFiles),
                                 ":\\Program Files (x86)\\Common Files"));
}
#endif

TEST(Win32RealVersion, ProcessBlockHoldsTheVersionTheKernelReports) {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOW kernel{};
  kernel.dwOSVersionInfoSize = sizeof kernel;
  ASSERT_EQ(rtlGetVersion(&kernel), 0);

  Win32Platform win32;
  SystemInfo system(win32.Get());
  EXPECT_EQ(system.GetRealVersion(),
            (RealVersion{kernel.dwMajorVersion, kernel.dwMinorVersion, kernel.dwBuildNumber}));
  EXPECT_EQ(win32.Get().system.VersionEx().platformId, kPlatformWin32Nt);
}

}  // namespace
}  // namespace bootmark::win32
