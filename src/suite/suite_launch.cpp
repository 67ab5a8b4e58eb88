#include "suite/suite_launch.h"

#include "base/text.h"
#include "common/data_dirs.h"

namespace bootmark {
namespace {

constexpr std::uint32_t kStartupOptimizeMessage = 1226;  // 0x4CA
constexpr std::uint32_t kStartupNotifyMessage = 1225;    // 0x4C9
constexpr std::uint32_t kCleanMessage = 10029;           // 0x272D
constexpr std::uint32_t kNewStartupInfoMessage = 33357;  // 0x824D

// The process whose user a SYSTEM start borrows: the console user's shell.
constexpr std::string_view kConsoleShellProcess = "explorer.exe";

}  // namespace

SuiteCommand SuiteCommand::StartupOptimize() { return {kStartupOptimizeMessage, 0, 0, "/StartupOptimize"}; }

SuiteCommand SuiteCommand::StartupNotify() { return {kStartupNotifyMessage, 0, 0, "/StartupNotify"}; }

SuiteCommand SuiteCommand::Clean(int kinds) { return {kCleanMessage, 0, kinds, "/cache " + std::to_string(kinds)}; }

SuiteCommand SuiteCommand::NewStartupInfo(std::string_view itemFields) {
  return {kNewStartupInfoMessage, 0, 0, "/NewStartupInfo " + std::string(itemFields)};
}

void OpenSuite(const Platform& platform, const SuiteCommand& command) {
  const WindowHandle suiteWindow = platform.desktop.FindTopWindow(kSuiteWindowClass, kSuiteWindowTitle);
  if (suiteWindow != kNoWindow) {
    platform.desktop.PostWindowMessage(suiteWindow, command.message, command.wParam, command.lParam);
    return;
  }
  const std::string programDir = ProgramDir(platform.environment);
  const std::string exePath = programDir + std::string(kSuiteExe);
  if (!SameText(GetCurrentUserName(platform), "system")) {
    platform.shell.ShellExecute(kNoWindow, "open", exePath, command.switchText, programDir, show_command::kHide);
    return;
  }
  // A program started from the SYSTEM account would not appear on the user's
  // desktop: start it as the user at the console instead.
  RunInConsoleSession(platform, kConsoleShellProcess, exePath, command.switchText);
}

std::string GetCurrentUserName(const Platform& platform) { return platform.system.UserName().value_or(""); }

std::string ConsoleCommandLine(std::string_view exePath, std::string_view switchText) {
  // The path is quoted: unquoted, a path with blanks ("C:\Program Files\...")
  // would let the system start "C:\Program.exe" or any other program that
  // happens to match the first words of the path.
  return "\"" + std::string(exePath) + "\" " + std::string(switchText);
}

int RunInConsoleSession(const Platform& platform, std::string_view processName, std::string_view exePath,
                        std::string_view switchText) {
  if (!platform.files.FileExists(exePath)) return console_start::kStarted;

  const std::uint32_t consoleSession = platform.processes.ActiveConsoleSessionId();
  const std::string wantedName = UpperCaseOrdinal(processName);
  std::optional<std::uint32_t> userProcess;
  for (const ProcessEntry& process : platform.processes.ProcessSnapshot()) {
    if (UpperCaseOrdinal(process.exeFile) != wantedName) continue;
    if (platform.processes.ProcessSessionId(process.processId) == consoleSession) {
      userProcess = process.processId;
      break;
    }
  }
  if (!userProcess) return console_start::kNoConsoleProcess;

  TokenFailure failure = TokenFailure::kNone;
  const std::unique_ptr<IUserToken> token = platform.processes.OpenProcessUserToken(*userProcess, failure);
  if (!token) {
    return failure == TokenFailure::kProcessNotOpened ? console_start::kProcessNotOpened
                                                      : console_start::kTokenNotOpened;
  }
  return platform.processes.StartProcessAsUser(*token, ConsoleCommandLine(exePath, switchText))
             ? console_start::kStarted
             : console_start::kNotCreated;
}

}  // namespace bootmark
