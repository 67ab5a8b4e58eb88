#include "app/add_auto_run.h"

#include "app/application.h"
#include "app/full_screen.h"
#include "app/run_mode.h"
#include "common/data_dirs.h"
#include "common/ini_value.h"

namespace bootmark {
namespace {

constexpr std::uint32_t kRunningWindowWaitMs = 2000;

// Hands the item text to the alert window if one is open; true when it was sent.
bool ForwardToRunningWindow(const Platform& platform, ProcessState& state) {
  state.alertWindow = platform.desktop.FindTopWindow(kAlertWindowClass, kAlertWindowTitle);
  if (state.alertWindow == kNoWindow) return false;
  platform.desktop.SendCopyDataText(state.alertWindow, state.forwardedItemText);
  return true;
}

void WriteArgumentPair(const Platform& platform, const ProgramArguments& arguments, int first) {
  const std::string firstIndex = std::to_string(first);
  const std::string secondIndex = std::to_string(first + 1);
  platform.debug.Write("ParamStr(" + firstIndex + ") : " + arguments[first] + " ParamStr(" + secondIndex +
                       ") : " + arguments[first + 1]);
}

}  // namespace

bool IsStartupNotificationOn(const Platform& platform) {
  const std::string mainIni = GetSuiteUserDataDir(platform.shell) + "Main.ini";
  return ReadIniValue(platform.files, mainIni, "Notification", "StartupNotification") != "0";
}

std::string BuildForwardedItemText(const ProgramArguments& arguments) {
  return arguments[2] + " " + arguments[3] + " " + arguments[4] + arguments[5] + arguments[6] + arguments[7];
}

AddAutoRunOutcome RunAddAutoRun(const Platform& platform, IModeJobs& jobs, ProcessState& state) {
  const ProgramArguments& arguments = state.arguments;

  if (!IsStartupNotificationOn(platform)) {
    platform.debug.Write("Kestrune Settings : 0");
    return AddAutoRunOutcome::Ended;
  }
  StartWindowFramework(state);
  if (IsFullScreenForeground(platform.desktop)) {
    platform.debug.Write("CheckIsFull is  : 1");
    return AddAutoRunOutcome::Ended;
  }
  if (!jobs.NewItemNeedsAlert(arguments)) return AddAutoRunOutcome::Ended;
  // A service whose display-name argument is empty gets no alert.
  if (arguments[2] == "/2" && arguments[5] == "/") return AddAutoRunOutcome::Ended;
  if (jobs.NewItemRecommendedToKeep(arguments)) {
    jobs.SendStatistic("231");
    return AddAutoRunOutcome::Ended;
  }

  state.forwardedItemText = BuildForwardedItemText(arguments);
  state.alertWindow = kNoWindow;
  WriteArgumentPair(platform, arguments, 2);
  WriteArgumentPair(platform, arguments, 4);
  WriteArgumentPair(platform, arguments, 6);

  state.modeMutex = platform.processes.CreateOwnedMutex(kAddAutoRunMutex);
  if (state.modeMutex->AlreadyExisted()) {
    // The running instance may still be creating its window: give it time.
    platform.clock.Sleep(kRunningWindowWaitMs);
    if (ForwardToRunningWindow(platform, state)) return AddAutoRunOutcome::Ended;
  }
  if (ForwardToRunningWindow(platform, state)) return AddAutoRunOutcome::Ended;

  state.alertQueue.emplace();
  return AddAutoRunOutcome::ShowAlertWindow;
}

}  // namespace bootmark
