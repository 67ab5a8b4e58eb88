// The Task Scheduler 2.0 reader over real task files of the scheduler's store:
// the folder walk and its filters, the order triggers and actions are read in,
// look-ups, startup tasks and schedule kinds, and failed steps.
#include "startup/task_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_platform.h"
#include "fakes/task_xml_files.h"
#include "startup/task_service_reader.h"
#include "startup/task_xml_store.h"

namespace bootmark {
namespace {

using testing::AddTask;
using testing::kBootTrigger30s;
using testing::kDailyTrigger;
using testing::kLogonTrigger;
using testing::TaskXml;

class TaskReaderTest : public ::testing::Test {
 protected:
  std::vector<std::string> Names(const std::optional<TaskList>& list) {
    std::vector<std::string> names;
    if (list) {
      for (const auto& info : *list) names.push_back(info->Path);
    }
    return names;
  }

  std::unique_ptr<TTaskInfo> ReadOne(const TaskXml& task) {
    AddTask(fake.files, "\\One", task);
    TaskReader reader(fake.platform, &logs);
    return reader.FindTask("one", "\\", false);
  }

  std::string ExceptionLog() { return fake.files.Text("C:\\Program Files\\Tarvo\\Kestrune\\TaskException.log"); }

  testing::FakePlatform fake;
  Logs logs{fake.files, fake.clock, fake.environment};
};

TEST_F(TaskReaderTest, TriggersAreReadLastFirstIntoOneEntry) {
  TaskXml dailyThenLogon;
  dailyThenLogon.triggers = std::string(kDailyTrigger) + std::string(kLogonTrigger);
  TaskXml boot;
  boot.triggers = kBootTrigger30s;
  // An event trigger reads no boundaries: it keeps those of the time trigger read
  // before it. A logon trigger reads empty ones, which change nothing.
  TaskXml eventThenTime;
  eventThenTime.triggers =
      "<EventTrigger><StartBoundary>2030-01-01T00:00:00</StartBoundary><Subscription>x</Subscription></EventTrigger>"
      "<TimeTrigger><StartBoundary>2023-05-06T07:08:09</StartBoundary>"
      "<ExecutionTimeLimit>PT2H</ExecutionTimeLimit></TimeTrigger><LogonTrigger/>";

  struct Case {
    const char* name;
    TaskXml task;
    std::vector<std::int32_t> types;
    std::uint16_t kind;
    bool startup;
  };
  const Case cases[] = {
      {"daily then logon", dailyThenLogon, {9, 2}, 0, true}, {"boot with delay", boot, {8}, 3, true},
      {"event, time, logon", eventThenTime, {9, 1, 0}, 254, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto info = ReadOne(c.task);
    ASSERT_TRUE(info);
    std::vector<std::int32_t> types;
    for (const auto& trigger : info->Triggers) types.push_back(trigger.TriggerType);
    EXPECT_EQ(types, c.types);
    TaskReader reader(fake.platform, &logs);
    EXPECT_EQ(reader.TaskScheduleKind(*info), c.kind);
    EXPECT_EQ(reader.IsStartupTaskInfo(*info), c.startup);
  }

  auto daily = ReadOne(dailyThenLogon);
  EXPECT_EQ(daily->DaysInterval, 2);
  EXPECT_EQ(daily->Trigger.StartBoundaryText, "2024-03-01T09:30:15");
  EXPECT_EQ(DecodeDateTime(daily->StartTime), (CalendarTime{2024, 3, 1, 9, 30, 15, 0}));
  EXPECT_EQ(daily->StartHour * 10000 + daily->StartMinute * 100 + daily->StartSecond, 93015);
  EXPECT_EQ(daily->Triggers[0].StartBoundary, 0);  // the logon trigger, read first
  EXPECT_FALSE(daily->Trigger.StopAtDurationEnd);   // a trigger that leaves it out

  EXPECT_EQ(ReadOne(boot)->Trigger.Delay, 30);

  auto chained = ReadOne(eventThenTime);
  EXPECT_EQ(chained->Triggers[1].StartBoundaryText, "2023-05-06T07:08:09");
  EXPECT_EQ(chained->Triggers[1].ExecutionTimeLimit, 120);
  EXPECT_EQ(chained->Trigger.StartBoundaryText, "2023-05-06T07:08:09");
  EXPECT_EQ(chained->Triggers[0].StartBoundaryText, "");
}

TEST_F(TaskReaderTest, TheFirstActionIsTheTasksCommand) {
  TaskXml mailThenExec;
  mailThenExec.actions =
      "<SendEmail><Server>mail</Server></SendEmail>"
      "<Exec><Command>C:\\Tools\\run.exe</Command><Arguments>/quiet</Arguments>"
      "<WorkingDirectory>C:\\Tools</WorkingDirectory></Exec>";
  auto mail = ReadOne(mailThenExec);
  EXPECT_EQ(mail->Action.ActionType, 6);
  EXPECT_EQ(mail->Action.ExecPath, "");
  ASSERT_EQ(mail->Actions.size(), 2u);
  const TTaskActionEntry& exec = mail->Actions[0];
  EXPECT_EQ(exec.ExecPath + " " + exec.ExecArguments + " in " + exec.ExecWorkingDirectory,
            "C:\\Tools\\run.exe /quiet in C:\\Tools");
}

// The settings, principal and registration fields of a task, with the scheduler's defaults where left out.
TEST_F(TaskReaderTest, SettingsAndPrincipal) {
  TaskXml task;
  task.settings =
      "<Enabled>false</Enabled><Priority>4</Priority><Hidden>true</Hidden>"
      "<ExecutionTimeLimit>PT72H</ExecutionTimeLimit><MultipleInstancesPolicy>Parallel</MultipleInstancesPolicy>"
      "<IdleSettings><Duration>PT5M</Duration><WaitTimeout>PT1H</WaitTimeout></IdleSettings>"
      "<RestartOnFailure><Interval>PT1M</Interval><Count>3</Count></RestartOnFailure>";
  task.principal = "<UserId>Ann</UserId><LogonType>InteractiveToken</LogonType>";
  auto info = ReadOne(task);
  // Demand start and the run level are the scheduler's defaults.
  EXPECT_EQ((std::vector<std::int64_t>{info->Enabled, info->Priority, info->Hidden, info->ExecutionTimeLimit,
                                       info->MultipleInstances, info->IdleDuration, info->IdleWaitTimeout,
                                       info->RestartInterval, info->RestartCount, info->AllowDemandStart,
                                       info->RunLevel, info->LogonType, info->Compatibility}),
            (std::vector<std::int64_t>{false, 4, true, 4320, 0, 5, 60, 1, 3, true, 0, 3, 2}));
  EXPECT_EQ(info->UserId + "|" + info->Author + "|" + info->Description, "Ann|Kestrune|Test task");
}

class TaskWalkTest : public TaskReaderTest {
 protected:
  TaskWalkTest() {
    TaskXml logon;
    logon.triggers = kLogonTrigger;
    TaskXml none;
    AddTask(fake.files, "\\Root Task", logon);
    AddTask(fake.files, "\\A\\No Trigger", none);
    AddTask(fake.files, "\\B\\C\\Deep", logon);
    AddTask(fake.files, "\\Microsoft\\Windows\\Defrag\\ScheduledDefrag", logon);
    AddTask(fake.files, "\\Microsoft\\Boot Helper", logon);
    fake.files.AddDirectory(std::string(testing::kTaskStore) + "\\Empty");
  }
};

TEST_F(TaskWalkTest, FoldersAreWalkedAfterTheirOwnTasksAndFiltered) {
  TTaskFilter microsoft;
  microsoft.AddFolder("\\Microsoft");
  TTaskFilter withTriggersOnly;
  withTriggersOnly.WithoutTriggers = false;
  TTaskFilter withoutTriggersOnly;
  withoutTriggersOnly.WithTriggers = false;
  TTaskFilter neither;
  neither.WithTriggers = neither.WithoutTriggers = false;
  TTaskFilter substring;
  substring.AddFolder("\\a\r\n\\micro");
  substring.ExactFolderMatch = false;

  const std::vector<std::string> all = {"\\Root Task", "\\A\\No Trigger", "\\B\\C\\Deep",
                                        "\\Microsoft\\Boot Helper",
                                        "\\Microsoft\\Windows\\Defrag\\ScheduledDefrag"};
  struct Case {
    const char* name;
    const TTaskFilter* filter;
    std::string_view path;
    bool recursive;
    bool noTriggerFilter;
    std::vector<std::string> paths;
  };
  const Case cases[] = {
      {"everything", nullptr, "\\", true, false, all}, {"root only", nullptr, "", false, false, {"\\Root Task"}},
      {"missing folder", nullptr, "\\Nowhere", true, false, {}},
      {"microsoft skipped", &microsoft, "\\", true, false, {"\\Root Task", "\\A\\No Trigger", "\\B\\C\\Deep"}},
      {"with triggers", &withTriggersOnly, "\\", true, false,
       {"\\Root Task", "\\B\\C\\Deep", "\\Microsoft\\Boot Helper", "\\Microsoft\\Windows\\Defrag\\ScheduledDefrag"}},
      {"without triggers", &withoutTriggersOnly, "\\", true, false, {"\\A\\No Trigger"}},
      {"trigger filter off", &withoutTriggersOnly, "\\", true, true, all},
      {"both flags off", &neither, "\\", true, false, all},
      // A substring of the list's text: "\" is one, so the root is skipped; the
      // comparison is case-sensitive, so "\B" and "\Microsoft" are not.
      {"substring at the root", &substring, "\\", true, false, {}},
      {"substring below", &substring, "\\B", true, false, {"\\B\\C\\Deep"}},
      {"substring, other case", &substring, "\\Microsoft", false, false, {"\\Microsoft\\Boot Helper"}},
  };
  TaskReader reader(fake.platform, &logs);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Names(reader.GetAllTasks(c.filter, c.path, c.recursive, c.noTriggerFilter)), c.paths);
  }

