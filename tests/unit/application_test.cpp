#include "app/application.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/add_auto_run.h"
#include "app/main_data.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"
#include "new_item_test_support.h"

namespace bootmark {
namespace {

using testing::FakePlatform;

class FakeModeJobs : public IModeJobs {
 public:
  void SendStatistic(std::string_view eventId) override { calls.push_back("Stat " + std::string(eventId)); }
  std::vector<StartupFileEntry> CollectStartupFiles() override {
    calls.push_back("CollectStartupFiles");
    return startupFiles;
  }
  void SnapshotTaskStatus() override { calls.push_back("SnapshotTaskStatus"); }
  bool NewItemNeedsAlert(const ProgramArguments&) override {
    calls.push_back("Screen");
    return needsAlert;
  }
  bool NewItemRecommendedToKeep(const ProgramArguments&) override {
    calls.push_back("DisableRate");
    return recommendedToKeep;
  }

  std::vector<std::string> calls;
  std::vector<StartupFileEntry> startupFiles;
  bool needsAlert = true;
  bool recommendedToKeep = false;
};

class FakeNoticeWindows : public INoticeWindows {
 public:
  void RunBootTimeNotice(ProcessState&) override { shown.push_back("BootTime"); }
  void RunDnsChangeNotice(ProcessState&) override { shown.push_back("DnsChange"); }
  void RunAlertNotice(ProcessState& state) override {
    shown.push_back(state.alertQueue ? "Alert" : "Alert without queue");
  }
  std::vector<std::string> shown;
};

constexpr const char* kMainIni = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Main.ini";
constexpr const char* kMainData = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\mainData.dat";
constexpr const char* kAutoRunConfig = "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\AutoRunConfig.ini";

class ApplicationTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "C:\\Program Files\\Tarvo\\Kestrune\\Bootmark.exe");
    state.arguments = ProgramArguments(std::move(arguments));
    return RunProgram(machine.platform, jobs, windows, state);
  }

  void WriteIni(const std::string& path, const std::string& text) {
    machine.files.AddFile(path, testing::Utf16File(text));
  }

  FakePlatform machine;
  FakeModeJobs jobs;
  FakeNoticeWindows windows;
  ProcessState state;
};

TEST_F(ApplicationTest, MainDataWritesTheSortedExistingFilesAlone) {
  jobs.startupFiles = {
      {"C:\\Tools\\zeta.exe", true},  {"C:\\Apps\\Alpha.exe", true}, {"c:\\apps\\alpha.EXE", true},
      {"C:\\Gone\\missing.exe", false}, {"C:\\Apps\\beta.exe", true},
  };
  EXPECT_EQ(Run({"/MAINDATA"}), 0);

  TSafeIniFile written(machine.files, kMainData);
  EXPECT_EQ(written.ReadSections(), std::vector<std::string>{"btl"});
  EXPECT_EQ(written.ReadString("btl", "ckey", ""), "123456");
  EXPECT_EQ(written.ReadString("btl", "count", ""), "3");
  EXPECT_EQ(written.ReadString("btl", "1", ""), "2|C:\\Apps\\Alpha.exe");
  EXPECT_EQ(written.ReadString("btl", "2", ""), "2|C:\\Apps\\beta.exe");
  EXPECT_EQ(written.ReadString("btl", "3", ""), "2|C:\\Tools\\zeta.exe");
  EXPECT_FALSE(written.ValueExists("btl", "4"));

  // Nothing else of the start-up runs for this job.
  EXPECT_EQ(jobs.calls, std::vector<std::string>{"CollectStartupFiles"});
  EXPECT_TRUE(machine.processes.createdMutexes.empty());
  EXPECT_TRUE(windows.shown.empty());
}

TEST_F(ApplicationTest, MainDataWithoutEntriesReplacesOldContentWithCountZero) {
  WriteIni(kMainData, "[old]\r\nx=1\r\n[btl]\r\ncount=2\r\n1=2|C:\\a.exe\r\n2=2|C:\\b.exe\r\n");
  Run({"/mainData"});

  const std::string bytes = machine.files.ReadAll(kMainData).value_or("");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  TSafeIniFile written(machine.files, kMainData);
  EXPECT_EQ(written.ReadSections(), std::vector<std::string>{"btl"});
  EXPECT_EQ(written.ReadString("btl", "count", ""), "0");
  EXPECT_FALSE(written.ValueExists("btl", "1"));
}

