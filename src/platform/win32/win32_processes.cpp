// Starting other programs: hidden in this session, or in the console user's
// session with that user's token; and one call into a library loaded for it.
#include "platform/win32/win32_processes.h"

#include <windows.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "platform/win32/loaded_library.h"
#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

// Exactly the access rights the suite's launcher has always asked for: all
// access to the process (as Windows XP defines it), and every right on its token.
constexpr DWORD kProcessAllAccessXp = 0x1F0FFF;
constexpr DWORD kTokenAllAccessXp = 0xF00FF;

// The start-up information is the 68-byte structure of the shipped 32-bit program
// (the 64-bit build has its own, larger one).
#ifndef _WIN64
static_assert(sizeof(STARTUPINFOW) == 68);
#endif

class Win32NamedMutex : public INamedMutex {
 public:
  Win32NamedMutex(UniqueHandle handle, bool alreadyExisted)
      : handle_(std::move(handle)), alreadyExisted_(alreadyExisted) {}
  bool AlreadyExisted() const override { return alreadyExisted_; }

 private:
  UniqueHandle handle_;
  bool alreadyExisted_;
};

class Win32UserToken : public IUserToken {
 public:
  explicit Win32UserToken(UniqueHandle token) : token_(std::move(token)) {}
  HANDLE Get() const { return token_.Get(); }

 private:
  UniqueHandle token_;
};

// CreateProcessW and CreateProcessAsUserW may write into the command line.
std::vector<wchar_t> WritableCommandLine(std::string_view commandLine) {
  const std::wstring wide = Wide(commandLine);
  std::vector<wchar_t> buffer(wide.begin(), wide.end());
  buffer.push_back(L'\0');
  return buffer;
}

// The user's own environment block, made by userenv.dll (looked up in the system
// folder when first needed) and given back to it.
void DestroyEnvironment(void* environment) {
  using DestroyEnvironmentBlockFunc = BOOL(WINAPI*)(void* environment);
  static const auto destroy = FindSystemFunction<DestroyEnvironmentBlockFunc>(L"userenv.dll", "DestroyEnvironmentBlock");
  if (destroy != nullptr) destroy(environment);
}

using UniqueEnvironmentBlock = UniqueResource<void*, DestroyEnvironment>;

UniqueEnvironmentBlock UserEnvironment(HANDLE userToken) {
  using CreateEnvironmentBlockFunc = BOOL(WINAPI*)(void** environment, HANDLE token, BOOL inherit);
  static const auto create = FindSystemFunction<CreateEnvironmentBlockFunc>(L"userenv.dll", "CreateEnvironmentBlock");
  void* environment = nullptr;
  if (create == nullptr || !create(&environment, userToken, FALSE)) return {};
  return UniqueEnvironmentBlock(environment);
}

STARTUPINFOW StartupInfo() {
  STARTUPINFOW startup{};
  startup.cb = sizeof(STARTUPINFOW);
  return startup;
}

}  // namespace

std::unique_ptr<INamedMutex> Win32Processes::CreateOwnedMutex(std::string_view name) {
  UniqueHandle handle(::CreateMutexW(nullptr, TRUE, Wide(name).c_str()));
  const DWORD error = ::GetLastError();
  // Access denied: the mutex exists, made by a process of another account that
  // does not let this one open it. Another instance runs all the same.
  const bool alreadyExisted = error == ERROR_ALREADY_EXISTS || (!handle && error == ERROR_ACCESS_DENIED);
  return std::make_unique<Win32NamedMutex>(std::move(handle), alreadyExisted);
}

void Win32Processes::TerminateSelf(std::uint32_t exitCode) {
  ::TerminateProcess(::GetCurrentProcess(), exitCode);
  ::ExitProcess(exitCode);  // not reached; TerminateProcess on itself does not return
}

