#include "alert/shown_item_records.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using testing::FakePlatform;

NewStartupItem Item(int kind, std::string name, std::string exe) {
  NewStartupItem item;
  item.FNewItemType = kind;
  item.FNewItemName = std::move(name);
  item.FNewItemExePath = std::move(exe);
  return item;
}

TEST(AlertLogRecords, EightRecordsWithTheCreatingProcessOnlyForValuesAndShortcuts) {
  NewStartupItem item = Item(0, "Name", "Exe");
  item.FNewItemSrcDisplayName = "Display";
  item.FNewItemRegPath = "HKLM\\Run";
  item.FNewItemLinkPath = "C:\\Link.lnk";
  item.FNewItemOperateName = "setup.exe";
  item.FNewItemOperatePID = "4242";
  const std::vector<std::string> common{
      "FNewItemName : Name",           "FNewItemExePath : Exe",           "FNewItemSrcDisplayName : Display",
      "FNewItemRegPath : HKLM\\Run", "FNewItemLinkPath : C:\\Link.lnk",
  };
  for (const int kind : {1, 2, 3, 4}) {
    SCOPED_TRACE(kind);
    item.FNewItemType = kind;
    std::vector<std::string> expected{"FNewItemType : " + std::to_string(kind)};
    expected.insert(expected.end(), common.begin(), common.end());
    if (kind == 1 || kind == 4) {
      expected.push_back("FNewItemOperateName : setup.exe");
      expected.push_back("FNewItemOperatePID : 4242");
    }
    expected.emplace_back();
    EXPECT_EQ(AlertLogRecords(item), expected);
  }
}

TEST(LogShownItem, AppendsOneTimeStampedLinePerRecordAndAnEmptyLine) {
  FakePlatform fake;
  fake.clock.now = EncodeDateTime({2026, 12, 5, 12, 0, 1, 2}).value();
  const std::string log = AlertLogPath(fake.shell);
  EXPECT_EQ(log, "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\smAutoRun.log");
  LogShownItem(fake.platform, Item(2, "Svc", "C:\\svc.exe"), log);

  std::string text;
  ASSERT_TRUE(DecodeFileText(fake.files, fake.files.Content(log).value_or(""), text));
  const std::string stamp = "2026-12-05 12:00:01 002 Bootmark.exe ";
  EXPECT_EQ(text, stamp + "FNewItemType : 2\r\n" + stamp + "FNewItemName : Svc\r\n" + stamp +
                      "FNewItemExePath : C:\\svc.exe\r\n" + stamp + "FNewItemSrcDisplayName : \r\n" + stamp +
                      "FNewItemRegPath : \r\n" + stamp + "FNewItemLinkPath : \r\n\r\n");
}

TEST(NewItemNCMessage, NewStartupItemMessageWithItsDisableButtonAndData) {
  const TNotiCenterMsgData msg = NewItemNCMessage(Item(1, "Upd|ater", "C:\\u.exe /s"));
  EXPECT_EQ(BuildNCMessage(msg, "46361.5"),
            "msgid:3|opid:4|content:A new startup item. Disable it to save your PC's boot time.|msgext:"
            "|ctgp:AutoRunNotice_M|ctkey:M_NoticeTitle|btn:Disable Now|btngp:AutoRunNotice_M"
            "|btnkey:M_NoticeBtn|dataEx:1+++Upd|ater+++C:\\u.exe /s|time:46361.5");
}

}  // namespace
}  // namespace bootmark
