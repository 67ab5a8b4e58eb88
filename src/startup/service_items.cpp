// The services of the inventory: every Win32 service of the machine but the
// operating system's own services that the service database does not name,
// with its start type, state, publisher class and rate facts.
#include "common/file_version.h"
#include "base/path.h"
#include "base/text.h"
#include "startup/item_hash.h"
#include "startup/main_ctl.h"
#include "startup/os_tag.h"
#include "startup/record_files.h"
#include "startup/service_database.h"
#include "startup/startup_cache.h"

namespace bootmark {
namespace {

// QueryServiceConfigW answers larger than this are not read.
constexpr std::uint32_t kMaxServiceConfigBytes = 1048576;

// Services of a security product that are never listed while the filter is on.
bool IsExcludedByName(std::string_view serviceName) {
  return SameText(serviceName, "CmdAgent") || SameText(serviceName, "cmdvirth");
}

ItemState ServiceState(std::int32_t startType, bool inDelayRecords, bool exists) {
  if (!exists) return ItemState::Missing;
  switch (startType) {
    case service_start::kAutomatic: return ItemState::Enabled;
    case service_start::kDemand: return inDelayRecords ? ItemState::Delayed : ItemState::Disabled;
    case service_start::kDisabled: return ItemState::Disabled;
    default: return ItemState::None;
  }
}

}  // namespace

void TMainCtl::GetServiceData(bool clearFirst) {
  if (cache_ != nullptr) {
    DetailLog("GetServiceData-From-Cache [1]S");
    if (clearFirst) lists_.services.clear();
    ReadStartupCache(*cache_, lists_, static_cast<int>(CacheList::Services));
    DetailLog("GetServiceData-From-Cache [2]E");
    return;
  }
  if (clearFirst) lists_.services.clear();
  ReadServicesLive();
  AddServiceFacts();
}

void TMainCtl::ReadServicesLive() {
  const std::unique_ptr<IServiceManager> manager = platform_.services.OpenManager();
  if (!manager) return;
  const std::string vendor = SystemVendor();
  const std::string osTag = GetOSTag(context_.system);

  std::uint32_t resumeHandle = 0;
  for (;;) {
    const ServiceListBatch batch = manager->EnumServices(resumeHandle);
    if (batch.error != 0 && batch.error != kErrorMoreData) break;
    for (const ServiceListEntry& entry : batch.entries) {
      if (stop_) break;
      TServiceItem item;
      item.SerShowName = entry.displayName;
      item.Name = entry.serviceName;
      if (filter_ && IsExcludedByName(item.Name)) continue;

      const std::unique_ptr<IServiceReader> service = manager->Open(item.Name);
      if (!service) continue;
      const std::optional<std::uint32_t> needed = service->ConfigBytesNeeded();
      if (!needed || *needed > kMaxServiceConfigBytes) continue;
      const std::optional<ServiceConfig> config = service->QueryConfig(*needed);
      if (!config) continue;

      item.StartType = static_cast<std::int32_t>(config->startType);
      item.CmdLine = config->binaryPath;
      item.FullPath = context_.checkPath.GetCommandFilePath(item.CmdLine);
      if (!platform_.files.FileExists(item.FullPath) && platform_.files.FileExists(item.FullPath + ".exe")) {
        item.FullPath += ".exe";
      }
      item.Exist = platform_.files.FileExists(item.FullPath);

      item.Description = service->Description();
      if (item.Description.empty()) item.Description = item.Name;
      ApplyFilePublisher(fileFacts_.Publisher(item.FullPath), item.Description, item.Manufacture);
      if (item.Description.empty()) item.Description = item.SerShowName;

      if (filter_ && SameText(item.Manufacture, vendor) && !IsListedSystemService(serviceDatabase_, keys_, osTag, item.Name)) {
        continue;
      }
      if (IsHiddenItem(item.Name, ExtractFileName(item.FullPath), ItemKind::Service, item.FullPath,
                       item.Manufacture)) {
        continue;
      }
      lists_.services.push_back(std::move(item));
    }
    if (batch.error != kErrorMoreData || stop_) break;
  }
}

std::string TMainCtl::SystemVendor() {
  if (!systemVendor_) {
    const std::string svchost = IncludeTrailingBackslash(context_.system.GetSystemDir()) + "svchost.exe";
    systemVendor_ = GetFileVersionField(platform_.versions, svchost, 1, "");
  }
  return *systemVendor_;
}

void TMainCtl::AddServiceFacts() {
  const std::string vendor = SystemVendor();
  for (TServiceItem& item : lists_.services) {
    if (stop_) break;
    item.SerType = !vendor.empty() && SameText(item.Manufacture, vendor) ? kSystemVendorService : kOtherVendorService;
    item.Boottime = GetItemBootTime(item);
    if (item.Boottime.empty()) item.Boottime = "N/A";
    item.ItemHash = ServiceItemHash(item.SerShowName);
    if (item.StartType == service_start::kAutomatic) DeleteRecord(*delayed_, item.ItemHash);
    item.isInDelayIni = RecordedIn(*delayed_, item.ItemHash);
    item.ItemStatus = ServiceState(item.StartType, item.isInDelayIni, item.Exist);

    const ItemRateFacts facts =
        GetItemRateFacts(item.Name, ExtractFileName(item.FullPath), item.Manufacture, ItemKind::Service);
    item.Md5 = facts.md5;
    item.Disabltrate = facts.rate;
    item.Recommand = item.Exist ? facts.recommendation : Recommendation::Remove;

    if (item.SerType == kSystemVendorService) {
      if (const std::optional<std::string> known = GetKnownServiceInfo(item.Name); known && !known->empty()) {
        item.SerShowName = *known;
      }
    }
  }
}

}  // namespace bootmark
