#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

// A named mutex created with initial ownership. It is held for as long as the
// object lives; the program keeps it until the process ends.
class INamedMutex {
 public:
  virtual ~INamedMutex() = default;
  // True when the mutex existed before this process created it
  // (GetLastError was ERROR_ALREADY_EXISTS).
  virtual bool AlreadyExisted() const = 0;
};

// One entry of a process snapshot (CreateToolhelp32Snapshot).
struct ProcessEntry {
  std::uint32_t processId = 0;
  // The executable's file name without its folder, as the snapshot gives it.
  std::string exeFile;
};

// The access token of another process's user, closed when the object is destroyed.
class IUserToken {
 public:
  virtual ~IUserToken() = default;
};

// Why the user token of a process could not be had.
enum class TokenFailure { kNone, kProcessNotOpened, kTokenNotOpened };

// What starting a process gave.
struct StartedProcess {
  bool created = false;
  // The exit code when the process ended within the wait.
  std::optional<std::uint32_t> exitCode;
};

// A wait without end for StartProcess (INFINITE).
constexpr std::uint32_t kWaitForever = 0xFFFFFFFF;

class IProcesses {
 public:
  virtual ~IProcesses() = default;
  virtual std::unique_ptr<INamedMutex> CreateOwnedMutex(std::string_view name) = 0;
  // Ends this process at once with the exit code (TerminateProcess on itself).
  [[noreturn]] virtual void TerminateSelf(std::uint32_t exitCode) = 0;

  // CreateProcessW of a whole command line (no application name, no inherited
  // handles, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, the window hidden:
  // STARTF_USESHOWWINDOW with SW_HIDE), then a wait of at most `waitMilliseconds`
  // for it to end; its handles are closed before returning.
  virtual StartedProcess StartProcess(std::string_view commandLine, std::uint32_t waitMilliseconds) = 0;

  // The session of the user at the console (WTSGetActiveConsoleSessionId).
  virtual std::uint32_t ActiveConsoleSessionId() = 0;
  // Every running process; empty when no snapshot could be taken.
  virtual std::vector<ProcessEntry> ProcessSnapshot() = 0;
  // ProcessIdToSessionId; nullopt when it fails.
  virtual std::optional<std::uint32_t> ProcessSessionId(std::uint32_t processId) = 0;
  // The SID text ("S-1-5-21-...") of a process's user, read from its token with
  // query rights only; nullopt when the process or its token cannot be read.
  virtual std::optional<std::string> ProcessUserSid(std::uint32_t processId) = 0;
  // The token of a process's user: OpenProcess with all access (0x1F0FFF), then
  // OpenProcessToken with access 0xF00FF; the process handle is closed again.
  // Nullptr with `failure` set when either call fails.
  virtual std::unique_ptr<IUserToken> OpenProcessUserToken(std::uint32_t processId, TokenFailure& failure) = 0;
  // CreateProcessAsUserW with the token in that user's environment
  // (CreateEnvironmentBlock of Userenv.dll, not inherited) on the desktop
  // "Winsta0\Default", shown normally. True when the process was created.
  virtual bool StartProcessAsUser(IUserToken& token, std::string_view commandLine) = 0;

  // Loads the library at its full path, calls its exported function of the form
  // `int __stdcall Function(int)` with `argument` and frees the library again.
  // Nullopt when the library or the function is missing.
  virtual std::optional<std::int32_t> CallLibraryFunction(std::string_view libraryPath, std::string_view function,
                                                          std::int32_t argument) = 0;
};

}  // namespace bootmark
