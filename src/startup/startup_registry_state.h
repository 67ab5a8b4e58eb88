#pragma once
// What the registry says about a startup entry beside the entry itself: the
// user's choice in Windows' startup settings ("Explorer\StartupApproved"), the
// enabled state of a store app's startup task, and whether a Run value that the
// suite disabled has been put back.
#include <cstdint>
#include <string_view>

#include "platform/registry.h"

namespace bootmark {

// True when one of the "StartupApproved" keys holds a binary value named
// `valueName` whose first byte is 3 (disabled). The keys are asked in Windows'
// order: the user's "Run" and "StartupFolder", the machine's "Run32", "Run" and
// "StartupFolder", then on 64-bit Windows the machine's three in the 64-bit view.
bool IsStartupApprovedDisabled(IRegistry& registry, bool is64BitWindows, std::string_view valueName);

// The store-app task states of "State" under the user's "SystemAppData" key.
namespace store_task_state {
constexpr std::int32_t kUnknown = -1;  // key or value missing
constexpr std::int32_t kNotEnabled = 0;
constexpr std::int32_t kDisabledByUser = 1;
constexpr std::int32_t kEnabled = 2;
constexpr std::int32_t kDisabledByPolicy = 3;
constexpr std::int32_t kEnabledByPolicy = 4;
}  // namespace store_task_state

// The state of the task `keyName` (package family name + "\" + task id). The
// voice assistant's task ("CortanaStartupId") is enabled only once the user has
// switched it on: enabled with "UserEnabledStartupOnce" 0 counts as disabled by
// the user.
std::int32_t GetStoreTaskState(IRegistry& registry, std::string_view keyName);

// True when the Run value that a record of the suite names is back in its key
// ("HKEY_CURRENT_USER\..." or "HKEY_LOCAL_MACHINE\...", the 64-bit view for
// `regType` 2) with the same command line, case ignored. Anything unreadable
// answers false.
bool IsRunValueBack(IRegistry& registry, std::int32_t regType, std::string_view regFullPath,
                    std::string_view valueName, std::string_view cmdLine);

}  // namespace bootmark
