#pragma once
// The startup tasks of the store (packaged) apps of the interactive user: every
// package registered for that user, found in the install roots ("WindowsApps" of
// the 64-bit program folder, then "SystemApps" of the Windows folder), and every
// "windows.startupTask" its manifest declares.
#include <string>
#include <vector>

#include "common/system_info.h"
#include "platform/platform.h"

namespace bootmark {

struct StoreStartupTask {
  std::string appUserModelId;  // package family name, "!", application id
  std::string taskId;
  std::string installFolder;  // ends in "\"
  std::string executable;     // relative to the install folder
  std::string logo;
  std::string appDisplayName;
  std::string taskDisplayName;
};

// In package order; one package per install folder. `stop` ends the package walk
// early when it becomes true. Empty on systems without a "WindowsApps" folder or
// without an interactive user.
std::vector<StoreStartupTask> GetStoreStartupTasks(const Platform& platform, SystemInfo& system, const bool& stop);

// The SID text of the interactive user: the user of the "explorer.exe" running in
// the console session, else of any running "explorer.exe"; empty when none can
// be read.
std::string InteractiveUserSid(IProcesses& processes);

}  // namespace bootmark