StartedProcess Win32Processes::StartProcess(std::string_view commandLine, std::uint32_t waitMilliseconds) {
  std::vector<wchar_t> line = WritableCommandLine(commandLine);
  STARTUPINFOW startup = StartupInfo();
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &info)) {
    return {};
  }
  const UniqueHandle process(info.hProcess);
  const UniqueHandle thread(info.hThread);
  StartedProcess started{true, std::nullopt};
  if (::WaitForSingleObject(process.Get(), waitMilliseconds) == WAIT_OBJECT_0) {
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(process.Get(), &exitCode)) started.exitCode = exitCode;
  }
  return started;
}

std::uint32_t Win32Processes::ActiveConsoleSessionId() { return ::WTSGetActiveConsoleSessionId(); }

std::vector<ProcessEntry> Win32Processes::ProcessSnapshot() {
  std::vector<ProcessEntry> processes;
  const UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return processes;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
    processes.push_back({entry.th32ProcessID, Narrow(std::wstring_view(entry.szExeFile))});
  }
  return processes;
}

std::optional<std::uint32_t> Win32Processes::ProcessSessionId(std::uint32_t processId) {
  DWORD session = 0;
  if (!::ProcessIdToSessionId(processId, &session)) return std::nullopt;
  return session;
}

std::optional<std::string> Win32Processes::ProcessUserSid(std::uint32_t processId) {
  const UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process) return std::nullopt;
  UniqueHandle token;
  if (!::OpenProcessToken(process.Get(), TOKEN_QUERY, token.Put())) return std::nullopt;
  DWORD needed = 0;
  ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &needed);
  if (needed == 0 || needed > 4096) return std::nullopt;
  std::vector<unsigned char> buffer(needed);
  if (!::GetTokenInformation(token.Get(), TokenUser, buffer.data(), needed, &needed)) return std::nullopt;
  LPWSTR text = nullptr;
  if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return std::nullopt;
  const UniqueLocal<LPWSTR> owned(text);
  return Narrow(std::wstring_view(text));
}

std::unique_ptr<IUserToken> Win32Processes::OpenProcessUserToken(std::uint32_t processId, TokenFailure& failure) {
  UniqueHandle token;
  {
    const UniqueHandle process(::OpenProcess(kProcessAllAccessXp, FALSE, processId));
    if (!process) {
      failure = TokenFailure::kProcessNotOpened;
      return nullptr;
    }
    if (!::OpenProcessToken(process.Get(), kTokenAllAccessXp, token.Put())) {
      failure = TokenFailure::kTokenNotOpened;
      return nullptr;
    }
  }
  failure = TokenFailure::kNone;
  return std::make_unique<Win32UserToken>(std::move(token));
}

bool Win32Processes::StartProcessAsUser(IUserToken& token, std::string_view commandLine) {
  const HANDLE userToken = static_cast<Win32UserToken&>(token).Get();

  // The user's own environment, so that the program sees that user's folders.
  const UniqueEnvironmentBlock environment = UserEnvironment(userToken);
  // Without it the program would get this process's (SYSTEM's) environment and
  // folders: the start fails instead.
  if (!environment) return false;

  std::vector<wchar_t> line = WritableCommandLine(commandLine);
  wchar_t desktop[] = L"Winsta0\\Default";
  STARTUPINFOW startup = StartupInfo();
  startup.lpDesktop = desktop;
  startup.wShowWindow = SW_SHOWNORMAL;  // the flags stay 0: the program shows itself as it likes
  PROCESS_INFORMATION info{};
  const BOOL created =
      ::CreateProcessAsUserW(userToken, nullptr, line.data(), nullptr, nullptr, FALSE,
                             CREATE_UNICODE_ENVIRONMENT | CREATE_DEFAULT_ERROR_MODE, environment.Get(), nullptr,
                             &startup, &info);
  if (!created) return false;
  const UniqueHandle process(info.hProcess);
  const UniqueHandle thread(info.hThread);
  return true;
}

std::optional<std::int32_t> Win32Processes::CallLibraryFunction(std::string_view libraryPath,
                                                                std::string_view function, std::int32_t argument) {
  using IntFunction = int(WINAPI*)(int);
  const LoadedLibrary library(Wide(libraryPath));
  const auto call = library.Find<IntFunction>(std::string(function).c_str());
  if (call == nullptr) return std::nullopt;
  return call(argument);
}

}  // namespace bootmark::win32
