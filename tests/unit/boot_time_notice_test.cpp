// The boot time notice's form: when its preparation ends the process, which
// follow-up it shows and what that writes, how long it waits behind the start
// screen, and what its buttons send.
#include "app/boot_time_notice.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "boottime/boot_time.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"
#include "fakes/utf16_file.h"
#include "suite/suite_launch.h"
#include "unit/toolkit_test_support.h"

namespace bootmark {
namespace {

using testing::FakePlatform;
using testing::Utf16File;

using testing::kMainIni;
constexpr const char* kStartupConfig = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Startup Manager\\config.ini";
constexpr const char* kHealthLevel = "C:\\Users\\Ann\\AppData\\LocalLow\\Tarvo\\Kestrune\\HealthLevel.ini";
constexpr const char* kScanCache = "C:\\ProgramData\\Tarvo\\KSTCache.dat";

// A machine whose last boot took `bootTime` ms ("": no value; nullptr: no boottime.dat).
struct BootMachine {
  explicit BootMachine(const char* bootTime, const char* notification = "1") {
    if (bootTime != nullptr) {
      const std::string line = *bootTime == '\0' ? "" : std::string("boottime=") + bootTime + "\r\n";
      fake.files.AddFile(BootTimeDatPath(fake.shell), Utf16File("[main]\r\n" + line + "count=0\r\n"));
    }
    fake.files.AddFile(kMainIni, Utf16File(std::string("[Notification]\r\nBootTimeNotification=") + notification));
  }
  std::string BootTimeIni(std::string_view key) {
    TSafeIniFile ini(fake.files);
    ini.LoadFromFile(BootTimeIniPath(fake.shell));
    return ini.ReadString("main", key, "<none>");
  }
  bool Create() {
    notice.Form().SetTextMeasurer(&measurer);
    return testing::EndsProcess([&] { notice.FormCreate(); });
  }

