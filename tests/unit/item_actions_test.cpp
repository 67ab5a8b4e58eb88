#include "alert/item_actions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "alert/shown_item_records.h"
#include "base/program_arguments.h"
#include "base/text.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using testing::FakePlatform;

constexpr const char* kNewStartupInfo =
    "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Startup Manager\\NewStartupInfo.ini";
constexpr const char* kIgnoreIni = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Startup Manager\\Ignore.ini";

NewStartupItem Item(int kind, std::string name, std::string exe) {
  NewStartupItem item;
  item.FNewItemType = kind;
  item.FNewItemName = std::move(name);
  item.FNewItemExePath = std::move(exe);
  return item;
}

class HandOverTest : public ::testing::Test {
 protected:
  void HandOver(const NewStartupItem& item) {
    HandOverToSuite(
        fake.platform, [this](std::string_view id) { statistics.emplace_back(id); }, item);
  }
  WindowHandle OpenSuiteWindow() { return fake.desktop.AddWindow({"TForm_KST", "Kestrune", {}}); }
  std::string NewStartupInfo(std::string_view key) {
    const TSafeIniFile ini(fake.files, kNewStartupInfo);
    return ini.ReadString("NewStartupInfo", key, "<none>");
  }

  FakePlatform fake;
  std::vector<std::string> statistics;
};

TEST_F(HandOverTest, OpenSuiteGetsTheItemInTheFileAndOneMessage) {
  const WindowHandle suite = OpenSuiteWindow();
  HandOver(Item(4, "Tool", "\"C:\\Tools\\tool.exe\" -min"));

  EXPECT_EQ(statistics, std::vector<std::string>{"227"});
  EXPECT_EQ(NewStartupInfo("TYPE"), "4");
  EXPECT_EQ(NewStartupInfo("NAME"), "Tool");
  EXPECT_EQ(NewStartupInfo("PATH"), "\"C:\\Tools\\tool.exe\" -min");
  EXPECT_EQ(fake.desktop.posted, (std::vector<testing::FakeDesktop::PostedMessage>{{suite, 33357, 0, 0}}));
  EXPECT_TRUE(fake.shell.executed.empty());
  EXPECT_TRUE(fake.processes.startedAsUser.empty());
  EXPECT_EQ(fake.debug.lines,
            std::vector<std::string>{"PostMessage : TYPE :4 NAME : Tool ExePath : \"C:\\Tools\\tool.exe\" -min"});
}

TEST_F(HandOverTest, EmptyTextsLeaveTheirKeysButTheMessageIsPostedAnyway) {
  OpenSuiteWindow();
  fake.files.AddFile(kNewStartupInfo, "[NewStartupInfo]\r\nTYPE=2\r\nNAME=old\r\nPATH=old.exe\r\n");
  HandOver(Item(1, "", ""));

  EXPECT_EQ(NewStartupInfo("TYPE"), "1");
  EXPECT_EQ(NewStartupInfo("NAME"), "old");
  EXPECT_EQ(NewStartupInfo("PATH"), "old.exe");
  EXPECT_EQ(fake.desktop.posted.size(), 1u);
}

// A shortcut's text has quotes of its own: escaped, so that the suite parses back
// exactly the fields that were sent (the quoting rules are QuoteArgument's).
TEST_F(HandOverTest, ClosedSuiteIsStartedWithTheItemOnItsCommandLine) {
  const NewStartupItem item = Item(4, "Tool.lnk", "\"C:\\Tools\\tool.exe\" -min");
  const char* const parameters = "/NewStartupInfo 4 \"Tool.lnk\" \"\\\"C:\\Tools\\tool.exe\\\" -min\"";
  HandOver(item);

  // How the suite is started is OpenSuite's; the item's fields are the hand-over's.
  ASSERT_EQ(fake.shell.executed.size(), 1u);
  EXPECT_EQ(fake.shell.executed[0].parameters, parameters);
  EXPECT_EQ(fake.debug.lines, std::vector<std::string>{parameters});
  EXPECT_EQ(ParseCommandLineArguments("KST.exe " + std::string(parameters)),
            (std::vector<std::string>{"KST.exe", "/NewStartupInfo", "4", item.FNewItemName, item.FNewItemExePath}));
  EXPECT_TRUE(fake.desktop.posted.empty());
  EXPECT_FALSE(fake.files.Content(kNewStartupInfo).has_value());
}

TEST(IgnoreChoiceTest, OnlyATickedBoxStoresTheKeyOfTheResolvedExecutable) {
  FakePlatform fake;
  fake.files.AddFile("C:\\Tools\\upd.exe", "MZ");
  TCheckPath checkPath(fake.platform);
  const NewStartupItem item = Item(1, "Updater", "C:\\Tools\\upd.exe /silent");
  StoreIgnoreChoice(fake.platform, checkPath, item, false);
  EXPECT_FALSE(fake.files.Content(kIgnoreIni).has_value());
  StoreIgnoreChoice(fake.platform, checkPath, item, true);
  const TSafeIniFile ini(fake.files, kIgnoreIni);
  EXPECT_EQ(ini.ReadSectionValues("Monitor"), std::vector<std::string>{"UpdaterC:\\Tools\\upd.exe1=1"});
}

// Every field of a shortcut with its creating process, in order.
TEST(LogShownItem, AppendsOneTimeStampedLinePerRecordAndAnEmptyLine) {
  FakePlatform fake;
  fake.clock.now = EncodeDateTime({2026, 12, 5, 12, 0, 1, 2}).value();
  const std::string log = AlertLogPath(fake.shell);
  EXPECT_EQ(log, "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\smAutoRun.log");
  NewStartupItem item = Item(4, "Tool.lnk", "C:\\t.exe");
  item.FNewItemSrcDisplayName = "Display";
  item.FNewItemRegPath = "HKLM\\Run";
  item.FNewItemLinkPath = "C:\\Link.lnk";
  item.FNewItemOperateName = "setup.exe";
  item.FNewItemOperatePID = "4242";
  LogShownItem(fake.platform, item, log);

  std::string text;
  ASSERT_TRUE(DecodeFileText(fake.files, fake.files.Content(log).value_or(""), text));
  std::string expected;
  for (const char* record : {"FNewItemType : 4", "FNewItemName : Tool.lnk", "FNewItemExePath : C:\\t.exe",
                             "FNewItemSrcDisplayName : Display", "FNewItemRegPath : HKLM\\Run",
                             "FNewItemLinkPath : C:\\Link.lnk", "FNewItemOperateName : setup.exe",
                             "FNewItemOperatePID : 4242"}) {
    expected += std::string("2026-12-05 12:00:01 002 Bootmark.exe ") + record + "\r\n";
  }
  EXPECT_EQ(text, expected + "\r\n");
}

// Services and scheduled tasks have no creating process.
TEST(AlertLogRecords, TheCreatingProcessOnlyForValuesAndShortcuts) {
  NewStartupItem item = Item(0, "Name", "Exe");
  item.FNewItemOperateName = "setup.exe";
  for (const int kind : {1, 2, 3, 4}) {
    item.FNewItemType = kind;
    const std::vector<std::string> records = AlertLogRecords(item);
    const bool withCreator = std::count(records.begin(), records.end(), "FNewItemOperateName : setup.exe") == 1;
    EXPECT_EQ(withCreator, kind == 1 || kind == 4) << kind;
  }
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
