#pragma once
// The program's own mutex and end, starting other programs, the process list and
// user tokens, and one call into a library.
#include "platform/processes.h"

namespace bootmark::win32 {

class Win32Processes : public IProcesses {
 public:
  std::unique_ptr<INamedMutex> CreateOwnedMutex(std::string_view name) override;
  [[noreturn]] void TerminateSelf(std::uint32_t exitCode) override;
  StartedProcess StartProcess(std::string_view commandLine, std::uint32_t waitMilliseconds) override;
  std::uint32_t ActiveConsoleSessionId() override;
  std::vector<ProcessEntry> ProcessSnapshot() override;
  std::optional<std::uint32_t> ProcessSessionId(std::uint32_t processId) override;
  std::optional<std::string> ProcessUserSid(std::uint32_t processId) override;
  std::unique_ptr<IUserToken> OpenProcessUserToken(std::uint32_t processId, TokenFailure& failure) override;
  bool StartProcessAsUser(IUserToken& token, std::string_view commandLine) override;
  std::optional<std::int32_t> CallLibraryFunction(std::string_view libraryPath, std::string_view function,
                                                  std::int32_t argument) override;
};

}  // namespace bootmark::win32
