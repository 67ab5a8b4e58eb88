#include "alert/shown_item_records.h"

#include "alert/alert_log.h"
#include "base/text.h"
#include "common/data_dirs.h"

namespace bootmark {
namespace {

// The notification center's message kind and button operation of a new startup
// item, as the suite knows them.
constexpr std::int32_t kNewItemMsgId = 3;
constexpr std::int32_t kNewItemOpId = 4;
constexpr std::string_view kDataSeparator = "+++";

}  // namespace

std::string AlertLogPath(IShell& shell) { return GetSuiteCommonDataDir(shell) + std::string(kAlertLogName); }

std::vector<std::string> AlertLogRecords(const NewStartupItem& item) {
  std::vector<std::string> records{
      "FNewItemType : " + IntToStr(item.FNewItemType),
      "FNewItemName : " + item.FNewItemName,
      "FNewItemExePath : " + item.FNewItemExePath,
      "FNewItemSrcDisplayName : " + item.FNewItemSrcDisplayName,
      "FNewItemRegPath : " + item.FNewItemRegPath,
      "FNewItemLinkPath : " + item.FNewItemLinkPath,
  };
  // Only registry values and shortcuts are created by a process the suite's
  // monitor can name.
  if (item.FNewItemType == item_kind::kRegistryValue || item.FNewItemType == item_kind::kStartupShortcut) {
    records.push_back("FNewItemOperateName : " + item.FNewItemOperateName);
    records.push_back("FNewItemOperatePID : " + item.FNewItemOperatePID);
  }
  records.emplace_back();
  return records;
}

void LogShownItem(const Platform& platform, const NewStartupItem& item, std::string_view logPath) {
  for (const std::string& record : AlertLogRecords(item)) {
    AppendAlertLog(platform.files, platform.clock, platform.environment, record, logPath);
  }
}

TNotiCenterMsgData NewItemNCMessage(const NewStartupItem& item) {
  TNotiCenterMsgData msg;
  msg.MsgId = kNewItemMsgId;
  msg.OpId = kNewItemOpId;
  msg.Content = "A new startup item. Disable it to save your PC's boot time.";
  msg.CtGp = "AutoRunNotice_M";
  msg.CtKey = "M_NoticeTitle";
  msg.Btn = "Disable Now";
  msg.BtnGp = "AutoRunNotice_M";
  msg.BtnKey = "M_NoticeBtn";
  msg.DataEx = IntToStr(item.FNewItemType) + std::string(kDataSeparator) + item.FNewItemName +
               std::string(kDataSeparator) + item.FNewItemExePath;
  return msg;
}

}  // namespace bootmark
