#pragma once
// The records of the startup inventory: one plain value per startup entry of the
// machine, held by the inventory controller's lists. TStartupItem describes a
// registry "Run" value, a startup-folder shortcut or a store-app startup task,
// TServiceItem a service and TTaskScheduleItem a scheduled task. The numbers of
// the enumerations are the suite's: they are written to the startup cache and
// compared with the suite's records.
#include <cstdint>
#include <string>
#include <vector>

namespace bootmark {

// What kind of entry an item is; one numbering for records, keys and the
// quick-optimise list.
enum class ItemKind : std::int32_t {
  RunValue = 1,  // value under a registry "Run" key
  Service = 2,
  ScheduledTask = 3,
  Shortcut = 4,  // ".lnk" or ".url" in a startup folder or its backup folder
  StoreApp = 5,  // startup task of a store app
};

enum class ItemState : std::int32_t {
  Unset = -1,
  None = 0,
  Enabled = 1,
  Delayed = 2,   // recorded in "Startup Manager\delayEx.ini"
  Disabled = 3,
  Missing = 4,   // its file is missing
};

// Where a shortcut was found.
enum class LinkFlag : std::int32_t {
  None = 0,
  UserStartup = 1,
  UserBackup = 2,    // "Startup Manager\Shortcut\" of the user's data folder
  CommonBackup = 3,  // "Startup Manager\ShortcutPublic\"
  CommonStartup = 4,
};

enum class Recommendation : std::int32_t {
  Unknown = -1,
  Disable = 0,    // black-listed, or the rate source says so
  Candidate = 1,  // listed for optimisation while enabled, not counted
  Delay = 2,
  Keep = 3,       // white-listed
  Remove = 4,     // the item's file is missing
};

// The state that already satisfies a recommendation: Disable gives Disabled,
// Delay gives Delayed, Keep gives Enabled, every other value None.
ItemState RecommendedStatus(Recommendation recommendation);

// The fields every record starts with, in this order.
struct StartupRecordHead {
  std::string Name;
  std::string Md5;       // item key for the rate look-ups, or empty
  std::string ItemHash;  // identity within the inventory
  std::string CmdLine;
  std::string FullPath;  // the file the command line starts
  std::string Description;
  std::string Manufacture;  // publisher, "-" when unknown
  std::string Boottime;     // e.g. "1s", "N/A" when unknown
  std::string Disabltrate;  // "N/A" when unknown
  Recommendation Recommand = Recommendation::Unknown;
  bool Ignore = false;
  bool Exist = false;
};

struct TStartupItem : StartupRecordHead {
  std::string RegFullPath;
  std::string LnkPath;
  std::string LnkRestorePath;
  std::string LnkparamStr;
  ItemKind StartupType = ItemKind::RunValue;  // 1, 4 or 5
  std::int32_t RegType = 0;  // 1 default registry view, 2 the 64-bit view of HKLM
  ItemState ItemStatus = ItemState::None;
  LinkFlag Lnkflag = LinkFlag::None;
};

// SerType values.
inline constexpr std::int32_t kSystemVendorService = 1;
inline constexpr std::int32_t kOtherVendorService = 2;

struct TServiceItem : StartupRecordHead {
  std::string SerShowName;
  std::int32_t SerType = kOtherVendorService;
  ItemState ItemStatus = ItemState::None;
  std::int32_t StartType = 0;  // 2 automatic, 3 on demand, 4 disabled
  bool isInDelayIni = false;
};

struct TTaskScheduleItem : StartupRecordHead {
  std::string Location;
  bool IsTaskEnable = false;
  bool IsStartBoot = false;   // has a boot or logon trigger
  std::int32_t TaskType = 0;  // schedule kind of the first trigger
};

// The controller's three lists; each owns its records.
struct StartupLists {
  std::vector<TStartupItem> startup;
  std::vector<TServiceItem> services;
  std::vector<TTaskScheduleItem> tasks;
};

// One line of the quick-optimise list behind the optimisable count.
struct TSMQuickOptimizeItem {
  double BootSeconds = 0;  // Boottime without its first "s", 0 when not a number
  std::string Name;
  std::string BootTimeText;
  std::string DisableRate;
  std::string ItemHash;
  std::string Md5;
  std::string Description;
  std::string FullPath;
  ItemKind ItemType = ItemKind::RunValue;
  Recommendation Recommand = Recommendation::Unknown;
  ItemState ItemStatus = ItemState::None;
  bool Ignored = false;  // listed in "Startup Manager\Ignore.ini"
};

// "1s" -> 1, "2.5s" -> 2.5, "N/A" -> 0.
double BootSecondsOf(const std::string& boottime);

}  // namespace bootmark