TEST_F(ApplicationTest, UnknownOrMissingSwitchEndsAfterTheCommonStartUp) {
  for (const char* switchText : {"BootTask", "/Unknown", ""}) {
    SCOPED_TRACE(switchText);
    jobs.calls.clear();
    EXPECT_EQ(Run({switchText}), 0);
    EXPECT_TRUE(jobs.calls.empty());
  }
  EXPECT_TRUE(windows.shown.empty());
  EXPECT_TRUE(machine.processes.createdMutexes.empty());
  EXPECT_TRUE(machine.debug.lines.empty());
}

struct WindowedModeCase {
  const char* switchText;
  const char* mutex;
  const char* window;
  int restartMode;
};

TEST_F(ApplicationTest, WindowedModesKeepASecondInstanceOut) {
  const WindowedModeCase cases[] = {
      {"/BootTask", "_Tarvo_KST14_Bootmark_BootTask", "BootTime", 1},
      {"/dnschange", "_Tarvo_Bootmark_DNSChange", "DnsChange", 0},
  };
  for (const WindowedModeCase& testCase : cases) {
    SCOPED_TRACE(testCase.switchText);
    machine.processes.existingMutexes.clear();
    windows.shown.clear();
    state = ProcessState{};

    Run({testCase.switchText});
    EXPECT_EQ(state.restartMode, testCase.restartMode);
    EXPECT_EQ(machine.processes.createdMutexes.back(), testCase.mutex);
    EXPECT_EQ(windows.shown, std::vector<std::string>{testCase.window});

    // The mutex is still held (pretend the first process runs): the newcomer shows nothing.
    windows.shown.clear();
    Run({testCase.switchText});
    EXPECT_TRUE(windows.shown.empty());
  }
}

TEST_F(ApplicationTest, DpiAwarenessIsSetUpForEveryModeButTheMainDataJob) {
  const auto dpiLines = [&] {
    return std::count_if(machine.debug.lines.begin(), machine.debug.lines.end(), [](const std::string& line) {
      return line.starts_with("************** Win32MinorVersion: ");
    });
  };
  machine.display.screenDpi = 144;  // Windows does not scale for us: the program declares itself aware
  for (const char* switchText : {"/mainData", "/Unknown", "/LoadAVList"}) {
    SCOPED_TRACE(switchText);
    machine.debug.lines.clear();
    state = ProcessState{};
    state.system = std::make_unique<SystemInfo>(machine.platform);
    Run({switchText});
    EXPECT_EQ(dpiLines(), std::string_view(switchText) == "/mainData" ? 0 : 1);
  }
}

TEST_F(ApplicationTest, UpdateTaskschdSnapshotsTasksThenClearsTheSuitesRecords) {
  WriteIni(kAutoRunConfig, "[Item1]\r\nName=A\r\nType=1\r\n[Item2]\r\nName=B\r\n");
  Run({"/UpdateTaskschd"});

  EXPECT_EQ(jobs.calls, (std::vector<std::string>{"SnapshotTaskStatus"}));
  TSafeIniFile config(machine.files, kAutoRunConfig);
  EXPECT_TRUE(config.ReadSections().empty());
  EXPECT_EQ(machine.debug.lines, std::vector<std::string>{"UpdateTaskschd : UpdateTaskschd"});
  EXPECT_TRUE(windows.shown.empty());
}

TEST_F(ApplicationTest, UpdateTaskschdLeavesAnUnreadableRecordFileAlone) {
  WriteIni(kAutoRunConfig, "[Item1]\r\nName=A\r\n");
  machine.files.SetUnreadable(kAutoRunConfig, true);
  const std::size_t writesBefore = machine.files.WriteCount(kAutoRunConfig);
  Run({"/UpdateTaskschd"});
  EXPECT_EQ(machine.files.WriteCount(kAutoRunConfig), writesBefore);
}

