// The inventory's records as the suite sees them: item hashes, the item key and
// the startup cache file.
#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "startup/item_hash.h"
#include "startup/startup_cache.h"
#include "startup/startup_item_id.h"

namespace bootmark {
namespace {

constexpr const char* kCache = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\StartupCache.dat";

TStartupItem StartupItem(ItemKind kind, const std::string& name) {
  TStartupItem item;
  item.StartupType = kind;
  item.Name = name;
  return item;
}

TEST(ItemHash, EachKindHashesItsOwnText) {
  TStartupItem runValue = StartupItem(ItemKind::RunValue, "Foo");
  runValue.RegType = 1;
  runValue.RegFullPath = "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  TStartupItem shortcut = StartupItem(ItemKind::Shortcut, "Notes.lnk");
  shortcut.LnkPath = "C:\\Users\\Ann\\Startup\\Notes.lnk";
  shortcut.Lnkflag = LinkFlag::CommonBackup;
  TStartupItem storeApp = StartupItem(ItemKind::StoreApp, "Chat");
  storeApp.FullPath = "C:\\Apps\\chat.exe";

  const std::pair<std::string, std::string> kCases[] = {
      {StartupItemHashText(runValue),
       "ItemType:1|RegPathType:1|RegFullPath:HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run|"
       "RegKeyName:Foo|"},
      {ServiceItemHashText("Print Spooler"), "ItemType:2|ItemName:Print Spooler|"},
      {TaskItemHashText("Updater"), "ItemType:3|ItemName:Updater|"},
      {StartupItemHashText(shortcut), "ItemType:4|ItemName:Notes.lnk|ItemIsCommonFolder:1|"},
      {StartupItemHashText(storeApp), "ItemType:5|ItemName:C:\\Apps\\chat.exe|"},
  };
  for (const auto& [text, expected] : kCases) EXPECT_EQ(text, expected);
  // The hash is that of the text.
  EXPECT_EQ(StartupItemHash(runValue), "0026BB9C");
  EXPECT_EQ(TaskItemHash("Updater"), "0B1EE94C");
  shortcut.Lnkflag = LinkFlag::UserStartup;
  EXPECT_EQ(StartupItemHashText(shortcut), "ItemType:4|ItemName:Notes.lnk|ItemIsCommonFolder:0|");
}

TEST(ItemMd5Key, IsTheMd5OfTheLowerCasedKeyFileCompanyAndKind) {
  const LocalIdentity identity;
  const ItemKeys keys(identity, {});
  // Digests computed outside the program over "1:foofoo.exefoo corp1" and
  // "2:spoolersvc.exemaker inc.2".
  EXPECT_EQ(ItemMd5Key(keys, "Foo", "foo.exe", "Foo Corp", 1), "79dba224f41a130ecdf701ac35ac8749");
  EXPECT_EQ(ItemMd5Key(keys, "Spooler", "SVC.EXE", "Maker Inc.", 2), "e8c744db3bc43137ad2762b4ab5eb9e0");
}

class StartupCacheTest : public ::testing::Test {
 protected:
  StartupCacheTest() {
    TStartupItem storeApp = StartupItem(ItemKind::StoreApp, "Chat");
    storeApp.Md5 = "0123456789abcdef0123456789abcdef";
    storeApp.ItemStatus = ItemState::Enabled;
    storeApp.Recommand = Recommendation::Keep;
    storeApp.Exist = true;
    TStartupItem runValue = StartupItem(ItemKind::RunValue, "Foo");  // no key: section "Foo_"
    runValue.RegType = 2;
    TServiceItem service;
    service.Name = "Spooler";
    service.SerShowName = "Print Spooler";
    service.StartType = 3;
    service.ItemStatus = ItemState::Delayed;
    service.isInDelayIni = true;
    service.Exist = false;
    TTaskScheduleItem task;
    task.Name = "Updater";
    task.Location = "\\Updater";
    task.IsTaskEnable = true;
    task.TaskType = 4;
    lists.startup = {storeApp, runValue};
    lists.services = {service};
    lists.tasks = {task};
  }

  void Write() { WriteStartupCache(files, kCache, lists, 46000.5); }

