// Item keys: names made comparable across computers.
#include "startup/item_keys.h"

#include <gtest/gtest.h>

#include <map>

#include "startup/known_task_rules.h"
#include "startup/os_tag.h"

namespace bootmark {
namespace {

constexpr const char* kAnnSid = "S-1-5-21-1004336348-1177238915-682003330-1001";
constexpr const char* kAdminSid = "S-1-5-21-1004336348-1177238915-682003330-500";

LocalIdentity Identity() {
  LocalIdentity identity;
  identity.UserSids = {kAnnSid, kAdminSid};
  identity.UserNames = {"AnnLee", "Ann"};
  identity.ComputerName = "DESK-7";
  identity.RegisteredOwner = "Jo Reader";
  return identity;
}

struct KeyCase {
  const char* name;
  const char* fileName;
  const char* company;
  int itemType;
  const char* key;  // "<hash>" stands for the ItemHash of file name, company and type
};

std::string Expected(const KeyCase& c) {
  std::string key = c.key;
  const std::string mark = "<hash>";
  if (const std::size_t at = key.find(mark); at != std::string::npos) {
    key.replace(at, mark.size(), ItemHash(std::string(c.fileName) + c.company + std::to_string(c.itemType)));
  }
  return key;
}

TEST(ItemKeys, MakeItemKeyReplacesWhatDiffersBetweenComputers) {
  const KeyCase cases[] = {
      // Identities of this computer and its users.
      {"Update S-1-5-21-1004336348-1177238915-682003330-1001 Daily", "upd.exe", "Maker", 3,
       "3:Update TARVO_SID Daily_<hash>"},
      {"OneDrive Task-s-1-5-21-1004336348-1177238915-682003330-500", "od.exe", "", 3,
       "3:OneDrive Task-TARVO_SID_<hash>"},
      {"GoogleUpdateTaskMachineCore{6B29FC40-CA47-1067-B31D-00DD010662DA}", "gu.exe", "G", 3,
       "3:GoogleUpdateTaskMachineCoreTARVO_GUID_<hash>"},
      {"Task-6b29fc40-ca47-1067-b31d-00dd010662da", "t.exe", "", 1, "1:Task-TARVO_GUID_<hash>"},
      {"OfficeTask6B29FC40-CA47-1067-B31D-00DD010662DAx", "o.exe", "", 3, "3:OfficeTaskTARVO_GUIDx_<hash>"},
      {"aaaaaaa!-bbbb-cccc-dddd-eeeeeeeeeeee", "a.exe", "", 1, "1:aaaaaaa!-bbbb-cccc-dddd-eeeeeeeeeeee"},
      // One part of a GUID's shape short: 7, 3, 3 and 3 characters.
      {"Abcdefg-abcd-abcd-abcd-abcdefghijklmn", "a.exe", "", 1, "1:Abcdefg-abcd-abcd-abcd-abcdefghijklmn"},
      {"Abcdefgh-abc-abcd-abcd-abcdefghijklm", "a.exe", "", 1, "1:Abcdefgh-abc-abcd-abcd-abcdefghijklm"},
      {"Abcdefgh-abcd-abc-abcd-abcdefghijklm", "a.exe", "", 1, "1:Abcdefgh-abcd-abc-abcd-abcdefghijklm"},
      {"Abcdefgh-abcd-abcd-abc-abcdefghijklm", "a.exe", "", 1, "1:Abcdefgh-abcd-abcd-abc-abcdefghijklm"},
      {"npcapwatchdog_2a4f1c", "n.exe", "", 3, "3:npcapwatchdog_TARVO_LUID_<hash>"},
      {"Task_ABC", "t.exe", "", 3, "3:Task_ABC"}, {"Task_12345678901", "t.exe", "", 3, "3:Task_12345678901"},
      {"Task_", "t.exe", "", 3, "3:Task_"},
      {"Backup AnnLee", "b.exe", "", 1, "1:Backup TARVO_USER_<hash>"},
      {"Sync for ann", "s.exe", "", 1, "1:Sync for TARVO_USER_<hash>"},
      {"Sync desk-7", "s.exe", "", 1, "1:Sync TARVO_DEVICE_<hash>"},
      {"Report for Jo Reader", "r.exe", "", 1, "1:Report for TARVO_OWNER_<hash>"},
      {"Updater 0123456789abcdef0123456789ABCDEF", "u.exe", "", 1, "1:Updater TARVO_MD5_<hash>"},
      {"0123456789abcdef0123456789abcdef", "u.exe", "", 1, "1:TARVO_MD5_<hash>"},
      {"Updaterx0123456789abcdef0123456789abcdef", "u.exe", "", 1, "1:Updaterx0123456789abcdef0123456789abcdef"},
      // Time stamps and numbers.
      {"AdobeTask1d5f1a2b3c4d5e6", "a.exe", "", 3, "3:AdobeTask_<hash>"},
      {"OldTask1c9a1b2c3d4e5f6", "a.exe", "", 3, "3:OldTask_<hash>"},
      {"Task1D5F1A2B3C4D5E6", "a.exe", "", 3, "3:Task1D5F1A2B3C4D5E6"},
      // Occurrences with more than 15 characters after them are passed over.
      {"Tool1d2Runner1d5f1a2b3c4d5e6", "a.exe", "", 3, "3:Tool1d2Runner_<hash>"},
      // 13 characters after the occurrence still make a time stamp; 16 do not.
      {"Agent1d5f1a2b3c4d5", "a.exe", "", 3, "3:Agent_<hash>"},
      {"Agent1d5f1a2b3c4d5e6f", "a.exe", "", 3, "3:Agent1d5f1a2b3c4d5e6f"},
      // The first occurrence already within the last 12 characters is taken.
      {"Scheduler-X-1dab", "a.exe", "", 3, "3:Scheduler-X-_<hash>"},
      {"Abc1d5f1a2b3c", "a.exe", "", 3, "3:Abc1d5f1a2b3c"},
      {"Abcd1d5f1a2b3c4d", "a.exe", "", 3, "3:Abcd_<hash>"},
      // A later occurrence needs 13 to 15 characters after it.
      {"Tool1d2Runner1d5f1a2b", "a.exe", "", 3, "3:Tool1d2Runner1d5f1a2b"},
      {"Backup Job 2147483647", "b.exe", "", 3, "3:Backup Job_<hash>"},
      {"Backup Job 2147483648", "b.exe", "", 3, "3:Backup Job 2147483648"},
      {"Backup Job 123456789", "b.exe", "", 3, "3:Backup Job 123456789"},
      // Known tasks.
      {"McInstCleanup-Task", "McInst.exe", "McAfee, Inc.", 3, "3:mcinstcleanup_<hash>"},
      {"McInstCleanup-Task", "other.exe", "", 3, "3:McInstCleanup-Task"},
      {"RealCreateProcessScheduledTask-abc", "realsched.exe", "", 3, "3:realcreateprocessscheduledtask_<hash>"},
      {"RealCreateProcessScheduledTask-abc", "other.exe", "", 3, "3:RealCreateProcessScheduledTask-abc"},
      {"MicrosoftEdge._SERVICE_RUN", "msedge.exe", "", 3, "3:._service_run_<hash>"},
      {"GoogleChrome._SERVICE_RUN", "other.exe", "", 3, "3:GoogleChrome._SERVICE_RUN"},
      // A lower-case "run" after the last "_" is taken for a random suffix first.
      {"GoogleChrome._service_run", "chrome.exe", "", 3, "3:GoogleChrome._service_TARVO_LUID_<hash>"},
      {"RadioRecorder Task", "RadioRecorderLauncher.exe", "RadioRecorderLauncher", 3, "3:radiorecorderlauncher_<hash>"},
      {"RadioRecorder Task", "RadioRecorderLauncher.exe", "Other", 3, "3:RadioRecorder Task"},
      // The known-task stem equals the name without regard to case: no hash.
      {"WPSEXTERNAL", "wps.exe", "", 3, "3:wpsexternal"},
  };
  const LocalIdentity identity = Identity();
  const ItemKeys keys(identity, nullptr);
  for (const KeyCase& c : cases) {
    EXPECT_EQ(keys.MakeItemKey(c.name, c.fileName, c.company, c.itemType), Expected(c)) << c.name;
  }
}

TEST(ItemKeys, ScheduledTasksReplaceTheirAccountAndAuthor) {
  const LocalIdentity identity = Identity();
  std::vector<std::string> lookedUp;
  std::map<std::string, TaskAccountFields> tasks{{"Backup svcbackup", {"svcbackup", ""}},
                                                 {"Maker Inc Sync", {"Ann", "Maker Inc"}},
                                                 {"Maker Inc Check", {"", "Maker Inc"}}};
  const ItemKeys keys(identity, [&](std::string_view name) -> std::optional<TaskAccountFields> {
    lookedUp.emplace_back(name);
    const auto found = tasks.find(std::string(name));
    if (found == tasks.end()) return std::nullopt;
    return found->second;
  });
  const std::string hash = ItemHash("t.exe3");
  EXPECT_EQ(keys.MakeItemKey("Backup svcbackup", "t.exe", "", 3), "3:Backup TARVO_SID_" + hash);
  EXPECT_EQ(keys.MakeItemKey("Maker Inc Sync", "t.exe", "", 3), "3:TARVO_USER Sync_" + hash);
  // Without an account the author stays.
  EXPECT_EQ(keys.MakeItemKey("Maker Inc Check", "t.exe", "", 3), "3:Maker Inc Check");
  EXPECT_EQ(keys.MakeItemKey("Unknown", "t.exe", "", 3), "3:Unknown");
  // Only scheduled tasks are looked up, by the name passed in.
  EXPECT_EQ(keys.MakeItemKey("Backup svcbackup", "t.exe", "", 1), "1:Backup svcbackup");
  EXPECT_EQ(lookedUp, (std::vector<std::string>{"Backup svcbackup", "Maker Inc Sync", "Maker Inc Check", "Unknown"}));
}

TEST(ItemKeys, EmptyIdentityKeepsThoseParts) {
  const LocalIdentity empty;
  const ItemKeys keys(empty, nullptr);
  EXPECT_EQ(keys.MakeItemKey("Update S-1-5-21-1-2-3-1001 for Ann on DESK-7", "u.exe", "", 1),
            "1:Update S-1-5-21-1-2-3-1001 for Ann on DESK-7");
}

TEST(ItemKeys, StripItemKeyDropsSidsGuidsAndRandomSuffixes) {
  const LocalIdentity identity = Identity();
  const ItemKeys keys(identity, nullptr);
  for (const auto& [name, stripped] : std::vector<std::pair<std::string, std::string>>{
           {"Task S-1-5-21-1004336348-1177238915-682003330-1001 {6B29FC40-CA47-1067-B31D-00DD010662DA}_ab12",
            "Task  "},
           {"npcapwatchdog_2a4f1c", "npcapwatchdog"}, {"Backup AnnLee_X", "Backup AnnLee_X"}, {"", ""},
       }) {
    EXPECT_EQ(keys.StripItemKey(name), stripped) << name;
  }
}

TEST(ItemKeys, FileKeys) {
  EXPECT_EQ(MakeFileKey("C:/Apps/Maker/app.exe", "Maker"), "app.exe");
  EXPECT_EQ(MakeFileKey("C:\\Apps\\app.exe", "Maker"), "C:\\Apps\\app.exe");
  EXPECT_EQ(MakeFileKey("C:\\Program Files\\McAfee\\McInst.exe", "McAfee, Inc."), "mcinst.exe");
  EXPECT_EQ(MakeFileKey("C:\\Program Files\\McAfee\\McInst.exe", "Other"), "C:\\Program Files\\McAfee\\McInst.exe");
  EXPECT_EQ(MakeFileKey("", ""), "");
}

TEST(ItemKeys, ItemHashOverUtf16Units) {
  for (const auto& [text, hash] : std::vector<std::pair<std::string, std::string>>{
           {"abc", "00006783"}, {"", "00000000"}, {"\u00E9", "000000E9"},
           {"\U0001F600", "000E61D0"},  // a surrogate pair: two units
           {"Kestrune Startup Manager monitors it", "0BD17E44"},
       }) {
    EXPECT_EQ(ItemHash(text), hash) << text;
  }
}

TEST(OSTag, NamesTheWindowsVersion) {
  struct Case {
    RealVersion version;
    bool wow64;
    const char* tag;
  };
  // One row per tag; the edges of the Windows 10 range and the versions without a tag.
  for (const Case& c : {Case{{5, 1, 2600}, false, "xp_x86"}, Case{{6, 0, 6002}, false, "vista_x86"},
                        Case{{6, 1, 7601}, true, "win7_x64"}, Case{{6, 2, 9200}, false, "win8_x86"},
                        Case{{6, 3, 9600}, true, "win8.1_x64"}, Case{{6, 4, 9841}, true, "win10"},
                        Case{{10, 0, 19045}, false, "win10"}, Case{{11, 0, 1}, true, "win10"},
                        Case{{6, 5, 0}, true, ""}, Case{{7, 0, 0}, false, ""}}) {
    EXPECT_EQ(OSTagOf(c.version, c.wow64), c.tag) << c.version.Major << "." << c.version.Minor;
  }
}

}  // namespace
}  // namespace bootmark
