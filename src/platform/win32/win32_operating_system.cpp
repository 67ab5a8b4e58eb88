#include "platform/win32/win32_operating_system.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {

namespace {

// Calls a function that fills a path buffer and answers the length written, or
// the size it needs when the buffer is too small.
template <typename Call>
std::string ReadPath(Call call) {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    buffer.resize(length + 1);
  }
  return {};
}

template <typename Value>
Value ReadAt(const unsigned char* base, std::size_t offset) {
  Value value;
  std::memcpy(&value, base + offset, sizeof value);
  return value;
}

}  // namespace

VersionExInfo Win32OperatingSystem::VersionEx() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId, info.wProductType};
  }
  // Systems before NT 4.0 SP6 know only the short record.
  OSVERSIONINFOW basic{};
  basic.dwOSVersionInfoSize = sizeof basic;
  if (!::GetVersionExW(&basic)) return {};
  return {basic.dwMajorVersion, basic.dwMinorVersion, basic.dwBuildNumber, basic.dwPlatformId, 0};
}

RealVersion Win32OperatingSystem::ProcessBlockVersion() {
  // The thread environment block (at the fs or gs segment) holds the address of
  // the process environment block at 0x30 (x64: 0x60), which holds OSMajorVersion
  // and OSMinorVersion (ULONG) and OSBuildNumber (USHORT) at the offsets below;
  // they have stayed the same since Windows 2000 (x64: since its first version).
  // A WOW64 process has its own 32-bit block, which Windows fills with the real
  // version too. The address is read from the segment here rather than through
  // NtCurrentTeb, whose own read GCC 12 wrongly warns about.
  const unsigned char* peb = nullptr;
#ifdef _WIN64
  constexpr std::size_t kMajor = 0x118, kMinor = 0x11C, kBuild = 0x120;
  __asm__("movq %%gs:0x60, %0" : "=r"(peb));
#else
  constexpr std::size_t kMajor = 0xA4, kMinor = 0xA8, kBuild = 0xAC;
  __asm__("movl %%fs:0x30, %0" : "=r"(peb));
#endif
  return {ReadAt<ULONG>(peb, kMajor), ReadAt<ULONG>(peb, kMinor), ReadAt<USHORT>(peb, kBuild)};
}

std::uint16_t Win32OperatingSystem::NativeProcessorArchitecture() {
  using GetNativeSystemInfoFunction = void(WINAPI*)(LPSYSTEM_INFO);
  static const auto getNativeSystemInfo =
      FindSystemFunction<GetNativeSystemInfoFunction>(L"kernel32.dll", "GetNativeSystemInfo");
  SYSTEM_INFO info{};
  if (getNativeSystemInfo != nullptr) {
    getNativeSystemInfo(&info);
  } else {
    ::GetSystemInfo(&info);
  }
  return info.wProcessorArchitecture;
}

std::optional<std::string> Win32OperatingSystem::UserName() {
  wchar_t name[256] = {};
  DWORD size = 256;
  if (!::GetUserNameW(name, &size)) return std::nullopt;
  return Narrow(std::wstring_view(name));
}

std::string Win32OperatingSystem::SystemDirectory() {
  return ReadPath([](wchar_t* buffer, DWORD size) { return ::GetSystemDirectoryW(buffer, size); });
}

std::string Win32OperatingSystem::WindowsDirectory() {
  return ReadPath([](wchar_t* buffer, DWORD size) { return ::GetWindowsDirectoryW(buffer, size); });
}

char Win32OperatingSystem::DecimalSeparator() {
  wchar_t separator[8] = {};
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  // A separator outside ASCII (or longer than one character) is not one the
  // number formats here can use.
  if (length != 2 || separator[0] == 0 || separator[0] > 0x7F) return '.';
  return static_cast<char>(separator[0]);
}

MemoryStatus Win32OperatingSystem::AvailableMemory() {
  using GlobalMemoryStatusExFunction = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
  static const auto globalMemoryStatusEx =
      FindSystemFunction<GlobalMemoryStatusExFunction>(L"kernel32.dll", "GlobalMemoryStatusEx");
  if (globalMemoryStatusEx == nullptr) return {};
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!globalMemoryStatusEx(&status)) return {};
  return {status.ullAvailPhys, status.ullAvailVirtual};
}

}  // namespace bootmark::win32