  FakeFileSystem files;
  StartupLists lists;
};

TEST_F(StartupCacheTest, SectionsAndKeysFollowTheRecordsAndReadBack) {
  Write();
  TSafeIniFile cache(files, kCache);
  EXPECT_EQ(cache.ReadSections(), (std::vector<std::string>{"Main", "Chat_0123456789abcdef0123456789abcdef",
                                                            "Foo_", "Spooler_", "Updater_"}));
  EXPECT_EQ(cache.ReadString("Main", "LastUpdateTime", ""), "46000.5");
  EXPECT_EQ(cache.ReadSectionValues("Spooler_"),
            (std::vector<std::string>{"ItemType=Service", "Name=Spooler", "Md5=", "ItemHash=", "CmdLine=",
                                      "FullPath=", "Description=", "Manufacture=", "Boottime=", "Disabltrate=",
                                      "Recommand=-1", "Ignore=0", "Exist=0", "SerShowName=Print Spooler",
                                      "SerType=2", "ItemStatus=2", "StartType=3", "isInDelayIni=1"}));
  const std::vector<std::string> runValue = cache.ReadSectionValues("Foo_");
  EXPECT_EQ(std::vector<std::string>(runValue.begin() + 13, runValue.end()),
            (std::vector<std::string>{"RegFullPath=", "LnkPath=", "LnkRestorePath=", "LnkparamStr=", "StartupType=1",
                                      "RegType=2", "ItemStatus=0", "Lnkflag=0"}));
  const std::vector<std::string> task = cache.ReadSectionValues("Updater_");
  EXPECT_EQ(std::vector<std::string>(task.begin() + 13, task.end()),
            (std::vector<std::string>{"Location=\\Updater", "IsTaskEnable=1", "IsStartBoot=0", "TaskType=4"}));

  // Read back: the store apps, services and tasks.
  StartupLists read;
  read.services.resize(1);  // the count is the growth of the list
  EXPECT_EQ(ReadStartupCache(cache, read, 1), 1);  // "StartupType=1" is not read back
  EXPECT_EQ(ReadStartupCache(cache, read, 2), 1);
  EXPECT_EQ(ReadStartupCache(cache, read, 3), 1);
  EXPECT_EQ(ReadStartupCache(cache, read, 4), 0);
  ASSERT_EQ(read.startup.size(), 1u);
  EXPECT_EQ(read.startup[0].StartupType, ItemKind::StoreApp);
  EXPECT_EQ(read.startup[0].Recommand, Recommendation::Keep);
  EXPECT_EQ(read.services[1].ItemStatus, ItemState::Delayed);
  EXPECT_FALSE(read.services[1].Exist);  // "Exist=0"
  EXPECT_EQ(read.tasks[0].TaskType, 4);
}

TEST_F(StartupCacheTest, MissingAndDamagedValuesReadAsTheirDefaultsAndAFailedWriteRaises) {
  files.AddFile(kCache,
                "[Main]\r\nLastUpdateTime=1\r\n[x]\r\nItemType=service\r\n[y]\r\nitemtype=Service\r\nNAME=Svc\r\n"
                "SerType=two\r\n[z]\r\nItemType=StartUp\r\nstartuptype=5\r\nLNKRESTOREPATH=C:\\b.lnk\r\n"
                "LnkParamStr=-min\r\n[w]\r\nName=NoType\r\n");
  TSafeIniFile cache(files, kCache);
  StartupLists read;
  EXPECT_EQ(ReadStartupCache(cache, read, 2), 1);  // "service" is not "Service"
  EXPECT_EQ(read.services[0].Name, "Svc");
  EXPECT_EQ(read.services[0].Recommand, Recommendation::Disable);
  EXPECT_EQ((std::vector<int>{read.services[0].SerType, read.services[0].StartType}), (std::vector<int>{-1, -1}));
  EXPECT_EQ(ReadStartupCache(cache, read, 1), 1);
  EXPECT_EQ(read.startup[0].LnkRestorePath + " " + read.startup[0].LnkparamStr, "C:\\b.lnk -min");

  TSafeIniFile missing(files, "C:\\none.dat");
  EXPECT_EQ(ReadStartupCache(missing, read, 3), 0);
  // A cache that cannot be written raises.
  files.SetWriteFails(kCache);
  EXPECT_THROW(Write(), std::runtime_error);
}

}  // namespace
}  // namespace bootmark
