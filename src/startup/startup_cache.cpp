#include "startup/startup_cache.h"

#include <cstddef>
#include <stdexcept>

#include "common/data_dirs.h"

namespace bootmark {
namespace {

constexpr std::string_view kItemTypeKey = "ItemType";
constexpr std::string_view kStartupList = "StartUp";
constexpr std::string_view kServiceList = "Service";
constexpr std::string_view kTaskList = "TaskSchedule";

template <typename Enum>
std::int32_t Number(Enum value) {
  return static_cast<std::int32_t>(value);
}

void WriteHead(TSafeIniFile& cache, const std::string& section, std::string_view list,
               const StartupRecordHead& item) {
  cache.WriteString(section, kItemTypeKey, list);
  cache.WriteString(section, "Name", item.Name);
  cache.WriteString(section, "Md5", item.Md5);
  cache.WriteString(section, "ItemHash", item.ItemHash);
  cache.WriteString(section, "CmdLine", item.CmdLine);
  cache.WriteString(section, "FullPath", item.FullPath);
  cache.WriteString(section, "Description", item.Description);
  cache.WriteString(section, "Manufacture", item.Manufacture);
  cache.WriteString(section, "Boottime", item.Boottime);
  cache.WriteString(section, "Disabltrate", item.Disabltrate);
  cache.WriteInteger(section, "Recommand", Number(item.Recommand));
  cache.WriteBool(section, "Ignore", item.Ignore);
  cache.WriteBool(section, "Exist", item.Exist);
}

void WriteItem(TSafeIniFile& cache, const TStartupItem& item) {
  const std::string section = CacheSectionName(item);
  WriteHead(cache, section, kStartupList, item);
  cache.WriteString(section, "RegFullPath", item.RegFullPath);
  cache.WriteString(section, "LnkPath", item.LnkPath);
  cache.WriteString(section, "LnkRestorePath", item.LnkRestorePath);
  cache.WriteString(section, "LnkparamStr", item.LnkparamStr);
  cache.WriteInteger(section, "StartupType", Number(item.StartupType));
  cache.WriteInteger(section, "RegType", item.RegType);
  cache.WriteInteger(section, "ItemStatus", Number(item.ItemStatus));
  cache.WriteInteger(section, "Lnkflag", Number(item.Lnkflag));
}

void WriteItem(TSafeIniFile& cache, const TServiceItem& item) {
  const std::string section = CacheSectionName(item);
  WriteHead(cache, section, kServiceList, item);
  cache.WriteString(section, "SerShowName", item.SerShowName);
  cache.WriteInteger(section, "SerType", item.SerType);
  cache.WriteInteger(section, "ItemStatus", Number(item.ItemStatus));
  cache.WriteInteger(section, "StartType", item.StartType);
  cache.WriteBool(section, "isInDelayIni", item.isInDelayIni);
}

void WriteItem(TSafeIniFile& cache, const TTaskScheduleItem& item) {
  const std::string section = CacheSectionName(item);
  WriteHead(cache, section, kTaskList, item);
  cache.WriteString(section, "Location", item.Location);
  cache.WriteBool(section, "IsTaskEnable", item.IsTaskEnable);
  cache.WriteBool(section, "IsStartBoot", item.IsStartBoot);
  cache.WriteInteger(section, "TaskType", item.TaskType);
}

// Reads one section's values with the cache's defaults.
class CachedSection {
 public:
  CachedSection(const TSafeIniFile& cache, const std::string& section) : cache_(cache), section_(section) {}
  std::string Text(std::string_view key) const { return cache_.ReadString(section_, key, ""); }
  std::int32_t Integer(std::string_view key) const { return cache_.ReadInteger(section_, key, -1); }
  bool Bool(std::string_view key) const { return cache_.ReadBool(section_, key, false); }
  template <typename Enum>
  Enum Enumerated(std::string_view key) const {
    return static_cast<Enum>(Integer(key));
  }

