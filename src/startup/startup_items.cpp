// The startup items of the inventory that are neither services nor scheduled
// tasks: the registry "Run" values, the shortcuts of the two Startup folders and
// of the suite's backup folders of disabled shortcuts, the Run values the suite
// disabled or delayed (known only from its record files) and the startup tasks
// of store apps. Stale records of the suite are repaired on the way.
#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/file_signer.h"
#include "common/registry_values.h"
#include "startup/data_field.h"
#include "startup/item_hash.h"
#include "startup/main_ctl.h"
#include "startup/record_files.h"
#include "startup/shortcut_reader.h"
#include "startup/startup_cache.h"
#include "startup/startup_registry_state.h"

namespace bootmark {
namespace {

constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view kUserBackup = "Shortcut\\";
constexpr std::string_view kCommonBackup = "ShortcutPublic\\";

struct RunPass {
  RegistryRoot root;
  RegistryView view;
  std::int32_t regType;
  std::string_view regFullPath;
};

constexpr RunPass kRunPasses[] = {
    {RegistryRoot::CurrentUser, RegistryView::Default, 1,
     "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {RegistryRoot::LocalMachine, RegistryView::Default, 1,
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
    // 64-bit Windows only.
    {RegistryRoot::LocalMachine, RegistryView::Registry64, 2,
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
};

bool IsUrlShortcut(std::string_view name) { return EndsWithIgnoreCase(name, ".url"); }

bool InBackupFolder(LinkFlag flag) { return flag == LinkFlag::UserBackup || flag == LinkFlag::CommonBackup; }

}  // namespace

void TMainCtl::GetStartupData(bool clearFirst) {
  if (cache_ != nullptr) {
    GetStartupDataFromCache(clearFirst);
    return;
  }
  DetailLog("TMainCtl.GetStartupData 1");
  if (clearFirst) lists_.startup.clear();
  RememberStartupHashes();
  DetailLog("TMainCtl.GetStartupData 2");
  ReadAllDisabledRecords();
  DetailLog("TMainCtl.GetStartupData 3");
  if (stop_) return;
  ReadRunValues();
  DetailLog("TMainCtl.GetStartupData 4");
  if (stop_) return;
  ReadStartupShortcuts();
  DetailLog("TMainCtl.GetStartupData 5");
  if (stop_) return;
  ReadStoreTasks();
  DetailLog("TMainCtl.GetStartupData 6");
  if (stop_) return;
  AddStartupFacts();
  DetailLog("TMainCtl.GetStartupData 7");
  if (stop_) return;
  DropHiddenStartupItems();
  DetailLog("TMainCtl.GetStartupData 8");
}

// The store-app tasks come from the cache; everything else is read from the
// system as in a live gathering.
void TMainCtl::GetStartupDataFromCache(bool clearFirst) {
  DetailLog("GetStartupData-From-Cache [1]S");
  if (clearFirst) lists_.startup.clear();
  RememberStartupHashes();
  ReadAllDisabledRecords();
  if (stop_) return;
  ReadRunValues();
  if (stop_) return;
  ReadStartupShortcuts();
  if (stop_) return;
  DetailLog("GetStartupData-From-Cache [2]");
  AddStartupFacts();
  if (stop_) return;
  DetailLog("GetStartupData-From-Cache [3]Cache1");
  ReadStartupCache(*cache_, lists_, static_cast<int>(CacheList::Startup));
  if (stop_) return;
  DetailLog("GetStartupData-From-Cache [4]Cache2");
  DropHiddenStartupItems();
  DetailLog("GetStartupData-From-Cache [5]E");
}

void TMainCtl::RememberStartupHashes() {
  startupHashes_.clear();
  for (const TStartupItem& item : lists_.startup) startupHashes_.insert(UpperCaseOrdinal(item.ItemHash));
}

void TMainCtl::AddStartupItem(TStartupItem item) {
  if (!startupHashes_.insert(UpperCaseOrdinal(item.ItemHash)).second) return;
  lists_.startup.push_back(std::move(item));
}

void TMainCtl::ReadAllDisabledRecords() {
  ReadDisabledRecords(*delayed_, ItemState::Delayed);
  ReadDisabledRecords(*deleted_, ItemState::Disabled);
  CompactRecords(*deleted_);
  CompactRecords(*delayed_);
}

void TMainCtl::ReadDisabledRecords(TIniFile& records, ItemState state) {
  for (const auto& [key, text] : ReadRecordEntries(records)) {
    if (text.empty()) continue;
    const TDataField fields(text);
    const std::int32_t kind = fields.Number("ItemType");
    if (kind == static_cast<std::int32_t>(ItemKind::RunValue)) {
      AddDisabledRunValue(fields, state);
    } else if (kind == static_cast<std::int32_t>(ItemKind::Shortcut)) {
      AddDisabledShortcut(fields, state);
    }
  }
}

void TMainCtl::AddDisabledRunValue(const TDataField& fields, ItemState state) {
  TStartupItem item;
  item.StartupType = ItemKind::RunValue;
  item.RegType = fields.Number("RegPathType");
  item.RegFullPath = fields.Text("RegFullPath");
  item.Name = fields.Text("RegKeyName");
  item.CmdLine = fields.Text("RegCmdLine");
  if (item.RegFullPath.empty() || item.Name.empty() || item.CmdLine.empty()) return;
  item.FullPath = context_.checkPath.GetCommandFilePath(item.CmdLine);
  item.Exist = platform_.files.FileExists(item.FullPath);
  item.ItemStatus = state;
  item.ItemHash = StartupItemHash(item);

  if (IsRunValueBack(platform_.registry, item.RegType, item.RegFullPath, item.Name, item.CmdLine)) {
    // Put back outside the suite: the Run pass lists it as enabled.
    DeleteRecord(*deleted_, item.ItemHash);
    DeleteRecord(*delayed_, item.ItemHash);
    DeleteRecord(*optimised_, item.ItemHash);
    return;
  }
  if (!item.Exist) {
    DeleteRecord(*deleted_, item.ItemHash);
    if (state != ItemState::Delayed) return;
    item.ItemStatus = ItemState::Missing;
  }
  AddStartupItem(std::move(item));
}

void TMainCtl::AddDisabledShortcut(const TDataField& fields, ItemState state) {
  TStartupItem item;
  item.StartupType = ItemKind::Shortcut;
  item.Name = fields.Text("ItemName");
  item.Lnkflag = static_cast<LinkFlag>(fields.Number("ItemLinkFlag"));
  item.LnkPath = fields.Text("ItemLnkExePath");
  item.FullPath = fields.Text("ItemFullPath");
  item.CmdLine = fields.Text("ItemLnkCmdLine");
  item.LnkRestorePath = userRecordFolder_ +
                        std::string(fields.Number("ItemIsCommonFolder") == 0 ? kUserBackup : kCommonBackup) +
                        item.Name;
  item.ItemStatus = state;
  item.ItemHash = fields.Text("ItemHash");
  item.Description = fields.Text("ItemDescriptionText");
  if (item.LnkPath.empty() || item.Name.empty()) return;
  item.Exist = platform_.files.FileExists(IsUrlShortcut(item.Name) ? item.LnkRestorePath : item.FullPath);
  if (!item.Exist) {
    DeleteRecord(*deleted_, item.ItemHash);
    return;
  }
  AddStartupItem(std::move(item));
}

void TMainCtl::ReadRunValues() {
  const bool is64BitWindows = context_.system.IsWow64();
  for (const RunPass& pass : kRunPasses) {
    if (pass.view == RegistryView::Registry64 && !is64BitWindows) break;
    const auto key = platform_.registry.OpenKey(pass.root, kRunKey, registry_access::kRead, pass.view);
    if (!key) continue;
    for (const std::string& name : key->ValueNames()) {
      const std::optional<std::string> data = ReadRegistryString(*key, name);
      if (!data || data->empty()) continue;
      TStartupItem item;
      item.StartupType = ItemKind::RunValue;
      item.Name = name;
      item.CmdLine = *data;
      item.FullPath = context_.checkPath.GetCommandFilePath(item.CmdLine);
      item.Exist = platform_.files.FileExists(item.FullPath);
      item.ItemStatus = item.Exist ? ItemState::Enabled : ItemState::Missing;
      item.RegType = pass.regType;
      item.RegFullPath = std::string(pass.regFullPath);
      item.ItemHash = StartupItemHash(item);
      AddStartupItem(std::move(item));
    }
  }
}

void TMainCtl::ReadStartupShortcuts() {
  const std::string userStartup = platform_.shell.GetSpecialFolderPath(csidl::kStartup);
  const std::string commonStartup = platform_.shell.GetSpecialFolderPath(csidl::kCommonStartup);
  const std::string userBackup = userRecordFolder_ + std::string(kUserBackup);
  const std::string commonBackup = userRecordFolder_ + std::string(kCommonBackup);
  // An unknown Startup folder is not searched (nor restored to).
  const auto folder = [](const std::string& path) { return path.empty() ? path : IncludeTrailingBackslash(path); };
  const struct {
    std::string searched, other;
    LinkFlag flag;
  } passes[] = {
      {folder(userStartup), userBackup, LinkFlag::UserStartup},
      {folder(commonStartup), commonBackup, LinkFlag::CommonStartup},
      {userBackup, folder(userStartup), LinkFlag::UserBackup},
      {commonBackup, folder(commonStartup), LinkFlag::CommonBackup},
  };
  for (const auto& pass : passes) {
    if (pass.searched.empty()) continue;
    for (std::string_view pattern : {"*.lnk", "*.url"}) {
      std::vector<std::string> names = platform_.files.FindFiles(pass.searched, pattern);
      std::unordered_set<std::string> seen;
      for (const std::string& name : names) {
        if (stop_) return;
        if (seen.insert(name).second) AddShortcut(pass.searched, pass.other, pass.flag, name);
      }
    }
  }
}

void TMainCtl::AddShortcut(const std::string& folder, const std::string& otherFolder, LinkFlag flag,
                           const std::string& name) {
  TStartupItem item;
  item.StartupType = ItemKind::Shortcut;
  item.Name = name;
  item.Lnkflag = flag;
  const std::string file = folder + name;
  const bool inBackup = InBackupFolder(flag);
  item.LnkPath = inBackup ? otherFolder + name : file;
  item.LnkRestorePath = inBackup ? file : otherFolder + name;

  if (IsUrlShortcut(name)) {
    TSafeIniFile url(platform_.files);
    url.LoadFromFile(file);
    item.Description = url.ReadString("InternetShortcut", "URL", "");
    if (item.Description.empty()) return;
    item.FullPath = file;
    item.Exist = true;
  } else {
    const std::optional<ShellLinkFields> link = ReadShortcut(platform_, file);
    if (!link) return;
    item.FullPath = Trim(link->target).empty() ? link->iconLocation : link->target;
    if (std::optional<std::string> longPath = platform_.files.LongPathName(item.FullPath)) item.FullPath = *longPath;
    if (std::optional<std::string> longPath = platform_.files.LongPathName(item.LnkPath)) item.LnkPath = *longPath;
    item.Exist = platform_.files.FileExists(item.FullPath);
    item.LnkparamStr = link->arguments;
    item.Description = link->description;
  }
  item.ItemHash = StartupItemHash(item);

  if (inBackup) {
    if (platform_.files.FileExists(item.LnkPath)) {
      // Back in its Startup folder: the suite's records of it are stale.
      DeleteRecord(*delayed_, item.ItemHash);
      DeleteRecord(*deleted_, item.ItemHash);
    }
    item.ItemStatus = RecordedIn(*delayed_, item.ItemHash) ? ItemState::Delayed : ItemState::Disabled;
  } else {
    item.ItemStatus = ItemState::Enabled;
  }
  if (!item.Exist) item.ItemStatus = ItemState::Missing;
  AddStartupItem(std::move(item));
}

void TMainCtl::ReadStoreTasks() {
  for (const StoreStartupTask& task : GetStoreStartupTasks(context_.platform, context_.system, stop_)) {
    if (stop_) return;
    AddStoreTask(task);
  }
}

void TMainCtl::AddStoreTask(const StoreStartupTask& task) {
  const std::string keyName =
      task.appUserModelId.substr(0, task.appUserModelId.find('!')) + "\\" + task.taskId;
  const std::int32_t state = GetStoreTaskState(platform_.registry, keyName);
  if (state == store_task_state::kUnknown || state == store_task_state::kNotEnabled) return;

  TStartupItem item;
  item.StartupType = ItemKind::StoreApp;
  item.Name = task.appDisplayName;
  item.CmdLine = task.appUserModelId;
  item.FullPath = task.installFolder + task.executable;
  item.RegFullPath = keyName;
  item.LnkPath = task.installFolder;
  item.LnkparamStr = task.logo;
  item.Description = task.taskDisplayName;
  item.Exist = platform_.files.FileExists(item.FullPath);
  if (state == store_task_state::kDisabledByUser || state == store_task_state::kDisabledByPolicy) {
    item.ItemStatus = ItemState::Disabled;
  } else if (state == store_task_state::kEnabled || state == store_task_state::kEnabledByPolicy) {
    item.ItemStatus = ItemState::Enabled;
  }
  item.ItemHash = StartupItemHash(item);
  if (RecordedIn(*delayed_, item.ItemHash)) item.ItemStatus = ItemState::Delayed;
  if (!item.Exist) {
    DeleteRecord(*deleted_, item.ItemHash);
    if (item.ItemStatus != ItemState::Delayed) return;
    item.ItemStatus = ItemState::Missing;
  }
  AddStartupItem(std::move(item));
}

void TMainCtl::AddStartupFacts() {
  const bool is64BitWindows = context_.system.IsWow64();
  for (TStartupItem& item : lists_.startup) {
    ApplyFilePublisher(fileFacts_.Publisher(item.FullPath), item.Description, item.Manufacture);
    if (item.Description.empty()) item.Description = item.Name;
    const ItemRateFacts facts =
        GetItemRateFacts(item.Name, ExtractFileName(item.FullPath), item.Manufacture, item.StartupType);
    item.Md5 = facts.md5;
    item.Disabltrate = facts.rate;
    item.Recommand = facts.recommendation;
    item.Boottime = GetItemBootTime(item);
    if (item.Boottime.empty()) item.Boottime = "N/A";
    if (item.ItemStatus == ItemState::Enabled &&
        IsStartupApprovedDisabled(platform_.registry, is64BitWindows, item.Name)) {
      item.ItemStatus = ItemState::Disabled;
    }
  }
}

void TMainCtl::DropHiddenStartupItems() {
  std::vector<TStartupItem>& items = lists_.startup;
  // The hide test walks from the last item to the first.
  std::vector<bool> hidden(items.size());
  for (std::size_t i = items.size(); i-- > 0;) {
    const TStartupItem& item = items[i];
    hidden[i] = IsHiddenItem(item.Name, ExtractFileName(item.FullPath), item.StartupType, item.FullPath,
                             item.Manufacture);
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!hidden[i]) {
      if (kept != i) items[kept] = std::move(items[i]);
      ++kept;
    }
  }
  items.resize(kept);
}

}  // namespace bootmark
