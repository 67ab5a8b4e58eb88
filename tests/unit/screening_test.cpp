// The screening chain of a new startup item on a fake machine: each filter in its
// order with its debug line and verdict, the state it changes, and its failures.
#include "alert/screening.h"

#include <gtest/gtest.h>

#include <functional>

#include "alert/tarvo_operation.h"
#include "common/av_signers.h"
#include "common/lookup_databases.h"
#include "common/safe_ini_file.h"
#include "new_item_test_support.h"
#include "startup/item_md5.h"
#include "startup/task_status.h"
#include "unit/suite_machine.h"

namespace bootmark {
namespace {

using testing::AddAutoRunArguments;
using testing::TaskXml;

constexpr const char* kAgent = "C:\\Tools\\agent.exe";
constexpr const char* kStatusFile = "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\Bootmark.ini";
constexpr const char* kAutoRunConfig = "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\AutoRunConfig.ini";
constexpr const char* kIgnoreFile = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Startup Manager\\Ignore.ini";
constexpr const char* kAvFolder = "C:\\Program Files\\Shieldy\\";

// The suite's machine with one plain program, C:\Tools\agent.exe.
struct Machine : testing::SuiteMachine {
  Machine() { fake.files.AddFile(kAgent, "MZ"); }

  void ListSigner(const std::string& signer) {
    Database(kStartupSignatureDb, "CREATE TABLE signatureList(signature TEXT); INSERT INTO signatureList VALUES('" +
                                      signer + "');");
  }
  void ListMd5(const std::string& md5) {
    Database(kStartupWhiteDb, "CREATE TABLE whiteList(MD5 TEXT); INSERT INTO whiteList VALUES('" + md5 + "');");
  }
  void AddTask(const std::string& name, const std::string& triggers, bool enabled = true,
               const std::string& command = kAgent) {
    TaskXml task;
    task.triggers = triggers;
    task.settings = enabled ? "<Enabled>true</Enabled>" : "<Enabled>false</Enabled>";
    task.actions = "<Exec><Command>" + command + "</Command></Exec>";
    testing::AddTask(fake.files, "\\" + name, task);
  }
  std::optional<bool> StoredTaskStatus(const std::string& name) {
    if (!fake.files.FileExists(kStatusFile)) return std::nullopt;
    TSafeIniFile ini(fake.files, kStatusFile);
    if (!ini.ValueExists("TaskStatus", name)) return std::nullopt;
    return ini.ReadBool("TaskStatus", name, false);
  }
  // An antivirus product whose uninstall entry names its folder, with one signed program.
  void InstallAntivirus(const std::string& signer) {
    fake.files.AddFile(programDir + "DetectionEx.ini", "[P_Shieldy]\r\nDisplayName='shieldy'\r\n");
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Shieldy";
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "DisplayName", "Shieldy Antivirus");
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "Publisher", "Shieldy Labs");
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "InstallLocation", kAvFolder);
    fake.files.AddFile(std::string(kAvFolder) + "guard.exe", "MZ");
    fake.signer.signers[std::string(kAvFolder) + "guard.exe"] = signer;
  }

  bool Screen(const ProgramArguments& arguments) {
    fake.debug.lines.clear();
    TaskReader tasks(fake.platform, nullptr);
    TCheckPath checkPath(fake.platform);
    return ScreenNewStartupItem({fake.platform, tasks, checkPath, false}, arguments);
  }
  std::string LastLine() const { return fake.debug.lines.empty() ? "" : fake.debug.lines.back(); }

};

ProgramArguments RegistryItem(const std::string& name, const std::string& command) {
  return AddAutoRunArguments(1, {"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\" + name, command,
                                 "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"});
}

ProgramArguments TaskItem(const std::string& name) {
  return AddAutoRunArguments(3, {"C:\\Windows\\System32\\Tasks\\" + name});
}

// One case per filter: the set-up that makes it decide, the item, the verdict
// (true = no alert) and the debug lines written.
struct ChainCase {
  const char* name;
  std::function<void(Machine&)> setUp;
  ProgramArguments item;
  bool noAlert;
  std::vector<std::string> lines;
};

