#pragma once
// Opening a page of the suite: a message to its main window when it runs, else a
// start of its executable with a switch, in the console user's session when this
// program runs as SYSTEM.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace bootmark {

// The suite's main window and executable.
inline constexpr std::string_view kSuiteWindowClass = "TForm_KST";
inline constexpr std::string_view kSuiteWindowTitle = "Kestrune";
inline constexpr std::string_view kSuiteExe = "KST.exe";

// Clean kinds of the cleaner command, summed.
namespace clean_kind {
constexpr int kPrivacy = 1;
constexpr int kJunk = 2;
constexpr int kRegistry = 8;
}  // namespace clean_kind

// One command of the suite: the message posted to its running window, and the
// switch it is started with otherwise. The numbers and switches are the suite's
// interface and never change.
struct SuiteCommand {
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::string switchText;

  // The startup optimiser.
  static SuiteCommand StartupOptimize();
  // The startup notification settings.
  static SuiteCommand StartupNotify();
  // The cleaner for the summed clean kinds.
  static SuiteCommand Clean(int kinds);
  // The startup manager showing a new item; `itemFields` follow the switch as
  // they stand (the hand-over builds them).
  static SuiteCommand NewStartupInfo(std::string_view itemFields);

  friend bool operator==(const SuiteCommand&, const SuiteCommand&) = default;
};

// Result codes of RunInConsoleSession.
namespace console_start {
constexpr int kStarted = 0;  // also: the executable does not exist, nothing was done
constexpr int kNotCreated = 1;
constexpr int kTokenNotOpened = -1;
constexpr int kProcessNotOpened = -2;
constexpr int kNoConsoleProcess = -3;
}  // namespace console_start

// Posts the command to the running suite, or starts the suite with its switch.
// Nothing is reported: a suite that cannot be reached simply does not appear.
void OpenSuite(const Platform& platform, const SuiteCommand& command);

// The account name of the calling thread; empty when it cannot be had.
std::string GetCurrentUserName(const Platform& platform);

// Starts `exePath` with `switchText` as the user of the process named
// `processName` that runs in the console session, in that user's environment and
// on that user's desktop. See console_start for the results.
int RunInConsoleSession(const Platform& platform, std::string_view processName, std::string_view exePath,
                        std::string_view switchText);

// The command line RunInConsoleSession starts: the quoted executable path, a
// blank and the switch text.
std::string ConsoleCommandLine(std::string_view exePath, std::string_view switchText);

}  // namespace bootmark
