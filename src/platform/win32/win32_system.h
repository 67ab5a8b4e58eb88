#pragma once
// The small ports: environment, clock, debug output, shell folders, processes.
#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/environment.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace bootmark::win32 {

class Win32Environment : public IEnvironment {
 public:
  std::optional<std::string> GetVariable(std::string_view name) override;
  std::optional<std::string> ExpandVariables(std::string_view text) override;
  std::string CommandLine() override;
  std::string ExecutablePath() override;
};

class Win32Clock : public IClock {
 public:
  std::uint32_t TickCount() override;
  DateTime Now() override;
  DateTime UtcNow() override;
  void Sleep(std::uint32_t milliseconds) override;
};

class Win32DebugOutput : public IDebugOutput {
 public:
  void Write(std::string_view line) override;
};

class Win32Shell : public IShell {
 public:
  std::string GetSpecialFolderPath(int csidl) override;
  SelectInFolderResult OpenFolderAndSelectItem(std::string_view path) override;
  std::intptr_t ShellExecute(WindowHandle owner, std::string_view verb, std::string_view file,
                             std::string_view parameters, std::string_view directory, int showCommand) override;
  std::optional<ShellLinkTarget> ReadShellLink(std::string_view linkPath) override;
};

class Win32Processes : public IProcesses {
 public:
  std::unique_ptr<INamedMutex> CreateOwnedMutex(std::string_view name) override;
  [[noreturn]] void TerminateSelf(std::uint32_t exitCode) override;
  // In win32_processes.cpp:
  StartedProcess StartProcess(std::string_view commandLine, std::uint32_t waitMilliseconds) override;
  std::uint32_t ActiveConsoleSessionId() override;
  std::vector<ProcessEntry> ProcessSnapshot() override;
  std::optional<std::uint32_t> ProcessSessionId(std::uint32_t processId) override;
  std::unique_ptr<IUserToken> OpenProcessUserToken(std::uint32_t processId, TokenFailure& failure) override;
  bool StartProcessAsUser(IUserToken& token, std::string_view commandLine) override;
  std::optional<std::int32_t> CallLibraryFunction(std::string_view libraryPath, std::string_view function,
                                                  std::int32_t argument) override;
};

}  // namespace bootmark::win32
