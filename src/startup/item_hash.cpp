#include "startup/item_hash.h"

#include "base/path.h"
#include "base/text.h"
#include "startup/item_keys.h"

namespace bootmark {
namespace {

std::string NamedItemText(ItemKind kind, std::string_view name) {
  return "ItemType:" + IntToStr(static_cast<int>(kind)) + "|ItemName:" + std::string(name) + "|";
}

}  // namespace

std::string StartupItemHashText(const TStartupItem& item) {
  switch (item.StartupType) {
    case ItemKind::RunValue:
      return "ItemType:1|RegPathType:" + IntToStr(item.RegType) + "|RegFullPath:" + item.RegFullPath +
             "|RegKeyName:" + item.Name + "|";
    case ItemKind::Shortcut: {
      const bool common = item.Lnkflag == LinkFlag::CommonBackup || item.Lnkflag == LinkFlag::CommonStartup;
      return NamedItemText(ItemKind::Shortcut, ExtractFileName(item.LnkPath)) +
             "ItemIsCommonFolder:" + (common ? "1" : "0") + "|";
    }
    default:
      return NamedItemText(item.StartupType, item.FullPath);
  }
}

std::string ServiceItemHashText(std::string_view displayName) {
  return NamedItemText(ItemKind::Service, displayName);
}

std::string TaskItemHashText(std::string_view taskName) { return NamedItemText(ItemKind::ScheduledTask, taskName); }

std::string StartupItemHash(const TStartupItem& item) { return ItemHash(StartupItemHashText(item)); }
std::string ServiceItemHash(std::string_view displayName) { return ItemHash(ServiceItemHashText(displayName)); }
std::string TaskItemHash(std::string_view taskName) { return ItemHash(TaskItemHashText(taskName)); }

}  // namespace bootmark