TEST_F(ApplicationTest, LoadAVListOpensTheAlertWindowWithoutAQueue) {
  Run({"/LoadAVList"});
  EXPECT_EQ(machine.debug.lines, std::vector<std::string>{"LoadAVList : LoadAVList"});
  EXPECT_EQ(windows.shown, std::vector<std::string>{"Alert without queue"});
  EXPECT_TRUE(machine.processes.createdMutexes.empty());
}

// ---- /AddAutoRun ----

const std::vector<std::string> kNewItem = {"/AddAutoRun", "/1", "/4E6F7465", "/433A5C612E657865", "/484B4355",
                                           "/1234", "/6578706C6F726572"};

TEST_F(ApplicationTest, AddAutoRunStopsAtTheSettingsGateBeforeAnyScreening) {
  WriteIni(kMainIni, "[Notification]\r\nStartupNotification=0\r\n");
  state.system = std::make_unique<SystemInfo>(machine.platform);  // no DPI decision either: it would write a line
  machine.display.screenDpi = 144;
  Run(kNewItem);
  EXPECT_EQ(machine.debug.lines, std::vector<std::string>{"Kestrune Settings : 0"});
  EXPECT_TRUE(jobs.calls.empty());
  EXPECT_TRUE(windows.shown.empty());
}

TEST_F(ApplicationTest, AddAutoRunSettingsGateOnlyClosesOnExactlyZero) {
  for (const char* value : {"1", "00", " 0x0", "false", ""}) {
    SCOPED_TRACE(value);
    WriteIni(kMainIni, std::string("[Notification]\r\nStartupNotification=") + value + "\r\n");
    EXPECT_TRUE(IsStartupNotificationOn(machine.platform));
  }
  machine.files.DeleteFile(kMainIni);
  EXPECT_TRUE(IsStartupNotificationOn(machine.platform));
}

TEST_F(ApplicationTest, AddAutoRunStaysQuietOverAFullScreenProgram) {
  machine.desktop.foreground = machine.desktop.AddWindow({"GameWindow", "Game", {0, 0, 1920, 1080}});
  Run(kNewItem);
  EXPECT_EQ(machine.debug.lines, std::vector<std::string>{"CheckIsFull is  : 1"});
  EXPECT_TRUE(jobs.calls.empty());
  EXPECT_TRUE(windows.shown.empty());
}

TEST_F(ApplicationTest, AddAutoRunEndsWhenTheScreeningOrTheRateSaySo) {
  jobs.needsAlert = false;
  Run(kNewItem);
  EXPECT_EQ(jobs.calls, (std::vector<std::string>{"Screen"}));
  EXPECT_TRUE(windows.shown.empty());

  jobs.calls.clear();
  jobs.needsAlert = true;
  jobs.recommendedToKeep = true;
  Run(kNewItem);
  EXPECT_EQ(jobs.calls, (std::vector<std::string>{"Screen", "DisableRate", "Stat 231"}));
  EXPECT_TRUE(windows.shown.empty());
  EXPECT_TRUE(machine.processes.createdMutexes.empty());
}

TEST_F(ApplicationTest, AddAutoRunSkipsAServiceWithoutDisplayName) {
  const std::pair<std::vector<std::string>, bool> cases[] = {
      {{"/AddAutoRun", "/2", "/53766331", "/433A5C732E657865", "/"}, false},
      {{"/AddAutoRun", "/2", "/53766331", "/433A5C732E657865", "/4E616D65"}, true},
      {{"/AddAutoRun", "/1", "/53766331", "/433A5C732E657865", "/"}, true},
      {{"/AddAutoRun", "/02", "/53766331", "/433A5C732E657865", "/"}, true},
  };
  for (const auto& [arguments, shows] : cases) {
    SCOPED_TRACE(arguments[1] + " " + arguments[4]);
    windows.shown.clear();
    machine.processes.existingMutexes.clear();
    state = ProcessState{};
    Run(arguments);
    EXPECT_EQ(!windows.shown.empty(), shows);
  }
}

