// The Schedule service before every listing, and the Task Scheduler 1.0 reader
// (a fake of the mstask port: Wine's scheduler offers no 1.0 work items to test).
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "startup/task_reader.h"
#include "startup/task_schedule_service.h"

namespace bootmark {
namespace {

TEST(ScheduleServiceTest, AStoppedSchedulerIsSetToAutomaticAndStarted) {
  const std::vector<std::string> kStart = {"LockDatabase", "SetStartType Schedule 2", "StartService Schedule"};
  const struct {
    const char* name;
    std::uint32_t state;
    bool lockedByOther, startFails;
    std::uint32_t startError;
    bool runs;
    std::vector<std::string> calls;
  } cases[] = {
      {"running", service_state::kRunning, false, false, 0, true, {}},
      {"stopped", service_state::kStopped, false, false, 0, true, kStart},
      {"locked by another", service_state::kStopped, true, false, 0, true,
       {"LockDatabase", "QueryLockStatus", "SetStartType Schedule 2", "StartService Schedule"}},
      {"start refused", service_state::kStopped, false, true, 1058, false, kStart},
      {"refused without error", service_state::kStopped, false, true, 0, true, kStart},
  };
  for (const auto& c : cases) {
    FakeServices services;
    services.states["Schedule"] = c.state;
    services.databaseLockedByOther = c.lockedByOther;
    services.startFails = c.startFails;
    services.startError = c.startError;
    EXPECT_EQ(EnsureTaskSchedulerRuns(services), c.runs) << c.name;
    EXPECT_EQ(services.calls, c.calls) << c.name;
    EXPECT_FALSE(services.lockHeld) << c.name;
  }
}

class TaskScheduler1Test : public ::testing::Test {
 protected:
  TaskScheduler1Test() {
    fake.system.versionEx = VersionExInfo{5, 1, 2600, kPlatformWin32Nt, kProductWorkstation};
    FakeWorkItem logon;
    logon.flags = 0x200;  // hidden
    logon.application = "C:\\Tools\\sync.exe";
    logon.parameters = "/start";
    logon.triggers = {WorkItemTrigger{1, 0, 0, 0, 2024, 3, 1, 9, 30}, WorkItemTrigger{7, 0, 0, 0x2, 2024, 3, 2, 8, 15}};
    FakeWorkItem disabledDaily;
    disabledDaily.flags = 0x4;
    disabledDaily.triggers = {WorkItemTrigger{1}};
    FakeWorkItem logonFirst;
    logonFirst.triggers = {WorkItemTrigger{7}, WorkItemTrigger{1}};
    fake.tasks.legacy.items = {{"Sync.job", logon}, {"Backup.job", disabledDaily}, {"Gone.job", {}},
                               {"Logon.job", logonFirst}};
    fake.tasks.legacy.notActivatable = {"Gone.job"};
  }
  testing::FakePlatform fake;
};

TEST_F(TaskScheduler1Test, WorkItemsKeepThe10NumberingAndLookUpsMapIt) {
  TaskReader reader(fake.platform, nullptr);
  ASSERT_FALSE(reader.Interface2());
  const auto tasks = reader.GetAllTasks(nullptr, "\\Ignored", false, false);
  ASSERT_TRUE(tasks);
  ASSERT_EQ(tasks->size(), 3u);  // an item that cannot be activated is left out
  const TTaskInfo& sync = *(*tasks)[0];
  EXPECT_EQ(sync.Name + "|" + sync.Path, "Sync.job|Sync.job");
  EXPECT_EQ(sync.Action.ExecPath + " " + sync.Action.ExecArguments, "C:\\Tools\\sync.exe /start");
  // A daily trigger first and a logon trigger second: the current entry is the
  // first trigger, so on this interface the task is no startup task.
  EXPECT_EQ((std::vector<int>{sync.Enabled, sync.Hidden, sync.Trigger.TriggerType, sync.Trigger.StopAtDurationEnd,
                              sync.TriggerCount(), reader.IsStartupTaskInfo(sync), reader.TaskScheduleKind(sync)}),
            (std::vector<int>{true, true, 1, false, 2, false, 0}));
  EXPECT_FALSE((*tasks)[1]->Enabled);
  EXPECT_EQ(reader.TaskScheduleKind(*(*tasks)[1]), 0);
  EXPECT_TRUE(reader.IsStartupTaskInfo(*(*tasks)[2]));  // a logon trigger first
  EXPECT_EQ(reader.TaskScheduleKind(*(*tasks)[2]), 4);

  // Look-ups map the trigger type and split the start time.
  const auto found = reader.FindTask("sync", "", false);  // ".job" is added
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Trigger.TriggerType, 2);  // the first trigger, daily
  EXPECT_EQ(found->StartHour * 100 + found->StartMinute, 930);
  EXPECT_FALSE(reader.IsSystemStartTask("Sync", "\\"));
  EXPECT_TRUE(reader.IsSystemStartTask("Logon", "\\"));
  EXPECT_FALSE(reader.IsSystemStartTask("Backup.JOB", "\\"));
  EXPECT_FALSE(reader.FindTask("Gone", "", false));
}

}  // namespace
}  // namespace bootmark
