#pragma once
// TMainCtl: the startup inventory of the machine for one run. It gathers the
// startup items, services and scheduled tasks into its three lists, attaches the
// facts the suite shows (publisher, item key, disable rate, recommendation, boot
// time), leaves out the items known to be harmless while its filter is on,
// counts the items the suite's optimiser can still improve ("CanOptCount" of
// "Startup Manager\config.ini") and writes the startup cache for the suite.
//
// The record files of the suite's startup manager and the lookup databases are
// opened once, when the controller is made, and kept for all items.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/av_uninstall.h"
#include "common/ini_file.h"
#include "common/logs.h"
#include "common/lookup_databases.h"
#include "common/safe_ini_file.h"
#include "common/system_info.h"
#include "platform/platform.h"
#include "startup/command_path.h"
#include "startup/data_field.h"
#include "startup/file_facts.h"
#include "startup/item_keys.h"
#include "startup/startup_records.h"
#include "startup/store_apps.h"
#include "startup/task_reader.h"

namespace bootmark {

// What the controller works with; everything must outlive it. `logs` may be null
// (no detail log).
struct InventoryContext {
  const Platform& platform;
  SystemInfo& system;
  TaskReader& tasks;
  TCheckPath& checkPath;
  const LocalIdentity& identity;
  Logs* logs = nullptr;
};

// A browser plug-in. Plug-ins are gathered by the browser plug-in framework the
// suite's tools share, which this program does not carry: the controller's
// plug-in list stays empty.
struct TBroswerPluginItem {};

// The rate facts of one item.
struct ItemRateFacts {
  std::string md5;
  std::string rate = "N/A";
  Recommendation recommendation = Recommendation::Unknown;
};

class TMainCtl {
 public:
  // Rewrites the five record files as UTF-16 and opens the files and databases.
  // A lookup database that cannot be opened throws ESQLiteException.
  explicit TMainCtl(const InventoryContext& context);
  ~TMainCtl();

  TMainCtl(const TMainCtl&) = delete;
  TMainCtl& operator=(const TMainCtl&) = delete;

  // On by default: known and white-listed entries are left out of the lists.
  void SetFilter(bool on) { filter_ = on; }
  bool Filter() const { return filter_; }
  bool IgnoreWlist() const { return ignoreWlist_; }
  // Cache mode: the lists are rebuilt from `cache` (an opened startup cache)
  // where they can be, instead of from the system; nothing is written to it.
  void AttachCache(const TSafeIniFile* cache) { cache_ = cache; }
  // Ends the gathering at its next check.
  void Stop() { stop_ = true; }
  bool Busy() const { return busy_; }

  // The whole gathering. The file-system redirection switched off for it is
  // switched back on even when a step throws; the error then reaches the caller.
  void GetAllData();

  // The registry "Run" values, startup-folder shortcuts, the entries the suite
  // disabled or delayed and the store-app tasks, with their facts; the items the
  // hide test names are left out. Stale records of the suite are deleted.
  void GetStartupData(bool clearFirst);
  void GetServiceData(bool clearFirst);
  void GetTaskscheduleData(bool clearFirst);

  ItemRateFacts GetItemRateFacts(std::string_view name, std::string_view fileName, std::string_view company,
                                 ItemKind kind);
  // The boot time recorded for the item's file (from the cache in cache mode);
  // empty when there is none.
  std::string GetItemBootTime(const StartupRecordHead& item);
  bool IsHiddenItem(std::string_view name, std::string_view fileName, ItemKind kind, std::string_view fullPath,
                    std::string_view company);
  // Builds the protected-software list when it does not exist yet.
  void BuildProtectedSoftware();
  bool IsProtectedSoftware(std::string_view fullPath);
  void BuildQuickOptimizeList(bool clearFirst);
  void WriteCanOptCount(int count);

  // The operating-system services the service database names by friendlier
  // names: (known, display name).
  std::optional<std::string> GetKnownServiceInfo(std::string_view serviceName);

  const StartupLists& Lists() const { return lists_; }
  // The lists as the readers fill them.
  StartupLists& Lists() { return lists_; }
  const std::vector<TSMQuickOptimizeItem>& QuickOptimizeList() const { return quickOptimize_; }
  const std::vector<TBroswerPluginItem>& PluginList() const { return plugins_; }
  const std::optional<std::vector<std::string>>& ProtectedSoftware() const { return protectedSoftware_; }

 private:
  void DetailLog(std::string_view text);
  void RunGatheringSteps();
  void ReadServicesLive();
  // The startup items (startup_items.cpp).
  void GetStartupDataFromCache(bool clearFirst);
  void RememberStartupHashes();
  // Appends the item unless the list has one of the same hash (case ignored).
  void AddStartupItem(TStartupItem item);
  void ReadAllDisabledRecords();
  void ReadDisabledRecords(TIniFile& records, ItemState state);
  void AddDisabledRunValue(const TDataField& fields, ItemState state);
  void AddDisabledShortcut(const TDataField& fields, ItemState state);
  void ReadRunValues();
  void ReadStartupShortcuts();
  void AddShortcut(const std::string& folder, const std::string& otherFolder, LinkFlag flag, const std::string& name);
  void ReadStoreTasks();
  void AddStoreTask(const StoreStartupTask& task);
  void AddStartupFacts();
  void DropHiddenStartupItems();
  // The "CompanyName" of the system's "svchost.exe": the operating system's vendor.
  std::string SystemVendor();
  void AddServiceFacts();
  void ReadTasksLive();
  bool RecordedIn(TIniFile& records, const std::string& hash);
  // The account fields of a task found by name for its item key. On Task
  // Scheduler 2.0 every task of the machine is read once into an index, in the
  // order a search by name visits them (a folder's tasks, then its sub-folders);
  // the first task of a name answers, as the search's first match would.
  std::optional<TaskAccountFields> FindTaskAccount(std::string_view name);

  const InventoryContext context_;
  const Platform& platform_;
  ItemKeys keys_;
  FileFacts fileFacts_;

  const TSafeIniFile* cache_ = nullptr;
  bool filter_ = false;
  bool ignoreWlist_ = false;
  bool busy_ = false;
  bool stop_ = false;

  StartupLists lists_;
  std::unordered_set<std::string> startupHashes_;  // upper-cased ItemHash of the startup list
  std::vector<TBroswerPluginItem> plugins_;
  std::vector<TSMQuickOptimizeItem> quickOptimize_;
  std::unique_ptr<TAVUninstall> products_;
  std::optional<std::vector<std::string>> protectedSoftware_;

  std::optional<std::string> systemVendor_;
  std::optional<std::unordered_map<std::string, TaskAccountFields>> taskAccounts_;
  std::unique_ptr<TSafeIniFile> bootTimes_;  // boottime.dat, read on first use
  std::string userRecordFolder_;
  TSafeIniFile disableRates_;
  TSafeIniFile serviceDatabase_;
  std::unique_ptr<TIniFile> ignored_;
  std::unique_ptr<TSqliteObj> rateDatabase_;
  std::unique_ptr<TSqliteObj> whiteDatabase_;
  std::unique_ptr<TSqliteObj> blackDatabase_;
  std::unique_ptr<TIniFile> deleted_;
  std::unique_ptr<TIniFile> delayed_;
  std::unique_ptr<TIniFile> optimised_;
  std::unique_ptr<TIniFile> failed_;
};

}  // namespace bootmark
