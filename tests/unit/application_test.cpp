#include "app/application.h"

#include <gtest/gtest.h>

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

using testing::kMainIni;
constexpr const char* kMainData = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\mainData.dat";
constexpr const char* kAutoRunConfig = "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\AutoRunConfig.ini";

// One machine with the program's jobs and windows faked.
struct App {
  int Launch(std::vector<std::string> arguments) {
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

class ApplicationTest : public ::testing::Test, protected App {};

// Which files are listed, and in which order, is SortedExistingFiles' (below).
TEST_F(ApplicationTest, MainDataReplacesTheFileWithTheExistingFilesAlone) {
  WriteIni(kMainData, "[old]\r\nx=1\r\n[btl]\r\ncount=3\r\n1=2|C:\\a.exe\r\n2=2|C:\\b.exe\r\n3=2|C:\\c.exe\r\n");
  jobs.startupFiles = {{"C:\\Tools\\zeta.exe", true}, {"C:\\Apps\\beta.exe", true}};
  // Windows does not scale for us: a mode that sets DPI awareness up says so.
  machine.display.screenDpi = 144;
  state.system = std::make_unique<SystemInfo>(machine.platform);
  EXPECT_EQ(Launch({"/mainData"}), 0);
  EXPECT_EQ(machine.files.ReadAll(kMainData).value_or("").substr(0, 2), "\xFF\xFE");
  TSafeIniFile written(machine.files, kMainData);
  EXPECT_EQ(written.ReadSections(), std::vector<std::string>{"btl"});
  EXPECT_EQ(written.ReadSectionValues("btl"),
            (std::vector<std::string>{"ckey=123456", "count=2", "1=2|C:\\Apps\\beta.exe", "2=2|C:\\Tools\\zeta.exe"}));
  // Nothing else of the start-up runs for this job, not even the DPI set-up.
  EXPECT_EQ(jobs.calls, std::vector<std::string>{"CollectStartupFiles"});
  EXPECT_TRUE(machine.debug.lines.empty());
}

TEST(Application, WindowedModesKeepASecondInstanceOut) {
  const struct {
    const char* switchText;
    const char* mutex;
    const char* window;
    int restartMode;
  } cases[] = {
      {"/BootTask", "_Tarvo_KST14_Bootmark_BootTask", "BootTime", 1},
      {"/dnschange", "_Tarvo_Bootmark_DNSChange", "DnsChange", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.switchText);
    App app;
    app.Launch({c.switchText});
    EXPECT_EQ(app.state.restartMode, c.restartMode);
    EXPECT_EQ(app.machine.processes.createdMutexes.back(), c.mutex);
    EXPECT_EQ(app.windows.shown, std::vector<std::string>{c.window});

    // The mutex is still held (pretend the first process runs): the newcomer shows nothing.
    app.windows.shown.clear();
    app.Launch({c.switchText});
    EXPECT_TRUE(app.windows.shown.empty());
  }
}

TEST_F(ApplicationTest, UpdateTaskschdSnapshotsTasksThenClearsTheSuitesRecords) {
  WriteIni(kAutoRunConfig, "[Item1]\r\nName=A\r\nType=1\r\n[Item2]\r\nName=B\r\n");
  Launch({"/UpdateTaskschd"});

  EXPECT_EQ(jobs.calls, (std::vector<std::string>{"SnapshotTaskStatus"}));
  TSafeIniFile config(machine.files, kAutoRunConfig);
  EXPECT_TRUE(config.ReadSections().empty());
  EXPECT_EQ(machine.debug.lines, std::vector<std::string>{"UpdateTaskschd : UpdateTaskschd"});
  EXPECT_TRUE(windows.shown.empty());

  // A record file that cannot be read is left alone.
  WriteIni(kAutoRunConfig, "[Item1]\r\nName=A\r\n");
  machine.files.SetUnreadable(kAutoRunConfig, true);
  const std::size_t writesBefore = machine.files.WriteCount(kAutoRunConfig);
  Launch({"/UpdateTaskschd"});
  EXPECT_EQ(machine.files.WriteCount(kAutoRunConfig), writesBefore);
}

TEST_F(ApplicationTest, LoadAVListOpensTheAlertWindowWithoutAQueue) {
  machine.display.screenDpi = 144;
  state.system = std::make_unique<SystemInfo>(machine.platform);
  Launch({"/LoadAVList"});
  ASSERT_EQ(machine.debug.lines.size(), 2u);
  EXPECT_TRUE(machine.debug.lines[0].starts_with("************** Win32MinorVersion: "));  // the DPI set-up
  EXPECT_EQ(machine.debug.lines[1], "LoadAVList : LoadAVList");
  EXPECT_EQ(windows.shown, std::vector<std::string>{"Alert without queue"});
}

// ---- /AddAutoRun ----

const std::vector<std::string> kNewItem = {"/AddAutoRun", "/1", "/4E6F7465", "/433A5C612E657865", "/484B4355",
                                           "/1234", "/6578706C6F726572"};

// Each gate before the alert ends the run quietly, before the ones after it.
TEST(AddAutoRun, EndsAtEachGateBeforeTheAlert) {
  const struct {
    const char* name;
    std::function<void(App&)> arrange;
    std::vector<std::string> lines;
    std::vector<std::string> calls;
  } cases[] = {
      // No DPI decision either: it would write a line.
      {"switched off in the settings",
       [](App& app) {
         app.WriteIni(kMainIni, "[Notification]\r\nStartupNotification=0\r\n");
         app.state.system = std::make_unique<SystemInfo>(app.machine.platform);
         app.machine.display.screenDpi = 144;
       },
       {"Kestrune Settings : 0"}, {}},
      {"a full-screen program in front",
       [](App& app) {
         app.machine.desktop.foreground = app.machine.desktop.AddWindow({"GameWindow", "Game", {0, 0, 1920, 1080}});
       },
       {"CheckIsFull is  : 1"}, {}},
      {"the screening lets it pass", [](App& app) { app.jobs.needsAlert = false; }, {}, {"Screen"}},
      {"the rate advises keeping it", [](App& app) { app.jobs.recommendedToKeep = true; }, {},
       {"Screen", "DisableRate", "Stat 231"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    App app;
    c.arrange(app);
    app.Launch(kNewItem);
    EXPECT_EQ(app.machine.debug.lines, c.lines);
    EXPECT_EQ(app.jobs.calls, c.calls);
    EXPECT_TRUE(app.windows.shown.empty());
    EXPECT_TRUE(app.machine.processes.createdMutexes.empty());
  }
}

TEST_F(ApplicationTest, AddAutoRunSettingsGateOnlyClosesOnExactlyZero) {
  for (const char* value : {"00", ""}) {
    SCOPED_TRACE(value);
    WriteIni(kMainIni, std::string("[Notification]\r\nStartupNotification=") + value + "\r\n");
    EXPECT_TRUE(IsStartupNotificationOn(machine.platform));
  }
}

TEST_F(ApplicationTest, AddAutoRunSkipsAServiceWithoutDisplayName) {
  const std::pair<std::vector<std::string>, bool> cases[] = {
      {{"/AddAutoRun", "/2", "/53766331", "/433A5C732E657865", "/"}, false},
      {{"/AddAutoRun", "/2", "/53766331", "/433A5C732E657865", "/4E616D65"}, true},
      {{"/AddAutoRun", "/02", "/53766331", "/433A5C732E657865", "/"}, true},
  };
  for (const auto& [arguments, shows] : cases) {
    SCOPED_TRACE(arguments[1] + " " + arguments[4]);
    windows.shown.clear();
    machine.processes.existingMutexes.clear();
    state = ProcessState{};
    Launch(arguments);
    EXPECT_EQ(!windows.shown.empty(), shows);
  }
}

TEST_F(ApplicationTest, AddAutoRunFirstInstanceTracesTheArgumentsAndOpensTheQueue) {
  Launch(kNewItem);
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

// A second instance hands its item to the running alert window: after a wait
// while the first one holds the mutex, at once when only the window remains.
TEST(AddAutoRun, ForwardsToARunningAlertWindowElseShowsItsOwn) {
  const struct {
    const char* name;
    bool mutexHeld, windowAtStart, windowAfterWait;
    std::vector<std::uint32_t> sleeps;
    int searches;
    bool forwarded;
  } cases[] = {
      {"window appears during the wait", true, false, true, {2000}, 1, true},
      {"no window after the wait", true, false, false, {2000}, 2, false},
      {"only the window remains", false, true, false, {}, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    App app;
    if (c.mutexHeld) app.machine.processes.existingMutexes.insert("_Tarvo_Bootmark_AddAutoRun");
    WindowHandle running = kNoWindow;
    const auto open = [&] { running = app.machine.desktop.AddWindow({"TBmark_AutoRunNotice", "AutoRunNotice", {}}); };
    if (c.windowAtStart) open();
    if (c.windowAfterWait) app.machine.clock.onSleep = open;
    app.Launch({"/AddAutoRun", "/4", "/433A5C612E6C6E6B"});

    EXPECT_EQ(app.machine.clock.sleeps, c.sleeps);
    EXPECT_EQ(app.machine.desktop.findCalls, c.searches);
    // Missing arguments read as empty: two blanks after the first two, nothing after the rest.
    using Sent = std::vector<std::pair<WindowHandle, std::string>>;
    EXPECT_EQ(app.machine.desktop.copyDataSent, (c.forwarded ? Sent{{running, "/4 /433A5C612E6C6E6B "}} : Sent{}));
    EXPECT_EQ(app.windows.shown, c.forwarded ? std::vector<std::string>{} : std::vector<std::string>{"Alert"});
    EXPECT_EQ(app.state.alertQueue.has_value(), !c.forwarded);
  }
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