TEST(ScreeningChain, EachFilterWritesItsLineAndEndsTheChain) {
  const std::string logon(testing::kLogonTrigger);
  const auto none = [](Machine&) {};
  const std::string agentTask = "TaskPath : C:\\Windows\\System32\\Tasks\\Agent";
  const std::string agentExe = "NewItemExePath : C:\\Tools\\agent.exe";
  const ChainCase cases[] = {
      {"Microsoft task", none, TaskItem("Microsoft\\Windows\\Defrag\\ScheduledDefrag"), true,
       {"TaskPath : C:\\Windows\\System32\\Tasks\\Microsoft\\Windows\\Defrag\\ScheduledDefrag", "00. Task Microsoft"}},
      {"task without triggers", [](Machine& t) { t.AddTask("Bare", ""); }, TaskItem("Bare"), true,
       {"TaskPath : C:\\Windows\\System32\\Tasks\\Bare", "0 TaskTriger disable"}},
      {"task on a schedule", [](Machine& t) { t.AddTask("Daily", std::string(testing::kDailyTrigger)); },
       TaskItem("Daily"), true,
       {"TaskPath : C:\\Windows\\System32\\Tasks\\Daily", "0-1 Task is not system start type"}},
      {"the suite's shutdown task", [logon](Machine& t) { t.AddTask("Tarvo_AutoShutdown_Ann", logon); },
       TaskItem("Tarvo_AutoShutdown_Ann"), true,
       {"TaskPath : C:\\Windows\\System32\\Tasks\\Tarvo_AutoShutdown_Ann",
        "1.startupSignature.db : Tarvo_AutoShutdown_Ann"}},
      {"missing program", none, RegistryItem("Gone", "C:\\Missing\\gone.exe -s"), true,
       {"NewItemExePath : C:\\Missing\\gone.exe -s", "1.startupSignature.db: NewItemExePath is Null"}},
      // Listed signers are lower-cased and trimmed.
      {"listed signer",
       [](Machine& t) {
         t.fake.signer.signers[kAgent] = " Agent Makers Ltd ";
         t.ListSigner("agent makers ltd");
       },
       RegistryItem("Agent", kAgent), true, {agentExe, "1.startupSignature.db : Agent"}},
      {"white-listed item",
       [](Machine& t) {
         t.SetCompany(kAgent, "Agent Makers");
         AnsiEncoder ansi(t.fake.files);
         t.ListMd5(UpperCaseOrdinal(GetItemMD5(ansi, "Agent", "agent.exe", "Agent Makers", 1)));
       },
       RegistryItem("Agent", "\"C:\\Tools\\agent.exe\" /tray"), true,
       {"NewItemExePath : \"C:\\Tools\\agent.exe\" /tray", "2.startupWhite.db : Agent"}},
      {"white-listed shortcut, hashed as kind 1",
       [](Machine& t) {
         t.fake.shell.links["C:\\Startup\\Agent.lnk"] = {kAgent, "-q"};
         AnsiEncoder ansi(t.fake.files);
         t.ListMd5(UpperCaseOrdinal(GetItemMD5(ansi, "Agent.lnk", "agent.exe", "-", 1)));
       },
       AddAutoRunArguments(4, {"C:\\Startup\\Agent.lnk"}), true, {agentExe, "2.startupWhite.db : Agent.lnk"}},
      {"svchost", none, AddAutoRunArguments(2, {"NetSvc", "SVCHOST.EXE -k netsvcs", "Net"}), true,
       {"NewItemExePath : SVCHOST.EXE -k netsvcs", "2.1 svchost.exe Filter : NetSvc"}},
      {"Microsoft inside a longer company text",
       [](Machine& t) { t.SetCompany(kAgent, "  microsoft corporation (Redmond) "); }, RegistryItem("Agent", kAgent),
       true, {agentExe, "2.2 Microsoft Corporation Filter : Agent"}},
      {"antivirus program",
       [](Machine& t) {
         t.InstallAntivirus("Shieldy Labs");
         t.fake.signer.signers[kAgent] = "SHIELDY LABS, INC";
       },
       RegistryItem("Agent", kAgent), true, {agentExe, "3.AVSoftwareFilter : Agent"}},
      {"antivirus list that cannot be read",
       [](Machine& t) {
         t.fake.signer.signers[kAgent] = "Agent Makers";
         t.fake.files.AddFile(t.programDir + "DetectionEx.ini", "[P_X]");
         t.fake.files.SetUnreadable(t.programDir + "DetectionEx.ini");
       },
       RegistryItem("Agent", kAgent), true, {agentExe, "3.AVSoftwareFilter : raise a bug"}},
      {"disabled task", [logon](Machine& t) { t.AddTask("Agent", logon, false); }, TaskItem("Agent"), true,
       {agentTask, agentExe, "4.TaskFilter : Agent"}},
      {"item the suite wrote",
       [](Machine& t) {
         t.fake.files.AddFile(kAutoRunConfig,
                              testing::Utf16File("[1]\r\nName=agent\r\nType=1\r\nExePath=c:\\tools\\old.exe\r\n"));
       },
       RegistryItem("Agent", kAgent), true, {agentExe, "5.IsTarvoOperation : Agent"}},
      {"ignored item",
       [](Machine& t) {
         t.fake.files.AddFile(kIgnoreFile, testing::Utf16File("[Monitor]\r\nAgentC:\\Tools\\agent.exe1=1\r\n"));
       },
       RegistryItem("Agent", "C:\\Tools\\agent.exe -tray"), true,
       {"NewItemExePath : C:\\Tools\\agent.exe -tray", "6.manu ignore : Agent"}},
      // Only the value 1 ignores an item; databases without their tables are passed by, and so is a
      // signer they cannot be asked about.
      {"ignore entry of another value, damaged databases",
       [](Machine& t) {
         t.fake.signer.signers[kAgent] = "Agent Makers";
         t.Database(kStartupSignatureDb, "CREATE TABLE other(x);");
         t.Database(kStartupWhiteDb, "CREATE TABLE other(x);");
         t.fake.files.AddFile(kIgnoreFile, testing::Utf16File("[Monitor]\r\nAgentC:\\Tools\\agent.exe1=01\r\n"));
       },
       RegistryItem("Agent", kAgent), false, {agentExe}},
  };
  for (const ChainCase& c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    c.setUp(machine);
    EXPECT_EQ(machine.Screen(c.item), c.noAlert);
    EXPECT_EQ(machine.fake.debug.lines, c.lines);
  }
}

