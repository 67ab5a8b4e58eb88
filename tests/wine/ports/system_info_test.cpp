// What only the real system answers about itself: the version in the process
// environment block. The rules built on it are tested natively; the 64-bit build's
// view of the machine as the 32-bit program's is seen end to end (the 64-bit run key
// and the store apps below Program Files of /mainData).
#include <windows.h>

#include <gtest/gtest.h>

#include "common/system_info.h"
#include "platform/win32/win32_platform.h"

namespace bootmark::win32 {
namespace {

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
