#include "platform/win32/win32_system.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {

std::optional<std::string> Win32Environment::GetVariable(std::string_view name) {
  const std::wstring variable = Wide(name);
  std::vector<wchar_t> buffer(256);
  while (true) {
    ::SetLastError(0);
    const DWORD length = ::GetEnvironmentVariableW(variable.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

std::string Win32Environment::CommandLine() { return Narrow(std::wstring_view(::GetCommandLineW())); }

std::string Win32Environment::ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    if (buffer.size() >= 32768) return Narrow(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::uint32_t Win32Clock::TickCount() { return ::GetTickCount(); }

DateTime Win32Clock::Now() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  const CalendarTime time{local.wYear, local.wMonth, local.wDay, local.wHour,
                          local.wMinute, local.wSecond, local.wMilliseconds};
  return EncodeDateTime(time).value_or(0.0);
}

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

void Win32DebugOutput::Write(std::string_view line) { ::OutputDebugStringW(Wide(line).c_str()); }

std::string Win32Shell::GetSpecialFolderPath(int csidl) {
  wchar_t path[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return {};
  std::string folder = Narrow(std::wstring_view(path));
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

namespace {

class Win32NamedMutex : public INamedMutex {
 public:
  Win32NamedMutex(UniqueHandle handle, bool alreadyExisted)
      : handle_(std::move(handle)), alreadyExisted_(alreadyExisted) {}
  bool AlreadyExisted() const override { return alreadyExisted_; }

 private:
  UniqueHandle handle_;
  bool alreadyExisted_;
};

}  // namespace

std::unique_ptr<INamedMutex> Win32Processes::CreateOwnedMutex(std::string_view name) {
  UniqueHandle handle(::CreateMutexW(nullptr, TRUE, Wide(name).c_str()));
  const bool alreadyExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
  return std::make_unique<Win32NamedMutex>(std::move(handle), alreadyExisted);
}

void Win32Processes::TerminateSelf(std::uint32_t exitCode) {
  ::TerminateProcess(::GetCurrentProcess(), exitCode);
  ::ExitProcess(exitCode);  // not reached; TerminateProcess on itself does not return
}

}  // namespace bootmark::win32