TEST(ScreeningChain, TaskStatesAreStoredAsTheTasksAre) {
  const std::string logon(testing::kLogonTrigger);
  // The stored state before, whether the task is enabled, the verdict (true: no alert), the stored state after.
  const std::tuple<const char*, std::optional<bool>, bool, bool, std::optional<bool>> cases[] = {
      {"enabled and stored enabled", true, true, true, true},
      {"enabled and stored disabled", false, true, false, true},
      {"enabled and never stored", std::nullopt, true, false, true},
      {"disabled and stored enabled", true, false, true, false},
  };
  for (const auto& [name, storedBefore, enabled, noAlert, storedAfter] : cases) {
    SCOPED_TRACE(name);
    Machine machine;
    machine.AddTask("Agent", logon, enabled);
    if (storedBefore) SetStoredTaskStatus(machine.fake.platform, "Agent", *storedBefore);
    EXPECT_EQ(machine.Screen(TaskItem("Agent")), noAlert);
    EXPECT_EQ(machine.StoredTaskStatus("Agent"), storedAfter);
  }
}

TEST(ScreeningChain, DoubledQuotesOfATaskProgramAreRemoved) {
  Machine machine;
  machine.fake.files.AddFile("C:\\x.exe", "MZ");
  machine.AddTask("Quoted", std::string(testing::kBootTrigger30s), true, "\"\"C:\\x.exe\"\"");
  machine.AddTask("Single", std::string(testing::kBootTrigger30s), true, "\"C:\\x.exe\"");
  EXPECT_FALSE(machine.Screen(TaskItem("Quoted")));
  EXPECT_EQ(machine.LastLine(), "NewItemExePath : C:\\x.exe");
  EXPECT_FALSE(machine.Screen(TaskItem("Single")));
  EXPECT_EQ(machine.LastLine(), "NewItemExePath : \"C:\\x.exe\"");
}

// Records of "AutoRunConfig.ini" and the item each one matches; a match consumes it.
TEST(TarvoOperation, MatchesNameKindAndFolderOnce) {
  const struct {
    const char* name;
    const char* record;
    const char* item;
    int kind;
    const char* exePath;
    const char* linkPath;
    bool matches;
  } cases[] = {
      {"same folder", "Name=Agent\r\nType=1\r\nExePath=C:\\TOOLS\\other.exe", "agent", 1, kAgent, "", true},
      {"other folder", "Name=Agent\r\nType=1\r\nExePath=C:\\Other\\agent.exe", "Agent", 1, kAgent, "", false},
      {"other kind", "Name=Agent\r\nType=2\r\nExePath=C:\\Tools\\agent.exe", "Agent", 1, kAgent, "", false},
      {"command line resolved first", "Name=Agent\r\nType=1\r\nExePath=C:\\Tools\\", "Agent", 1,
       "\"C:\\Tools\\agent.exe\" -a", "", true},
      {"shortcut by its folder", "Name=A.lnk\r\nType=4\r\nLinkPath=C:\\Startup\\Old.lnk\r\nExePath=C:\\X\\", "A.lnk",
       4, "", "C:\\Startup\\A.lnk", true},
      {"shortcut elsewhere", "Name=A.lnk\r\nType=4\r\nLinkPath=C:\\Other\\A.lnk", "A.lnk", 4, "",
       "C:\\Startup\\A.lnk", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    machine.fake.files.AddFile(kAutoRunConfig, testing::Utf16File("[Keep]\r\nName=Else\r\nType=1\r\n[Item]\r\n" +
                                                                  std::string(c.record) + "\r\n"));
    TCheckPath checkPath(machine.fake.platform);
    EXPECT_EQ(IsTarvoOperation(machine.fake.platform, checkPath, c.item, c.kind, c.exePath, c.linkPath), c.matches);
    // A second time only an unmatched record is still there.
    EXPECT_FALSE(c.matches &&
                 IsTarvoOperation(machine.fake.platform, checkPath, c.item, c.kind, c.exePath, c.linkPath));
    TSafeIniFile records(machine.fake.files, kAutoRunConfig);
    const std::vector<std::string> left =
        c.matches ? std::vector<std::string>{"Keep"} : std::vector<std::string>{"Keep", "Item"};
    EXPECT_EQ(records.ReadSections(), left);
  }
}

}  // namespace
}  // namespace bootmark
