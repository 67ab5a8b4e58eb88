// The suite's records of disabled and delayed items: their field texts, finding,
// deleting and compacting records, and the registry's own word on an item
// (a Run value put back, Windows' startup settings, store-app task states).
#include <gtest/gtest.h>

#include "common/ini_file.h"
#include "common/registry_values.h"
#include "fakes/fake_platform.h"
#include "startup/data_field.h"
#include "startup/record_files.h"
#include "startup/startup_registry_state.h"

namespace bootmark {
namespace {

constexpr const char* kFile = "C:\\Records\\delStartups.ini";

TEST(DataField, FieldsSplitAtTheirFirstColonAndLaterNamesWin) {
  // A record, a field name, and the field as text and as a number.
  const std::tuple<const char*, const char*, const char*, std::int32_t> kCases[] = {
      {"ItemType:1|RegKeyName:Foo|", "itemtype", "1", 1},
      {"RegCmdLine:\"C:\\a b.exe\" -x:y|ItemType:4", "RegCmdLine", "\"C:\\a b.exe\" -x:y", 0},
      {"no colon|:nameless|Name:a|NAME:b", "name", "b", 0},
      {"ItemType:|ItemHash::00AB", "ItemHash", ":00AB", 0},
  };
  for (const auto& [text, name, value, number] : kCases) {
    const TDataField fields(text);
    EXPECT_EQ(fields.Text(name), value) << text;
    EXPECT_EQ(fields.Number(name), number) << text;
  }
}

using Entries = std::vector<std::pair<std::string, std::string>>;

struct RecordFile {
  explicit RecordFile(const std::string& text) { fake.files.AddFile(kFile, text); }
  Entries Read() {
    Entries entries;
    for (const std::string& key : records->ReadSection("Main")) entries.emplace_back(key, records->ReadString("Main", key, ""));
    return entries;
  }
  testing::FakePlatform fake;
  std::unique_ptr<TIniFile> records = std::make_unique<TIniFile>(fake.files, fake.profile, kFile);
};

TEST(RecordFiles, FindDeleteAndCompact) {
  const std::string text =
      "[Main]\r\ncount=3\r\n1=ItemHash:AAA1|\r\n2=\r\n3=ItemType:4|ItemHash:bbb2|\r\n4=ItemHash:CCC3|\r\n";
  RecordFile file(text);
  EXPECT_EQ(FindRecordKey(*file.records, ":BBB2"), "3");  // one leading ":" and the case ignored
  EXPECT_EQ(FindRecordKey(*file.records, "3"), "4");      // "count" is no record
  EXPECT_EQ(FindRecordKey(*file.records, "DDD"), "");
  EXPECT_EQ(FindRecordKey(*file.records, ""), "");

  // The empty entry on the way goes too, and so does "count".
  DeleteRecord(*file.records, "BBB2");
  EXPECT_EQ(file.Read(), (Entries{{"1", "ItemHash:AAA1|"}, {"4", "ItemHash:CCC3|"}}));

  RecordFile gaps("[main]\r\n1=\r\n2=a\r\nCount=2\r\n3=\r\n4=\r\n5=b\r\n6=c\r\n");
  CompactRecords(*gaps.records);
  EXPECT_EQ(gaps.Read(),
            (Entries{{"1", "a"}, {"2", "b"}, {"Count", "2"}, {"3", "c"}, {"4", ""}, {"5", ""}, {"6", ""}}));

  RecordFile compacting("[Main]\r\n1=\r\n2=ItemHash:X|\r\n3=ItemHash:Y|\r\n");
  DeleteRecord(*compacting.records, "X", true);
  EXPECT_EQ(compacting.Read(), (Entries{{"3", "ItemHash:Y|"}}));
}

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(StartupRegistryState, RunValueBackOnlyWithTheSameCommandLineInItsView) {
  FakeRegistry registry;
  registry.SetString(RegistryRoot::CurrentUser, kRunKey, "Tray", "C:\\Tools\\Tray.exe /min");
  registry.SetString(RegistryRoot::LocalMachine, kRunKey, "Wide", "C:\\w.exe", RegistryView::Registry64);
  const std::string user = std::string("HKEY_CURRENT_USER\\") + kRunKey;
  const std::string machine = std::string("HKEY_LOCAL_MACHINE\\") + kRunKey;
  // The record's registry type, key path, value name and command line, and whether the value is back.
  const std::tuple<std::int32_t, std::string, const char*, const char*, bool> kCases[] = {
      {1, "  hkey_current_user\\" + std::string(kRunKey) + " ", "Tray", "c:\\tools\\tray.exe /MIN", true},
      {1, user, "Tray", "C:\\Tools\\Tray.exe", false},
      {1, user, "Other", "C:\\Tools\\Tray.exe /min", false},
      {2, machine, "Wide", "C:\\w.exe", true},
      {1, machine, "Wide", "C:\\w.exe", false},
      {1, "HKEY_CURRENT_USER", "Tray", "C:\\Tools\\Tray.exe /min", false},
  };
  for (const auto& [regType, path, name, cmdLine, back] : kCases) {
    EXPECT_EQ(IsRunValueBack(registry, regType, path, name, cmdLine), back) << path << " " << cmdLine;
  }
}

TEST(StartupRegistryState, StartupApprovedAnswersWithTheFirstDisabledValueInItsOrder) {
  const std::string approved = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
  const auto binary = [](char first) { return RegistryValue{registry_type::kBinary, std::string(1, first) + "stamp"}; };
  FakeRegistry registry;
  const auto set = [&](RegistryRoot root, const char* key, const char* name, RegistryValue value,
                       RegistryView view = RegistryView::Default) { registry.SetValue(root, approved + key, name, value, view); };
  set(RegistryRoot::CurrentUser, "Run", "Kept", binary(2));
  set(RegistryRoot::LocalMachine, "Run32", "Kept", binary(3));  // enabled for the user, not for the machine
  set(RegistryRoot::CurrentUser, "StartupFolder", "a.lnk", binary(3));
  set(RegistryRoot::LocalMachine, "StartupFolder", "Wide", binary(3), RegistryView::Registry64);
  set(RegistryRoot::CurrentUser, "Run", "Number", MakeRegistryDword(3));
  set(RegistryRoot::CurrentUser, "Run", "Empty", {registry_type::kBinary, ""});
  for (const auto& [name, on64Bit, disabled] : std::vector<std::tuple<const char*, bool, bool>>{
           {"Kept", true, true}, {"a.lnk", true, true}, {"Wide", true, true}, {"Wide", false, false},
           {"Number", true, false}, {"Empty", true, false}, {"Unknown", true, false}}) {
    EXPECT_EQ(IsStartupApprovedDisabled(registry, on64Bit, name), disabled) << name << " " << on64Bit;
  }
}

TEST(StartupRegistryState, StoreTaskStatesWithTheVoiceAssistantRule) {
  const std::string apps =
      "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\SystemAppData\\";
  // The package key, its stored "State" and "UserEnabledStartupOnce" values, and the state read.
  const std::tuple<const char*, std::optional<std::uint32_t>, std::optional<std::uint32_t>, std::int32_t> kCases[] = {
      {"App_1\\On", 2, {}, 2},
      {"V_1\\CortanaStartupId", 2, 0, 1},  // not yet switched on by the user
      {"V_2\\CortanaStartupId", 2, 1, 2}, {"V_3\\CortanaStartupId", 2, {}, 2},
      {"V_4\\CortanaStartupId", 4, 0, 4}, {"App_1\\NoValue", {}, 0, -1}, {"App_1\\Missing", {}, {}, -1},
  };
  FakeRegistry registry;
  for (const auto& [key, stored, enabledOnce, state] : kCases) {
    if (stored) registry.SetDword(RegistryRoot::CurrentUser, apps + key, "State", *stored);
    if (enabledOnce) registry.SetDword(RegistryRoot::CurrentUser, apps + key, "UserEnabledStartupOnce", *enabledOnce);
  }
  for (const auto& [key, stored, enabledOnce, state] : kCases) {
    EXPECT_EQ(GetStoreTaskState(registry, key), state) << key;
  }
}

}  // namespace
}  // namespace bootmark
