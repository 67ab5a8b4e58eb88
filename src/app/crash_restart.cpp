#include "app/crash_restart.h"

#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/ini_file.h"

namespace bootmark {
namespace {

constexpr std::uint64_t kMinimumFreeMiB = 200;
constexpr std::int64_t kMinimumHoursBetweenRestarts = 1;
constexpr int kShowCommand = 5;  // SW_SHOW
constexpr std::intptr_t kFirstShellSuccess = 32;
constexpr std::string_view kRestartSection = "Application";

std::uint64_t MiB(std::uint64_t bytes) { return bytes / 1024 / 1024; }

std::string_view WithoutExtension(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
}

// Writes the time of this decision and reads back the last one. Whole hours since
// the last restart when the file proved writable; 0 (too soon) otherwise.
std::int64_t HoursSinceLastRestart(const Platform& platform, std::string_view exeFileName) {
  const std::string path = ProgramDir(platform.environment) + std::string(kRestartIniName);
  const std::string probeKey = std::string(WithoutExtension(exeFileName)) + "_StartTime";
  const DateTime now = platform.clock.Now();
  const std::string nowText = FloatToStr(now);

  TIniFile(platform.files, platform.profile, path).WriteString(kRestartSection, probeKey, nowText);
  TIniFile ini(platform.files, platform.profile, path);
  const std::string probe = ini.ReadString(kRestartSection, probeKey, "");
  const DateTime lastRestart =
      TryParseFloat(ini.ReadString(kRestartSection, exeFileName, "0")).value_or(0);
  ini.WriteString(kRestartSection, exeFileName, nowText);
  ini.DeleteKey(kRestartSection, probeKey);
  return probe == nowText ? HoursBetween(now, lastRestart) : 0;
}

}  // namespace

bool IsRestartableCrash(std::string_view className) {
  const std::string_view name = Trim(className);
  for (std::string_view kind : {"EOutOfResources", "EExternalException", "EOSError", "EReadError", "Unknown"}) {
    if (name == kind) return true;
  }
  return false;
}

std::string RestartCommandText(std::string_view exeFileName, int restartMode, const ProgramArguments& arguments) {
  std::string text = std::string(exeFileName) + " " + IntToStr(restartMode);
  for (std::size_t i = 1; i < arguments.Count(); ++i) {
    // Quoted only where the plain text would not come back as one argument.
    const std::string& argument = arguments[i];
    const bool plain = !argument.empty() && argument.find_first_of(" \t\"") == std::string::npos;
    text += " " + (plain ? argument : QuoteArgument(argument));
  }
  return text;
}

bool RestartAfterCrash(const Platform& platform, const ProgramArguments& arguments, int restartMode,
                       const CrashReport& report) {
  if (!IsRestartableCrash(report.className)) return false;
  try {
    const MemoryStatus memory = platform.system.AvailableMemory();
    const std::string exeFileName = ExtractFileName(platform.environment.ExecutablePath());
    // Without a name there is nothing to restart (and no key to keep its time under).
    if (exeFileName.empty()) return false;
    const std::int64_t hours = HoursSinceLastRestart(platform, exeFileName);
    if (MiB(memory.availablePhysical) <= kMinimumFreeMiB || MiB(memory.availableVirtual) <= kMinimumFreeMiB ||
        hours < kMinimumHoursBetweenRestarts) {
      return false;
    }
    const std::string programDir = ProgramDir(platform.environment);
    const std::intptr_t started =
        platform.shell.ShellExecute(kNoWindow, "open", programDir + std::string(kRestartProgram),
                                    RestartCommandText(exeFileName, restartMode, arguments), programDir,
                                    kShowCommand);
    return started >= kFirstShellSuccess;
  } catch (...) {
    return false;
  }
}

}  // namespace bootmark
