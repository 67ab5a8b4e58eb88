// The inventory controller over a fake machine: the optimisable count and the
// gathering of record files, databases and the cache.
#include <gtest/gtest.h>

#include "startup/startup_cache.h"
#include "unit/main_ctl_test_support.h"

namespace bootmark {
namespace {

using namespace main_ctl_test;

// One row of the quick-optimise table: an item of a kind with its recommendation
// and state, and what the optimiser makes of it.
struct QuickCase {
  ItemKind kind;
  Recommendation recommendation;
  ItemState state;  // for tasks: Enabled or Disabled
  bool exists = true;
  bool bootTrigger = true;
  const char* record = "";  // a record file holding the item
  bool listed = false;
  bool counted = false;
  bool isProtected = false;  // the program lies in an antivirus product's folder
};

TEST(MainCtlQuickOptimize, EachKindFollowsItsSkipAndAcceptRules) {
  using R = Recommendation;
  using S = ItemState;
  const QuickCase kCases[] = {
      {ItemKind::RunValue, R::Disable, S::Enabled, true, true, "", true, true},
      {ItemKind::RunValue, R::Disable, S::Disabled, true, true, "", false, false},
      {ItemKind::RunValue, R::Keep, S::Enabled, true, true, "", false, false},
      {ItemKind::RunValue, R::Unknown, S::Enabled, true, true, "", true, false},
      {ItemKind::RunValue, R::Unknown, S::Missing, false, true, "", true, true},
      {ItemKind::RunValue, R::Disable, S::Delayed, true, true, "", true, true},
      {ItemKind::RunValue, R::Disable, S::Enabled, true, true, "", false, false, true},
      {ItemKind::Shortcut, R::Disable, S::Enabled, true, true, "Ignore.ini", true, false},
      {ItemKind::RunValue, R::Disable, S::Enabled, true, true, "OptimizeRecord.ini", false, false},
      {ItemKind::RunValue, R::Disable, S::Enabled, true, true, "OptFailed.ini", false, false},
      {ItemKind::Service, R::Disable, S::Enabled, true, true, "", true, true},
      {ItemKind::Service, R::Keep, S::Enabled, true, true, "", false, false},
      {ItemKind::Service, R::Remove, S::Missing, false, true, "", true, true},
      {ItemKind::Service, R::Delay, S::Enabled, true, true, "", false, false},
      {ItemKind::Service, R::Disable, S::Enabled, true, true, "OptFailed.ini", false, false},
      {ItemKind::Service, R::Disable, S::Enabled, true, true, "", false, false, true},
      {ItemKind::ScheduledTask, R::Disable, S::Enabled, true, true, "", true, true},
      {ItemKind::ScheduledTask, R::Disable, S::Enabled, true, false, "", false, false},
      {ItemKind::ScheduledTask, R::Disable, S::Disabled, true, true, "", false, false},
      {ItemKind::ScheduledTask, R::Keep, S::Enabled, true, true, "", false, false},
      {ItemKind::ScheduledTask, R::Unknown, S::Enabled, true, true, "", true, false},
      {ItemKind::ScheduledTask, R::Remove, S::Disabled, false, false, "", true, true},
      {ItemKind::ScheduledTask, R::Unknown, S::Disabled, false, false, "", false, false},
      {ItemKind::ScheduledTask, R::Disable, S::Enabled, true, true, "OptFailed.ini", true, true},
      {ItemKind::ScheduledTask, R::Disable, S::Enabled, true, true, "OptimizeRecord.ini", false, false},
      {ItemKind::ScheduledTask, R::Disable, S::Enabled, true, true, "", false, false, true},
  };
  for (const QuickCase& c : kCases) {
    Machine m;
    const std::string hash = "0000ABCD";
    if (*c.record != '\0') m.Record(c.record, hash);
    StartupLists& lists = m.Controller().Lists();
    StartupRecordHead head;
    head.Name = "Item";
    head.ItemHash = hash;
    head.Recommand = c.recommendation;
    head.Exist = c.exists;
    head.Boottime = "3.5s";
    if (c.isProtected) {
      m.AddAntivirus();
      head.FullPath = "C:\\Shieldy\\tray.exe";
    }
    if (c.kind == ItemKind::Service) {
      TServiceItem item;
      static_cast<StartupRecordHead&>(item) = head;
      item.SerShowName = "Shown";
      item.ItemStatus = c.state;
      lists.services.push_back(item);
    } else if (c.kind == ItemKind::ScheduledTask) {
      TTaskScheduleItem item;
      static_cast<StartupRecordHead&>(item) = head;
      item.IsTaskEnable = c.state == S::Enabled;
      item.IsStartBoot = c.bootTrigger;
      lists.tasks.push_back(item);
    } else {
      TStartupItem item;
      static_cast<StartupRecordHead&>(item) = head;
      item.StartupType = c.kind;
      item.ItemStatus = c.state;
      lists.startup.push_back(item);
    }
    m.Controller().BuildProtectedSoftware();
    m.Controller().BuildQuickOptimizeList(true);

    const auto& list = m.Controller().QuickOptimizeList();
    const std::string row = "row " + std::to_string(&c - kCases);
    ASSERT_EQ(list.size(), c.listed ? 1u : 0u) << row;
    TSafeIniFile config(m.fake.files, std::string(kRecords) + "config.ini");
    EXPECT_EQ(config.ReadInteger("main", "CanOptCount", -1), c.counted ? 1 : 0) << row;
    if (!c.listed) continue;
    EXPECT_EQ(list[0].ItemType, c.kind) << row;
    EXPECT_EQ(list[0].BootSeconds, 3.5) << row;
    EXPECT_EQ(list[0].Name, c.kind == ItemKind::Service ? "Shown" : "Item") << row;
    EXPECT_EQ(list[0].Recommand, c.exists ? c.recommendation : R::Remove) << row;
    EXPECT_EQ(list[0].Ignored, std::string_view(c.record) == "Ignore.ini") << row;
  }
}

TEST(MainCtlGathering, RecordFilesBecomeUtf16AndUnreadableOnesStayAsTheyAre) {
  Machine m;
  const std::string ansi = std::string(kRecords) + "OptFailed.ini";
  const std::string odd = std::string(kRecords) + "delStartups.ini";
  m.fake.files.AddFile(ansi, "[Main]\r\n1=ItemHash:X|\r\n");
  m.fake.files.AddFile(odd, std::string("\xFF\xFE[\0M", 5));
  m.Controller();
  EXPECT_EQ(m.fake.files.Content(ansi).value_or("").substr(0, 4), std::string("\xFF\xFE[\0", 4));
  EXPECT_EQ(m.fake.files.Content(odd).value_or(""), std::string("\xFF\xFE[\0M", 5));
}

TEST(MainCtlGathering, AllDataWritesTheCacheAndRestoresTheRedirection) {
  Machine m;
  m.AddProgram("C:\\Tools\\a.exe", "Acme");
  m.AddService("Agent", 3, "C:\\Tools\\a.exe");
  m.Controller().GetAllData();
  EXPECT_FALSE(m.Controller().Busy());
  EXPECT_EQ(m.fake.wow64.redirectionCalls, (std::vector<std::string>{"disable", "revert"}));  // reverted once
  TSafeIniFile cache(m.fake.files, kCache);
  EXPECT_EQ(cache.ReadString(CacheSectionName(m.Controller().Lists().services[0]), "ItemType", ""), "Service");
  TSafeIniFile config(m.fake.files, std::string(kRecords) + "config.ini");
  EXPECT_EQ(config.ReadInteger("main", "CanOptCount", -1), 0);

  m.fake.files.SetWriteFails(kCache);
  EXPECT_THROW(m.Controller().GetAllData(), std::runtime_error);
  EXPECT_FALSE(m.Controller().Busy());
  EXPECT_FALSE(m.fake.wow64.redirectionDisabled);
}

TEST(MainCtlGathering, ACachedControllerReadsServicesAndTasksFromTheCache) {
  Machine m;
  m.fake.files.AddFile(kCache,
                       "[Svc_]\r\nItemType=Service\r\nName=Svc\r\nBoottime=4s\r\n[Job_]\r\nItemType=TaskSchedule\r\n"
                       "Name=Job\r\n");
  TSafeIniFile cache(m.fake.files, kCache);
  m.AddProgram("C:\\Tools\\a.exe", "Acme");
  m.AddService("Live", 2, "C:\\Tools\\a.exe");
  m.Controller().AttachCache(&cache);
  m.Controller().GetAllData();
  ASSERT_EQ(m.Controller().Lists().services.size(), 1u);
  EXPECT_EQ(m.Controller().Lists().services[0].Name, "Svc");
  EXPECT_EQ(m.Controller().GetItemBootTime(m.Controller().Lists().services[0]), "4s");
  ASSERT_EQ(m.Controller().Lists().tasks.size(), 1u);
  EXPECT_EQ(m.fake.files.Content(kCache).value_or("").find("Live"), std::string::npos);  // nothing written to the cache
}

}  // namespace
}  // namespace bootmark
