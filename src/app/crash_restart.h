#pragma once
// The restart of the boot time notice after a crash while the window framework
// starts: the suite's companion "Lazarun.exe" is asked to start this program
// again with the same arguments, at most once an hour and only with enough
// memory left. "ProcessRestart.ini" beside the program keeps the time of the last
// restart decision.
#include <string>
#include <string_view>

#include "app/crash_report.h"
#include "base/program_arguments.h"
#include "platform/platform.h"

namespace bootmark {

inline constexpr std::string_view kRestartProgram = "Lazarun.exe";
inline constexpr std::string_view kRestartIniName = "ProcessRestart.ini";

// The failure kinds that may be restarted (CrashClassName names).
bool IsRestartableCrash(std::string_view className);

// The command line "Lazarun.exe" gets: the executable's file name, the restart
// mode, then every argument of the crashed process after the executable, each
// quoted by the Windows rules where it needs it.
std::string RestartCommandText(std::string_view exeFileName, int restartMode, const ProgramArguments& arguments);

// The crash-restart handler: true when "Lazarun.exe" was started (the failure is
// then handled and the process ends with exit code 0). Never throws.
bool RestartAfterCrash(const Platform& platform, const ProgramArguments& arguments, int restartMode,
                       const CrashReport& report);

}  // namespace bootmark