TEST_F(ApplicationTest, AddAutoRunFirstInstanceTracesTheArgumentsAndOpensTheQueue) {
  Run(kNewItem);
  EXPECT_EQ(machine.debug.lines, (std::vector<std::string>{
                                     "ParamStr(2) : /1 ParamStr(3) : /4E6F7465",
                                     "ParamStr(4) : /433A5C612E657865 ParamStr(5) : /484B4355",
                                     "ParamStr(6) : /1234 ParamStr(7) : /6578706C6F726572",
                                 }));
  EXPECT_EQ(state.forwardedItemText, "/1 /4E6F7465 /433A5C612E657865/484B4355/1234/6578706C6F726572");
  EXPECT_EQ(machine.processes.createdMutexes, std::vector<std::string>{"_Tarvo_Bootmark_AddAutoRun"});
  EXPECT_TRUE(machine.clock.sleeps.empty());
  EXPECT_EQ(windows.shown, std::vector<std::string>{"Alert"});
  ASSERT_TRUE(state.alertQueue);
  EXPECT_TRUE(state.alertQueue->Empty());
}

TEST_F(ApplicationTest, AddAutoRunForwardsToTheRunningAlertWindowAfterTheWait) {
  machine.processes.existingMutexes.insert("_Tarvo_Bootmark_AddAutoRun");
  // The running instance's window appears while this one waits.
  WindowHandle running = kNoWindow;
  machine.clock.onSleep = [&] {
    running = machine.desktop.AddWindow({"TBmark_AutoRunNotice", "AutoRunNotice", {}});
  };
  Run({"/AddAutoRun", "/4", "/433A5C612E6C6E6B"});

  EXPECT_EQ(machine.clock.sleeps, std::vector<std::uint32_t>{2000});
  ASSERT_EQ(machine.desktop.copyDataSent.size(), 1u);
  EXPECT_EQ(machine.desktop.copyDataSent[0].first, running);
  // Missing arguments read as empty: two blanks after the first two, nothing after the rest.
  EXPECT_EQ(machine.desktop.copyDataSent[0].second, "/4 /433A5C612E6C6E6B ");
  EXPECT_TRUE(windows.shown.empty());
  EXPECT_FALSE(state.alertQueue);
}

TEST_F(ApplicationTest, AddAutoRunShowsItsOwnWindowWhenTheRunningOneCannotBeFound) {
  machine.processes.existingMutexes.insert("_Tarvo_Bootmark_AddAutoRun");
  Run(kNewItem);
  EXPECT_EQ(machine.clock.sleeps, std::vector<std::uint32_t>{2000});
  EXPECT_EQ(machine.desktop.findCalls, 2);
  EXPECT_TRUE(machine.desktop.copyDataSent.empty());
  EXPECT_EQ(windows.shown, std::vector<std::string>{"Alert"});
}

TEST_F(ApplicationTest, AddAutoRunForwardsWithoutWaitingWhenOnlyTheWindowRemains) {
  // The mutex is free (its owner ended) but a window of the class is still found.
  machine.desktop.AddWindow({"TBmark_AutoRunNotice", "AutoRunNotice", {}});
  Run(kNewItem);
  EXPECT_TRUE(machine.clock.sleeps.empty());
  EXPECT_EQ(machine.desktop.copyDataSent.size(), 1u);
  EXPECT_TRUE(windows.shown.empty());
}

TEST(MainData, SortedExistingFilesKeepsEachPathOnceIgnoringCase) {
  const std::vector<StartupFileEntry> entries = {
      {"C:\\b.exe", true}, {"C:\\A.exe", true}, {"c:\\B.EXE", true}, {"C:\\c.exe", false}, {"", true},
      {"C:\\\u00C9t\u00E9.exe", true}, {"c:\\\u00E9T\u00C9.EXE", true},
  };
  EXPECT_EQ(SortedExistingFiles(entries),
            (std::vector<std::string>{"", "C:\\A.exe", "C:\\b.exe", "C:\\\u00C9t\u00E9.exe"}));
}

}  // namespace
}  // namespace bootmark
