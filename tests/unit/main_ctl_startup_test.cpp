// The controller's startup items over a fake machine: Run values in their three
// passes, the suite's records of disabled and delayed items with their repairs,
// Windows' own startup settings and the shortcuts of the Startup and backup folders.
#include <gtest/gtest.h>

#include "base/path.h"
#include "startup/item_hash.h"
#include "unit/main_ctl_test_support.h"

namespace bootmark {
namespace {

using namespace main_ctl_test;

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUserRun = "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kStartup = "C:\\Users\\Ann\\Start";

// The suite's record of a Run value it disabled, found again by its hash.
std::string RunRecord(const std::string& name, const std::string& cmdLine) {
  TStartupItem item;
  item.RegType = 1;
  item.RegFullPath = kUserRun;
  item.Name = name;
  return "ItemType:1|RegPathType:1|RegFullPath:" + std::string(kUserRun) + "|RegKeyName:" + name +
         "|RegCmdLine:" + cmdLine + "|ItemHash:" + StartupItemHash(item) + "|";
}

std::string ShortcutHash(const std::string& name) {
  TStartupItem item;
  item.StartupType = ItemKind::Shortcut;
  item.LnkPath = name;
  item.Lnkflag = LinkFlag::UserStartup;
  return StartupItemHash(item);
}

TEST(MainCtlStartup, RunValuesRecordsAndShortcutsWithTheirStates) {
  Machine m;
  for (const char* program : {"C:\\Tools\\a.exe", "C:\\Tools\\b.exe"}) m.AddProgram(program, "Acme");
  FakeRegistry& registry = m.fake.registry;
  registry.SetString(RegistryRoot::CurrentUser, kRunKey, "Tray", "C:\\Tools\\a.exe /min");
  registry.SetString(RegistryRoot::CurrentUser, kRunKey, "Blank", "");
  registry.SetString(RegistryRoot::CurrentUser, kRunKey, "Back", "C:\\Tools\\b.exe");
  registry.SetString(RegistryRoot::LocalMachine, kRunKey, "Tray", "C:\\Tools\\a.exe");
  registry.SetString(RegistryRoot::LocalMachine, kRunKey, "Tray", "C:\\Tools\\a.exe", RegistryView::Registry64);
  registry.SetString(RegistryRoot::LocalMachine, kRunKey, "Gone", "C:\\Tools\\gone.exe", RegistryView::Registry64);
  registry.SetValue(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run",
                    "Tray", {registry_type::kBinary, std::string("\x03\0\0\0", 4)});

  m.fake.files.AddFile(std::string(kRecords) + "delStartups.ini",
                       "[Main]\r\n1=" + RunRecord("Back", "c:\\tools\\B.exe") + "\r\n2=" +
                           RunRecord("Off", "C:\\Tools\\b.exe -x") + "\r\n3=" + RunRecord("OffGone", "C:\\x\\y.exe") +
                           "\r\n4=ItemType:4|ItemName:b.lnk|ItemLinkFlag:1|ItemLnkExePath:" + kStartup +
                           "\\b.lnk|ItemFullPath:C:\\Tools\\b.exe|ItemIsCommonFolder:0|ItemHash:" +
                           ShortcutHash("b.lnk") + "|\r\ncount=4\r\n");
  m.fake.files.AddFile(std::string(kRecords) + "delayEx.ini",
                       "[Main]\r\n1=" + RunRecord("Later", "C:\\x\\later.exe") + "\r\n2=ItemHash:" +
                           ShortcutHash("a.lnk") + "|\r\n");

  m.fake.shell.folders[csidl::kStartup] = kStartup;
  const std::string backup = std::string(kRecords) + "Shortcut\\";
  for (const std::string& link : {std::string(kStartup) + "\\a.lnk", backup + "a.lnk", backup + "b.lnk"}) {
    m.fake.files.AddFile(link, "L");
    m.fake.shell.linkFields[link] = {ExtractFileName(link) == "a.lnk" ? "C:\\Tools\\a.exe" : "C:\\Tools\\b.exe", "-s",
                                     "Link", "", ""};
  }
  m.fake.files.AddFile(std::string(kStartup) + "\\web.url", "[InternetShortcut]\r\nURL=https://example.org/\r\n");
  m.fake.files.AddFile(std::string(kStartup) + "\\bare.url", "[InternetShortcut]\r\nIcon=x\r\n");
  m.fake.files.AddFile(std::string(kStartup) + "\\broken.lnk", "not a link");

  m.Controller().SetFilter(false);
  m.Controller().GetStartupData(true);

  const struct { const char* name; std::int32_t regType; ItemState state; LinkFlag flag; } kExpected[] = {
      {"Later", 1, ItemState::Missing, LinkFlag::None},         // delayed, its file gone
      {"Off", 1, ItemState::Disabled, LinkFlag::None},          // disabled by the suite
      {"b.lnk", 0, ItemState::Disabled, LinkFlag::UserStartup}, // the record of a moved shortcut
      {"Back", 1, ItemState::Enabled, LinkFlag::None},          // put back: listed by the Run pass
      // Windows' startup settings name the value, whichever key holds it.
      {"Tray", 1, ItemState::Disabled, LinkFlag::None},
      {"Tray", 1, ItemState::Disabled, LinkFlag::None},
      {"Gone", 2, ItemState::Missing, LinkFlag::None},          // the 64-bit view
      {"Tray", 2, ItemState::Disabled, LinkFlag::None},
      {"a.lnk", 0, ItemState::Enabled, LinkFlag::UserStartup},  // its backup copy is a repeat
      {"web.url", 0, ItemState::Enabled, LinkFlag::UserStartup},
  };
  const std::vector<TStartupItem>& items = m.Controller().Lists().startup;
  ASSERT_EQ(items.size(), std::size(kExpected));
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].Name, kExpected[i].name) << i;
    EXPECT_EQ(items[i].RegType, kExpected[i].regType) << i;
    EXPECT_EQ(items[i].ItemStatus, kExpected[i].state) << i;
    EXPECT_EQ(items[i].Lnkflag, kExpected[i].flag) << i;
  }
  EXPECT_EQ(items[2].LnkRestorePath, backup + "b.lnk");
  EXPECT_EQ(items[8].LnkRestorePath, backup + "a.lnk");
  EXPECT_EQ(items[8].LnkparamStr, "-s");
  EXPECT_EQ(items[9].Description, "https://example.org/");
  EXPECT_EQ(items[9].FullPath, std::string(kStartup) + "\\web.url");

  // The put-back value's and the missing program's records are gone, and the
  // shortcut back in its Startup folder has lost its delay record.
  TSafeIniFile deleted(m.fake.files, std::string(kRecords) + "delStartups.ini");
  EXPECT_EQ(deleted.ReadSection("Main"), (std::vector<std::string>{"2", "4"}));
  EXPECT_NE(deleted.ReadString("Main", "2", "").find("RegKeyName:Off|"), std::string::npos);
  TSafeIniFile delayed(m.fake.files, std::string(kRecords) + "delayEx.ini");
  EXPECT_EQ(delayed.ReadSection("Main"), (std::vector<std::string>{"1"}));
}

}  // namespace
}  // namespace bootmark
