// The inventory controller over a fake machine: services, scheduled tasks, the
// hide test, the rate facts and the protected software.
#include <gtest/gtest.h>

#include "startup/item_hash.h"
#include "startup/startup_item_id.h"
#include "unit/main_ctl_test_support.h"

namespace bootmark {
namespace {

using namespace main_ctl_test;

TEST(MainCtlServices, StatesFollowStartTypeDelayRecordsAndFiles) {
  Machine m;
  for (const char* program : {"C:\\Tools\\a.exe", "C:\\Tools\\noext.exe"}) m.AddProgram(program, "Acme");
  m.AddService("Auto", 2, "C:\\Tools\\a.exe", "Starts early");
  m.AddService("Delayed", 3, "\"C:\\Tools\\a.exe\" -d");
  m.AddService("Demand", 3, "C:\\Tools\\a.exe");
  m.AddService("Off", 4, "C:\\Tools\\a.exe");
  m.AddService("Gone", 2, "C:\\Tools\\gone.exe");
  m.AddService("NoExt", 2, "C:\\Tools\\noext");
  m.fake.files.AddFile(std::string(kRecords) + "delayEx.ini",
                       "[Main]\r\n1=ItemHash:" + ServiceItemHash("Auto Service") + "|\r\n2=ItemHash:" +
                           ServiceItemHash("Delayed Service") + "|\r\ncount=2\r\n");
  m.Controller().SetFilter(false);
  m.Controller().GetServiceData(false);

  const struct {
    const char* name;
    ItemState state;
    bool inDelayRecords;
    Recommendation recommendation;
  } kCases[] = {
      {"Auto", ItemState::Enabled, false, Recommendation::Unknown},
      {"Delayed", ItemState::Delayed, true, Recommendation::Unknown},
      {"Demand", ItemState::Disabled, false, Recommendation::Unknown},
      {"Off", ItemState::Disabled, false, Recommendation::Unknown},
      {"Gone", ItemState::Missing, false, Recommendation::Remove},
      {"NoExt", ItemState::Enabled, false, Recommendation::Unknown},
  };
  ASSERT_EQ(m.Controller().Lists().services.size(), std::size(kCases));
  for (const auto& c : kCases) {
    const TServiceItem* item = m.Service(c.name);
    ASSERT_NE(item, nullptr) << c.name;
    EXPECT_EQ(item->ItemStatus, c.state) << c.name;
    EXPECT_EQ(item->isInDelayIni, c.inDelayRecords) << c.name;
    EXPECT_EQ(item->Recommand, c.recommendation) << c.name;
    EXPECT_EQ(item->ItemHash, ServiceItemHash(std::string(c.name) + " Service")) << c.name;
  }
  EXPECT_EQ(m.Service("NoExt")->FullPath, "C:\\Tools\\noext.exe");
  EXPECT_EQ(m.Service("Auto")->Description, "Starts early");
  EXPECT_EQ(m.Service("Demand")->Description, "Demand");  // no description text: the service name
  EXPECT_EQ(m.Service("Demand")->Manufacture, "Acme");
  EXPECT_EQ(m.Service("Gone")->Manufacture, "-");
  // The automatic service's stale delay record is gone; the other stays.
  TSafeIniFile delayed(m.fake.files, std::string(kRecords) + "delayEx.ini");
  EXPECT_EQ(delayed.ReadSection("Main"), (std::vector<std::string>{"2"}));
}

TEST(MainCtlServices, TheFilterLeavesOutUnnamedSystemServicesAndTwoByName) {
  for (const bool filter : {true, false}) {
    Machine m;
    m.AddProgram("C:\\Tools\\a.exe", "Acme");
    m.AddService("Spooler", 2, "C:\\Windows\\system32\\svchost.exe -k print");
    m.AddService("Themes", 2, "C:\\Windows\\system32\\svchost.exe -k themes");
    m.AddService("CmdAgent", 2, "C:\\Tools\\a.exe");
    m.AddService("Agent", 2, "C:\\Tools\\a.exe");
    m.fake.files.AddFile(m.programDir + "Database\\startupService.db",
                         "[win10]\r\nSpooler=1\r\n[Win8Services]\r\nSpooler=x|Printing\r\n");
    m.fake.services.entriesPerBatch = 2;  // the list comes in three calls
    m.Controller().SetFilter(filter);
    m.Controller().GetServiceData(true);

    std::vector<std::string> names;
    for (const TServiceItem& item : m.Controller().Lists().services) names.push_back(item.Name);
    const std::vector<std::string> expected =
        filter ? std::vector<std::string>{"Spooler", "Agent"}
               : std::vector<std::string>{"Spooler", "Themes", "CmdAgent", "Agent"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(m.fake.services.enumCalls, 2);
    EXPECT_EQ(m.Service("Spooler")->SerType, kSystemVendorService);
    EXPECT_EQ(m.Service("Spooler")->SerShowName, "Printing");
    EXPECT_EQ(m.Service("Spooler")->ItemHash, ServiceItemHash("Spooler Service"));
    EXPECT_EQ(m.Service("Agent")->SerType, kOtherVendorService);
  }
}

TEST(MainCtlServices, UnreadableServicesAreLeftOutAndFailuresEndTheList) {
  Machine m;
  m.AddProgram("C:\\Tools\\a.exe", "Acme");
  for (const char* name : {"Closed", "Huge", "Broken", "Fine"}) m.AddService(name, 2, "C:\\Tools\\a.exe");
  m.fake.services.installed[0].openFails = true;
  m.fake.services.installed[1].configBytes = 1048577;
  m.fake.services.installed[2].queryFails = true;
  m.Controller().GetServiceData(false);
  ASSERT_EQ(m.Controller().Lists().services.size(), 1u);
  EXPECT_EQ(m.Controller().Lists().services[0].Name, "Fine");

  m.fake.services.enumError = 5;
  m.Controller().GetServiceData(true);
  EXPECT_TRUE(m.Controller().Lists().services.empty());
  m.fake.services.managerRefused = true;
  m.Controller().GetServiceData(false);
  EXPECT_TRUE(m.Controller().Lists().services.empty());
}

TEST(MainCtlHideTest, KnownItemsAreHiddenOnlyWhileTheFilterIsOn) {
  Machine m;
  m.AddProgram("C:\\Tools\\agent.exe", "Acme");
  m.fake.signer.signers["C:\\Tools\\signed.exe"] = "Trusted Maker";
  m.Database(kStartupWhiteDb, "CREATE TABLE signatureList(signature TEXT); INSERT INTO signatureList VALUES('trusted maker');");
  m.ListKey("whiteList", "Agentagent.exeAcme2");
  const struct {
    const char* name;
    const char* fileName;
    const char* fullPath;
    const char* company;
    bool hidden;
  } kCases[] = {
      {"Agent", "agent.exe", "C:\\Tools\\agent.exe", "Acme", true},          // white-listed
      {"Agent", "agent.exe", "C:\\Tools\\agent.exe", "Other", false},
      {"Any", "signed.exe", "C:\\Tools\\signed.exe", "-", true},             // listed signer
      {"Helper", "helper.exe", "C:\\Kst\\helper.exe", "tarvo", true},         // the suite's own
      {"Tarvo_AutoShutdown_1", "x.exe", "C:\\x.exe", "-", true},
      {"Tray", "KSTTray.exe", "C:\\Kst\\ksttray.exe", "Tarvo", false},         // the suite's monitors stay
      {"Svc", "kstservice.exe", "C:\\Kst\\kstservice.exe", "Tarvo", false},
      {"Mon", "monitor.exe", "C:\\Kst\\monitor.exe", "Tarvo", false},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(m.Controller().IsHiddenItem(c.name, c.fileName, ItemKind::Service, c.fullPath, c.company), c.hidden)
        << c.name << " " << c.company;
  }
  m.Controller().SetFilter(false);
  EXPECT_FALSE(m.Controller().IsHiddenItem("Agent", "agent.exe", ItemKind::Service, "C:\\Tools\\agent.exe", "Acme"));

  Machine ignoring;
  ignoring.fake.files.AddFile(ignoring.programDir + "Update\\Update.ini", "[Startup]\r\nIgnoreWlist=1\r\n");
  ignoring.ListKey("whiteList", "Agentagent.exeAcme2");
  EXPECT_TRUE(ignoring.Controller().IgnoreWlist());
  EXPECT_FALSE(ignoring.Controller().IsHiddenItem("Helper", "helper.exe", ItemKind::Service, "C:\\h.exe", "Tarvo"));
  EXPECT_NE(ignoring.Controller().GetItemRateFacts("Agent", "agent.exe", "Acme", ItemKind::Service).recommendation,
            Recommendation::Keep);
}

TEST(MainCtlRateFacts, RatesComeFromTheRateFileThenTheDatabaseAndListsDecide) {
  Machine m;
  const std::string md5 = m.Controller().GetItemRateFacts("Agent", "agent.exe", "Acme", ItemKind::Service).md5;
  const std::string other = m.Controller().GetItemRateFacts("Other", "o.exe", "Acme", ItemKind::Service).md5;
  m.controller.reset();
  m.fake.files.AddFile("C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\disableRate.db",
                       "[" + md5 + "]\r\ndrate=45%\r\nrecommendation=2\r\n[" + other + "]\r\ndrate=N/A\r\n");
  m.Database(kStartupDRateDb, "CREATE TABLE disableRate(MD5 TEXT, drate TEXT, recommendation TEXT);"
                              "INSERT INTO disableRate VALUES('" + other + "', '70%', '1');");
  m.ListKey("blackList", "Blockedb.exeAcme2");
  const struct {
    const char* name;
    const char* fileName;
    const char* company;
    const char* rate;
    Recommendation recommendation;
  } kCases[] = {
      {"Agent", "agent.exe", "Acme", "45%", Recommendation::Delay},
      {"Other", "o.exe", "Acme", "70%", Recommendation::Candidate},
      {"Blocked", "b.exe", "Acme", "N/A", Recommendation::Disable},
      {"Agent", "agent.exe", "", "N/A", Recommendation::Unknown},  // no publisher: no key
      {"Agent", "", "Acme", "N/A", Recommendation::Unknown},       // no program: no key
  };
  for (const auto& c : kCases) {
    const ItemRateFacts facts = m.Controller().GetItemRateFacts(c.name, c.fileName, c.company, ItemKind::Service);
    EXPECT_EQ(facts.rate, c.rate) << c.name;
    EXPECT_EQ(facts.recommendation, c.recommendation) << c.name;
    EXPECT_EQ(facts.md5.empty(), !*c.fileName || !*c.company) << c.name;
  }
}

TEST(MainCtlProtectedSoftware, InstallFoldersAndSignersOfAntivirusProducts) {
  Machine m;
  m.AddAntivirus();
  m.fake.signer.signers["C:\\Shieldy\\guard.exe"] = " Shieldy Labs ";
  m.fake.signer.signers["C:\\Other\\plugin.exe"] = "SHIELDY LABS, INC";
  EXPECT_FALSE(m.Controller().IsProtectedSoftware("C:\\Shieldy\\guard.exe"));  // no list yet
  m.Controller().BuildProtectedSoftware();
  EXPECT_EQ(*m.Controller().ProtectedSoftware(),
            (std::vector<std::string>{"C:\\SHIELDY\\", "shieldy labs", "shieldy labs, inc"}));
  const std::pair<const char*, bool> kCases[] = {
      {"c:\\shieldy\\tray.exe", true}, {"C:\\Other\\plugin.exe", true}, {"C:\\Other\\tool.exe", false}};
  for (const auto& [path, isProtected] : kCases) EXPECT_EQ(m.Controller().IsProtectedSoftware(path), isProtected) << path;
}

TEST(MainCtlTasks, TasksWithAProgramOutsideTheSystemFolderAreListed) {
  Machine m;
  m.AddProgram("C:\\Tools\\a.exe", "Acme");
  m.fake.files.AddFile("C:\\Work\\rel.exe", "MZ");
  const auto add = [&m](const std::string& path, const std::string& triggers, const std::string& actions) {
    testing::TaskXml task;
    task.triggers = triggers;
    task.actions = actions;
    testing::AddTask(m.fake.files, path, task);
  };
  add("\\Boot", "<BootTrigger/>", "<Exec><Command> C:\\Tools\\a.exe </Command></Exec>");
  add("\\Daily", "<CalendarTrigger><ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay></CalendarTrigger>",
      "<Exec><Command>C:\\Tools\\a.exe</Command></Exec>");
  add("\\Relative", "<LogonTrigger/>",
      "<Exec><Command>rel.exe</Command><WorkingDirectory>C:\\Work</WorkingDirectory></Exec>");
  add("\\Mail", "<LogonTrigger/>", "<SendEmail><Server>x</Server></SendEmail>");
  testing::TaskXml owned;  // a name holding its account: the key replaces it
  owned.principal = "<UserId>S-1-5-21-77</UserId>";
  owned.author = "Ann";
  owned.actions = "<Exec><Command>C:\\Tools\\a.exe</Command></Exec>";
  testing::AddTask(m.fake.files, "\\Vendor\\Sync S-1-5-21-77 Ann", owned);
  add("\\Microsoft\\Windows\\Defrag", "<BootTrigger/>", "<Exec><Command>C:\\Tools\\a.exe</Command></Exec>");
  m.fake.files.AddFile("C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\boottime.dat",
                       "[main]\r\nboottime=40000\r\ncount=1\r\n0=x|C:\\Tools\\a.exe|2000\r\n");
  m.Controller().GetTaskscheduleData(false);

  const std::vector<TTaskScheduleItem>& tasks = m.Controller().Lists().tasks;
  ASSERT_EQ(tasks.size(), 4u);
  // The key of a task found by its name, as a search of the scheduler finds it.
  const ItemKeys searched(m.identity, TaskAccountFinder(m.tasks));
  EXPECT_EQ(tasks[3].Md5, ItemMd5Key(searched, tasks[3].Name, "a.exe", "Acme", 3));
  EXPECT_NE(tasks[3].Md5, ItemMd5Key(ItemKeys(m.identity, {}), tasks[3].Name, "a.exe", "Acme", 3));
  EXPECT_EQ(tasks[0].CmdLine, "C:\\Tools\\a.exe");  // trimmed
  EXPECT_TRUE(tasks[0].IsStartBoot);
  EXPECT_EQ(tasks[0].TaskType, 3);
  EXPECT_EQ(tasks[0].Boottime, "2s");
  EXPECT_EQ(tasks[0].Location, "\\Boot");
  EXPECT_FALSE(tasks[1].IsStartBoot);
  EXPECT_EQ(tasks[1].TaskType, 0);
  EXPECT_TRUE(tasks[2].Exist);  // found in its working folder
  EXPECT_EQ(tasks[2].Boottime, "1s");  // a boot history exists, without this file
}

}  // namespace
}  // namespace bootmark