  FakePlatform fake;
  std::vector<std::string> events;
  testing::FixedTextMeasurer measurer;
  TBmark_MainForm notice{fake.platform, nullptr,
                         {nullptr, [this](std::string_view id) { events.emplace_back(id); }, nullptr}};
};

TEST(BootTimeNoticeCreate, EndsSilentlyWhenThereIsNothingToShow) {
  const struct {
    const char* bootTime;
    const char* notification;
    const char* debugLine;  // nullptr: the notice is shown
  } cases[] = {
      {nullptr, "1", "1111  00"}, {"81000", "0", "1111  11"},   {"81000", "", "1111  11"},
      {"", "1", "1111  222"},     {"3600000", "1", "Millisecond >= 3600000"}, {"81000", "1", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.debugLine == nullptr ? "shown" : c.debugLine);
    BootMachine machine(c.bootTime, c.notification);
    EXPECT_EQ(machine.Create(), c.debugLine != nullptr);
    const std::vector<std::string> lines = c.debugLine ? std::vector<std::string>{c.debugLine}
                                                       : std::vector<std::string>{};
    EXPECT_EQ(machine.fake.debug.lines, lines);
    EXPECT_EQ(machine.BootTimeIni("boottime"), c.debugLine ? "<none>" : c.bootTime);
  }
  BootMachine shown("81000");
  ASSERT_FALSE(shown.Create());
  EXPECT_EQ(shown.notice.Form().Get("RdHtmLabel_btime").caption, "Your system boot time: <a>1m 21s</a>");
}

TEST(BootTimeNoticeCreate, ShowsOneFollowUpAndRecordsItsDate) {
  struct Case {
    const char* name;
    const char* lastBoot;  // BootTime.ini "boottime" before; nullptr: no file
    const char* canOptCount;
    const char* healthDays;
    const char* scanCache;  // nullptr: no scan findings file
    const char* event;
    std::vector<const char*> shown;  // the follow-up's lines and buttons
    const char* caption;             // of the first of them
    int cleanKinds;
    Size size;
    const char* dateKey;
  };
  const char* findings = "[jk_scan_size]\r\nSize=1536000\r\n[py_scan_count]\r\nCount=0\r\n[rg_data]\r\nregcount=7\r\n";
  const char* privacyOnly = "[py_scan_count]\r\nCount=4\r\n";
  const Case cases[] = {
      {"saved time", "90000", "5", "3", findings, "215", {"RdRichLabel1"}, "<a>9s</a> saved with Kestrune.", 0,
       {430, 250}, "ShareDateTime"},
      {"optimisable items", "1000", "5", "3", findings, "217", {"RdRichLabel2", "button_Opt"},
       "<a>5</a> items can be optimized.", 0, {430, 250}, "OptimizeDateTime"},
      {"clean junk and registry", nullptr, "0", "3", findings, "219",
       {"lblht_jkCap", "lblht_regCap", "lbl_CareTitle", "img_cutline", "RdBtn_CareNow"}, "<a>1.46 MB</a> junk files",
       clean_kind::kJunk | clean_kind::kRegistry, {450, 340}, "Cleantype"},
      {"clean privacy only", nullptr, "", "3", privacyOnly, "219",
       {"lblht_pyCap", "lbl_CareTitle", "img_cutline", "RdBtn_CareNow"}, "<a>4</a> privacy traces",
       clean_kind::kPrivacy, {450, 340}, "Cleantype"},
      {"nothing to clean", nullptr, "0", "3", nullptr, "221", {"lbl_CanScan", "RdBtn_CareNow"},
       "Optimize your PC now for a cleaner and faster PC.", 0, {430, 250}, "CleanDateTime"},
      {"no follow-up", nullptr, "0", "2", findings, "223", {}, nullptr, 0, {430, 250}, nullptr},
  };
  const char* followUps[] = {"RdRichLabel1", "RdRichLabel2", "button_Opt",   "RdBtn_CareNow", "lbl_CanScan",
                             "lblht_jkCap",  "lblht_pyCap",  "lblht_regCap", "lbl_CareTitle", "img_cutline"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BootMachine machine("81000");
    if (c.lastBoot != nullptr) {
      machine.fake.files.AddFile(BootTimeIniPath(machine.fake.shell),
                                 Utf16File(std::string("[main]\r\nboottime=") + c.lastBoot + "\r\n"));
    }
    machine.fake.files.AddFile(kStartupConfig, Utf16File(std::string("[main]\r\ncanOptCount=") + c.canOptCount));
    machine.fake.files.AddFile(kHealthLevel, Utf16File(std::string("[Display]\r\ndays=") + c.healthDays));
    if (c.scanCache != nullptr) machine.fake.files.AddFile(kScanCache, Utf16File(c.scanCache));
    ASSERT_FALSE(machine.Create());

    EXPECT_EQ(machine.events, std::vector<std::string>{c.event});
    for (const char* name : followUps) {
      const bool expected = std::find(c.shown.begin(), c.shown.end(), std::string_view(name)) != c.shown.end();
      EXPECT_EQ(machine.notice.Form().Get(name).visible, expected) << name;
    }
    if (c.caption != nullptr) {
      EXPECT_EQ(machine.notice.Form().Get(c.shown[0]).caption, c.caption);
    }
    EXPECT_EQ(machine.notice.CleanKinds(), c.cleanKinds);
    EXPECT_EQ(machine.notice.Form().ClientSize(), c.size);
    // The background stretches over the window; the buttons keep to its bottom right corner.
    EXPECT_TRUE(machine.notice.Form().Get("ImageNote_bg").stretch);
    EXPECT_EQ(machine.notice.Form().Get("RdBtn_CareNow").bounds,
              (Rect{c.size.width - 169, c.size.height - 49, c.size.width - 15, c.size.height - 15}));
    if (c.dateKey != nullptr) {
      EXPECT_EQ(machine.BootTimeIni(c.dateKey), "45000.5");
    }
  }
}

TEST(BootTimeNoticeShow, WaitsBehindTheStartScreenFromWindows8OnAtMostThreeMinutes) {
  const struct {
    std::uint32_t major, minor;
    const char* foreground;
    int ordinaryAfter;  // looks until an ordinary window is in front; -1: never
    std::size_t sleeps;
  } cases[] = {
      {6, 1, "ImmersiveLauncher", -1, 0}, {6, 2, "ImmersiveLauncher", -1, 180},
      {6, 3, "windows.ui.core.corewindow", 2, 2}, {6, 2, "Progman", -1, 0},
      {10, 0, "ImmersiveLauncher", -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.foreground);
    BootMachine machine("81000");
    machine.fake.system.versionEx = {c.major, c.minor, 9200, kPlatformWin32Nt, kProductWorkstation};
    const WindowHandle front = machine.fake.desktop.AddWindow({c.foreground, "", {}});
    const WindowHandle desktop = machine.fake.desktop.AddWindow({"Progman", "", {}});
    machine.fake.desktop.foreground = front;
    machine.fake.clock.onSleep = [&] {
      if (static_cast<int>(machine.fake.clock.sleeps.size()) == c.ordinaryAfter) {
        machine.fake.desktop.foreground = desktop;
      }
    };
    machine.fake.display.workArea = Rect{0, 0, 1600, 860};
    ASSERT_FALSE(machine.Create());
    machine.notice.FormShow();
    EXPECT_EQ(machine.fake.clock.sleeps.size(), c.sleeps);
    EXPECT_TRUE(machine.notice.Form().visible);
    EXPECT_EQ(machine.notice.Form().bounds, (Rect{1170, 610, 1600, 860}));
  }
}

TEST(BootTimeNoticeActions, ButtonsSendTheirEventAndOpenTheSuitePage) {
  const struct {
    const char* button;
    const char* scanCache;
    const char* event;
    const char* switchText;
  } cases[] = {
      {"button_Opt", nullptr, "218", "/StartupOptimize"},
      {"RdBtn_CareNow", "[rg_data]\r\nregcount=7\r\n", "220", "/cache 8"},
      {"RdBtn_CareNow", nullptr, "222", "/cache 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.event);
    BootMachine machine("81000");
    machine.fake.files.AddFile(kHealthLevel, Utf16File("[Display]\r\ndays=5"));
    if (c.scanCache != nullptr) machine.fake.files.AddFile(kScanCache, Utf16File(c.scanCache));
    ASSERT_FALSE(machine.Create());
    machine.events.clear();
    EXPECT_TRUE(testing::EndsProcess([&] { machine.notice.Form().Get(c.button).onClick(); }));
    EXPECT_EQ(machine.events, std::vector<std::string>{c.event});
    ASSERT_EQ(machine.fake.shell.executed.size(), 1u);
    EXPECT_EQ(machine.fake.shell.executed[0].parameters, c.switchText);
  }
}

}  // namespace
}  // namespace bootmark
