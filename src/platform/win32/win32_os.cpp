#include "platform/win32/win32_os.h"

#include <windows.h>
#include <objbase.h>
#include <winver.h>

#include <cstring>
#include <vector>

#include "platform/win32/gdi_objects.h"
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

// --- Operating system ------------------------------------------------------------

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

std::string Win32OperatingSystem::TempDirectory() {
  return ReadPath([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); });
}

std::string Win32OperatingSystem::Kernel32Path() {
  HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  if (kernel32 == nullptr) return {};
  // GetModuleFileNameW cuts the path to the buffer rather than telling its size.
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  while (true) {
    const DWORD length = ::GetModuleFileNameW(kernel32, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size() || buffer.size() >= 32768) return Narrow(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<Guid> Win32OperatingSystem::NewGuid() {
  GUID guid{};
  if (FAILED(::CoCreateGuid(&guid))) return std::nullopt;
  Guid result{guid.Data1, guid.Data2, guid.Data3, {}};
  std::memcpy(result.data4.data(), guid.Data4, sizeof guid.Data4);
  return result;
}

char Win32OperatingSystem::DecimalSeparator() {
  wchar_t separator[8] = {};
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  // A separator outside ASCII (or longer than one character) is not one the
  // number formats here can use.
  if (length != 2 || separator[0] == 0 || separator[0] > 0x7F) return '.';
  return static_cast<char>(separator[0]);
}

// --- WOW64 -------------------------------------------------------------------------

namespace {

// kernel32's WOW64 functions, looked up together the first time one is needed.
struct Wow64Functions {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  using DisableFunction = BOOL(WINAPI*)(PVOID*);
  using RevertFunction = BOOL(WINAPI*)(PVOID);

  IsWow64ProcessFunction isWow64Process =
      FindSystemFunction<IsWow64ProcessFunction>(L"kernel32.dll", "IsWow64Process");
  DisableFunction disable = FindSystemFunction<DisableFunction>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
  RevertFunction revert = FindSystemFunction<RevertFunction>(L"kernel32.dll", "Wow64RevertWow64FsRedirection");
};

const Wow64Functions& Wow64() {
  static const Wow64Functions functions;
  return functions;
}

}  // namespace

bool Win32Wow64::ProcessIs64Bit() { return sizeof(void*) == 8; }

ProcessHandle Win32Wow64::CurrentProcess() { return reinterpret_cast<ProcessHandle>(::GetCurrentProcess()); }

bool Win32Wow64::IsWow64Process(ProcessHandle process, bool& isWow64) {
  BOOL answer = FALSE;
  if (Wow64().isWow64Process == nullptr || !Wow64().isWow64Process(reinterpret_cast<HANDLE>(process), &answer)) {
    return false;
  }
  isWow64 = answer != FALSE;
  return true;
}

bool Win32Wow64::DisableRedirection(Wow64RedirectionValue& oldValue) {
  PVOID value = nullptr;
  if (Wow64().disable == nullptr || !Wow64().disable(&value)) return false;
  oldValue = reinterpret_cast<Wow64RedirectionValue>(value);
  return true;
}

bool Win32Wow64::RevertRedirection(Wow64RedirectionValue oldValue) {
  return Wow64().revert != nullptr && Wow64().revert(reinterpret_cast<PVOID>(oldValue));
}

// --- Display -----------------------------------------------------------------------

std::optional<bool> Win32Display::IsProcessDpiAware() {
  using Function = BOOL(WINAPI*)();
  static const auto isProcessDpiAware = FindSystemFunction<Function>(L"user32.dll", "IsProcessDPIAware");
  if (isProcessDpiAware == nullptr) return std::nullopt;
  return isProcessDpiAware() != FALSE;
}

bool Win32Display::SetProcessDpiAware() {
  using Function = BOOL(WINAPI*)();
  static const auto setProcessDpiAware = FindSystemFunction<Function>(L"user32.dll", "SetProcessDPIAware");
  return setProcessDpiAware != nullptr && setProcessDpiAware();
}

std::optional<int> Win32Display::GetProcessDpiAwareness() {
  // PROCESS_DPI_AWARENESS is an enumeration of int size.
  using Function = HRESULT(WINAPI*)(HANDLE, int*);
  static const auto getProcessDpiAwareness = FindSystemFunction<Function>(L"Shcore.dll", "GetProcessDpiAwareness");
  int awareness = 0;
  if (getProcessDpiAwareness == nullptr || FAILED(getProcessDpiAwareness(::GetCurrentProcess(), &awareness))) {
    return std::nullopt;
  }
  return awareness;
}

bool Win32Display::SetProcessDpiAwareness(int awareness) {
  using Function = HRESULT(WINAPI*)(int);
  static const auto setProcessDpiAwareness = FindSystemFunction<Function>(L"Shcore.dll", "SetProcessDpiAwareness");
  return setProcessDpiAwareness != nullptr && SUCCEEDED(setProcessDpiAwareness(awareness));
}

int Win32Display::ScreenDpiY() {
  const UniqueScreenDc screen = ScreenDc();
  if (!screen) return 0;
  return ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

std::optional<Rect> Win32Display::MonitorWorkArea(const Rect& area) {
  const RECT rect{area.left, area.top, area.right, area.bottom};
  HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !::GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

// --- Version resources -------------------------------------------------------------

std::optional<std::string> Win32VersionResources::ReadVersionResource(std::string_view path) {
  const std::wstring file = Wide(path);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::string bytes(size, '\0');
  if (!::GetFileVersionInfoW(file.c_str(), 0, size, bytes.data())) return std::nullopt;
  return bytes;
}

}  // namespace bootmark::win32