  substring.Folders = {"\\micro"};
  EXPECT_TRUE(substring.IsFolderExcluded("\\micro"));
  EXPECT_FALSE(substring.IsFolderExcluded("\\Micro"));
  EXPECT_TRUE(microsoft.IsFolderExcluded("\\MICROSOFT"));
  // Only A to Z are lowered: the letters at both ends and the signs just outside them.
  TTaskFilter edges;
  edges.ExactFolderMatch = false;
  edges.AddFolder("\\@AZ[`az{");
  EXPECT_TRUE(edges.IsFolderExcluded("\\@az[`az{"));
}

TEST_F(TaskWalkTest, StartupTasksAndLookUps) {
  TaskReader reader(fake.platform, &logs);
  EXPECT_EQ(Names(reader.GetStartupTasks(nullptr, "\\", true, false)),
            (std::vector<std::string>{"\\Root Task", "\\B\\C\\Deep", "\\Microsoft\\Boot Helper",
                                      "\\Microsoft\\Windows\\Defrag\\ScheduledDefrag"}));

  struct Case {
    std::string_view name, folder;
    bool systemStart;
  };
  const Case cases[] = {
      {"root task", "", true},       {"DEEP", "", true},
      {"Boot Helper", "", false},    // below "\Microsoft": never found without a folder
      {"Boot Helper", "\\Microsoft", true}, {"No Trigger", "", false},     {"No Trigger", "\\A", false},
      {"Deep", "\\B", false},        // a folder look-up does not recurse
      {"Missing", "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(reader.IsSystemStartTask(c.name, c.folder), c.systemStart) << c.name << " in " << c.folder;
  }

  auto deep = reader.FindTask("deep", "\\B", true);
  ASSERT_TRUE(deep);
  EXPECT_EQ(deep->Name, "Deep");
  EXPECT_EQ(deep->Path, "\\B\\C");  // a look-up gives the folder's path
  EXPECT_FALSE(reader.FindTask("deep", "\\B", false));
}

TEST_F(TaskWalkTest, CollectionsTheServiceLacksAreReadFromTheStore) {
  // While the service's collections answer, the store is not read: an empty one changes nothing.
  TaskXmlStore empty(fake.files, "C:\\Nowhere");
  EXPECT_EQ(TTaskSchedulerInterfaces2(fake.tasks, empty, &logs).GetAllTaskInfo(nullptr, "\\", true, false).size(), 5u);
  fake.tasks.collectionsNotImplemented = true;
  TaskReader reader(fake.platform, &logs);
  EXPECT_EQ(Names(reader.GetAllTasks(nullptr, "\\", true, false)).size(), 5u);
  EXPECT_TRUE(reader.FindTask("Deep", "\\", true));
  EXPECT_EQ(ExceptionLog(), "<missing>");
}

TEST_F(TaskWalkTest, NoSchedulerMeansNoListing) {
  fake.services.states["Schedule"] = service_state::kStopped;
  fake.services.startFails = true;
  TaskReader reader(fake.platform, &logs);
  EXPECT_FALSE(reader.GetAllTasks(nullptr, "\\", true, false));
  EXPECT_FALSE(reader.FindTask("Deep", "\\", true));
  EXPECT_FALSE(reader.IsSystemStartTask("Root Task", ""));

  fake.services.states["Schedule"] = service_state::kRunning;
  fake.tasks.serviceUnavailable = true;
  EXPECT_EQ(Names(reader.GetAllTasks(nullptr, "\\", true, false)), std::vector<std::string>{});
}

TEST_F(TaskReaderTest, AnUnreadableTaskIsListedWithWhatWasRead) {
  TaskXml good;
  good.triggers = kLogonTrigger;
  AddTask(fake.files, "\\Good", good);
  fake.files.AddFile(std::string(testing::kTaskStore) + "\\Broken", "\xFF\xFE<\0T\0", 6);
  fake.files.AddFile(std::string(testing::kTaskStore) + "\\NotATask", "<Other/>");

  TaskReader reader(fake.platform, &logs);
  const auto list = reader.GetAllTasks(nullptr, "\\", true, false);
  ASSERT_EQ(Names(list), (std::vector<std::string>{"\\Broken", "\\Good", "\\NotATask"}));
  EXPECT_EQ((*list)[0]->Name, "Broken");
  EXPECT_FALSE((*list)[0]->Enabled || !(*list)[0]->Triggers.empty());
  EXPECT_TRUE((*list)[1]->Enabled);
  const std::string log = ExceptionLog();
  EXPECT_NE(log.find("GetTaskInfo3.exception : The task XML is malformed"), std::string::npos) << log;
}

TEST_F(TaskReaderTest, InterfaceChoiceFollowsTheReportedVersion) {
  // Major, minor and platform id, and whether the 2.0 interface is used.
  const std::pair<VersionExInfo, bool> cases[] = {{{5, 2, 0, 2, 1}, false}, {{6, 0, 0, 2, 1}, true},
                                                  {{6, 4, 0, 2, 1}, true},  {{6, 5, 0, 2, 1}, false},
                                                  {{10, 0, 0, 2, 1}, true}, {{10, 0, 0, 1, 1}, false}};
  for (const auto& [version, v2] : cases) {
    EXPECT_EQ(UsesTaskScheduler2(version), v2) << version.major << "." << version.minor << " " << version.platformId;
  }
}

}  // namespace
}  // namespace bootmark