  void ReadHead(StartupRecordHead& item) const {
    item.Name = Text("Name");
    item.Md5 = Text("Md5");
    item.ItemHash = Text("ItemHash");
    item.CmdLine = Text("CmdLine");
    item.FullPath = Text("FullPath");
    item.Description = Text("Description");
    item.Manufacture = Text("Manufacture");
    item.Boottime = Text("Boottime");
    item.Disabltrate = Text("Disabltrate");
    item.Recommand = static_cast<Recommendation>(cache_.ReadInteger(section_, "Recommand", 0));
    item.Ignore = Bool("Ignore");
    item.Exist = Bool("Exist");
  }

 private:
  const TSafeIniFile& cache_;
  const std::string& section_;
};

TStartupItem ReadStartupItem(const CachedSection& values) {
  TStartupItem item;
  values.ReadHead(item);
  item.RegFullPath = values.Text("RegFullPath");
  item.LnkPath = values.Text("LnkPath");
  item.LnkRestorePath = values.Text("lnkrestorepath");
  item.LnkparamStr = values.Text("lnkparamStr");
  item.StartupType = values.Enumerated<ItemKind>("StartUpType");
  item.RegType = values.Integer("RegType");
  item.ItemStatus = values.Enumerated<ItemState>("ItemStatus");
  item.Lnkflag = values.Enumerated<LinkFlag>("Lnkflag");
  return item;
}

TServiceItem ReadServiceItem(const CachedSection& values) {
  TServiceItem item;
  values.ReadHead(item);
  item.SerShowName = values.Text("SerShowName");
  item.SerType = values.Integer("SerType");
  item.ItemStatus = values.Enumerated<ItemState>("ItemStatus");
  item.StartType = values.Integer("StartType");
  item.isInDelayIni = values.Bool("isInDelayIni");
  return item;
}

TTaskScheduleItem ReadTaskItem(const CachedSection& values) {
  TTaskScheduleItem item;
  values.ReadHead(item);
  item.Location = values.Text("Location");
  item.IsTaskEnable = values.Bool("IsTaskEnable");
  item.IsStartBoot = values.Bool("IsStartBoot");
  item.TaskType = values.Integer("TaskType");
  return item;
}

}  // namespace

std::string StartupCachePath(IShell& shell) { return GetSuiteCommonDataDir(shell) + std::string(kStartupCacheName); }

std::string CacheSectionName(const StartupRecordHead& item) { return item.Name + "_" + item.Md5; }

void WriteStartupCacheTo(TSafeIniFile& cache, const StartupLists& lists, DateTime now) {
  cache.WriteFloat("Main", "LastUpdateTime", now);
  for (const TStartupItem& item : lists.startup) WriteItem(cache, item);
  for (const TServiceItem& item : lists.services) WriteItem(cache, item);
  for (const TTaskScheduleItem& item : lists.tasks) WriteItem(cache, item);
}

void WriteStartupCache(IFileSystem& files, const std::string& path, const StartupLists& lists, DateTime now) {
  TSafeIniFile cache(files);
  WriteStartupCacheTo(cache, lists, now);
  cache.SaveToFile(path);
  if (cache.LastError() != 0) throw std::runtime_error("Cannot write the startup cache " + path);
}

int ReadStartupCache(const TSafeIniFile& cache, StartupLists& lists, int listKind) {
  const auto kind = static_cast<CacheList>(listKind);
  std::size_t added = 0;
  for (const std::string& section : cache.ReadSections()) {
    const std::string type = cache.ReadString(section, kItemTypeKey, "None");
    const CachedSection values(cache, section);
    if (kind == CacheList::Startup && type == kStartupList && values.Text("StartUpType") == "5") {
      lists.startup.push_back(ReadStartupItem(values));
    } else if (kind == CacheList::Services && type == kServiceList) {
      lists.services.push_back(ReadServiceItem(values));
    } else if (kind == CacheList::Tasks && type == kTaskList) {
      lists.tasks.push_back(ReadTaskItem(values));
    } else {
      continue;
    }
    ++added;
  }
  return static_cast<int>(added);
}

}  // namespace bootmark
