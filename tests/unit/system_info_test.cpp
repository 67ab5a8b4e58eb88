// System information: Windows names, the DPI start-up decision, the 64-bit
// Windows checks and opening Explorer on a file.
#include "common/system_info.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using testing::FakePlatform;

// --- Windows names -------------------------------------------------------------

struct NameCase {
  const char* name;
  VersionExInfo version;
  std::uint16_t architecture;
  const char* expected;
};

constexpr std::uint8_t kServer = 3;
constexpr std::uint32_t kPlatformWin9x = 1;

// 6.2 and both answers of 5.2 (a workstation on x64 or another processor) are the GetOSName test's.
TEST(OSNameTest, NamesEachVersionOfTheNtFamily) {
  const NameCase cases[] = {
      {"Nt4", {4, 0, 1381, kPlatformWin32Nt, 0}, processor_arch::kIntel, "Windows NT"},
      {"Windows2000", {5, 0, 2195, kPlatformWin32Nt, 1}, processor_arch::kIntel, "Windows 2000"},
      {"WindowsXp", {5, 1, 2600, kPlatformWin32Nt, 1}, processor_arch::kIntel, "Windows XP"},
      {"Server2003X64", {5, 2, 3790, kPlatformWin32Nt, kServer}, processor_arch::kAmd64, "Windows 2003 Server"},
      {"Vista", {6, 0, 6002, kPlatformWin32Nt, 1}, processor_arch::kIntel, "Windows Vista"},
      {"Windows7", {6, 1, 7601, kPlatformWin32Nt, 1}, processor_arch::kAmd64, "Windows 7"},
      {"Windows10Preview", {6, 4, 9841, kPlatformWin32Nt, 1}, processor_arch::kAmd64, "Windows 10"},
      {"LastWindows10Build", {10, 0, 21999, kPlatformWin32Nt, 1}, processor_arch::kAmd64, "Windows 10"},
      {"FirstWindows11Build", {10, 0, 22000, kPlatformWin32Nt, 1}, processor_arch::kAmd64, "Windows 11"},
      {"Major11", {11, 0, 100, kPlatformWin32Nt, 1}, processor_arch::kAmd64, "Windows 11"},
      {"Windows98", {4, 10, 2222, kPlatformWin9x, 0}, processor_arch::kIntel, ""},
      {"UnknownMinorOf6", {6, 5, 0, kPlatformWin32Nt, 1}, processor_arch::kIntel, ""},
      {"Major7", {7, 0, 0, kPlatformWin32Nt, 1}, processor_arch::kIntel, ""}};
  for (const NameCase& c : cases) EXPECT_EQ(OSNameOf(c.version, c.architecture), c.expected) << c.name;
}

TEST(GetOSNameTest, OnlyTheRealVersionTellsWindows11Apart) {
  FakePlatform fake;
  // Windows 11 as an unmanifested program is told: 6.2.9200.
  fake.system.versionEx = {6, 2, 9200, kPlatformWin32Nt, kProductWorkstation};
  fake.system.processBlock = {10, 0, 22631};
  SystemInfo system(fake.platform);
  EXPECT_EQ(system.GetOSName(false), "Windows 8");
  EXPECT_EQ(system.GetOSName(true), "Windows 11");
  // The process block is read once.
  fake.system.processBlock = {6, 1, 7601};
  EXPECT_EQ(system.GetRealVersion(), (RealVersion{10, 0, 22631}));
  EXPECT_EQ(fake.system.processBlockReads, 1);

  // The real version keeps the product type of the system's report: a 5.2 workstation is XP on x64 only.
  fake.system.versionEx = {5, 1, 2600, kPlatformWin32Nt, kProductWorkstation};
  fake.system.processBlock = {5, 2, 3790};
  SystemInfo xp(fake.platform);
  EXPECT_EQ(xp.GetOSName(true), "Windows XP");
  fake.system.architecture = processor_arch::kIntel;
  EXPECT_EQ(xp.GetOSName(true), "Windows 2003 Server");
}

// --- DPI awareness at start-up ---------------------------------------------------

TEST(ScreenLargeEnoughTest, LargerSideAtLeast900AndSmallerSideAtLeast640) {
  const std::pair<Size, bool> cases[] = {
      {{1024, 640}, true}, {{1024, 639}, false}, {{640, 1024}, true}, {{900, 700}, true}, {{899, 700}, false}};
  for (const auto& [screen, expected] : cases) {
    EXPECT_EQ(ScreenLargeEnough(screen), expected) << screen.width << "x" << screen.height;
  }
}

struct DpiCase {
  const char* name;
  VersionExInfo version;
  std::optional<bool> processDpiAware;  // nullopt: user32 has no IsProcessDPIAware
  std::optional<int> awareness;         // nullopt: Shcore missing
  int screenDpi;
  Size screen;
  bool expectedVirtualized;
  std::vector<std::string> expectedCalls;
  bool expectedDebugLine;
};

const VersionExInfo kXp{5, 1, 2600, kPlatformWin32Nt, 1};
const VersionExInfo kWindows7{6, 1, 7601, kPlatformWin32Nt, 1};
const VersionExInfo kWindows8{6, 2, 9200, kPlatformWin32Nt, 1};
const VersionExInfo kWindows81{6, 3, 9600, kPlatformWin32Nt, 1};
const VersionExInfo kWindows10{10, 0, 19045, kPlatformWin32Nt, 1};
const Size kLarge{1920, 1080};
const Size kSmall{1024, 639};
const std::vector<std::string> kPerMonitor{"SetProcessDpiAwareness(2)"};
const std::vector<std::string> kBoth{"SetProcessDPIAware", "SetProcessDpiAwareness(2)"};

TEST(SetupDpiAwarenessTest, DeclaresAwarenessUnlessWindowsScalesOnALargeEnoughScreen) {
  const DpiCase cases[] = {
      {"ScaledByWindowsOnLargeScreen", kWindows10, false, 0, 96, kLarge, true, {}, false},
      {"ScaledByWindowsOnSmallScreen", kWindows10, false, 0, 96, kSmall, true, kPerMonitor, true},
      {"UnawareAtHighDpi", kWindows10, false, 0, 144, kLarge, false, kPerMonitor, true},
      {"AwareButShcoreSaysUnaware", kWindows10, true, 0, 96, kLarge, true, {}, false},
      {"AwareAndShcoreAgrees", kWindows10, true, 1, 96, kLarge, false, kPerMonitor, true},
      {"Windows81", kWindows81, false, 0, 96, kSmall, true, kPerMonitor, true},
      {"Windows8BothCalls", kWindows8, false, 0, 96, kSmall, true, kBoth, true},
      {"Windows7AwareWithoutShcore", kWindows7, true, std::nullopt, 96, kLarge, false, {"SetProcessDPIAware"}, true},
      {"XpIsNotAskedEvenWithTheFunctions", kXp, false, 0, 96, kLarge, false, {}, true}};
  for (const DpiCase& test : cases) {
    SCOPED_TRACE(test.name);
    FakePlatform fake;
    fake.system.versionEx = test.version;
    fake.display.dpiAware = test.processDpiAware;
    fake.display.hasSetProcessDpiAware = test.processDpiAware.has_value();
    fake.display.awareness = test.awareness;
    fake.display.hasSetProcessDpiAwareness = test.awareness.has_value();
    fake.display.screenDpi = test.screenDpi;
    fake.desktop.screen = test.screen;

    SystemInfo system(fake.platform);
    system.SetupDpiAwareness();

    EXPECT_EQ(system.DpiVirtualized(), test.expectedVirtualized);
    EXPECT_EQ(fake.display.calls, test.expectedCalls);
    const std::vector<std::string> expectedLines{"************** Win32MinorVersion: " +
                                                 std::to_string(test.version.minor)};
    EXPECT_EQ(fake.debug.lines, test.expectedDebugLine ? expectedLines : std::vector<std::string>{});
  }
}

// --- 64-bit Windows ----------------------------------------------------------------

struct Wow64Case {
  const char* name;
  bool processIs64Bit;
  std::optional<bool> currentIsWow64;  // nullopt: the system has no IsWow64Process
  bool hasRedirectionFunctions;
  bool expectedWow64;
  bool expectedSwitches;
  std::vector<std::string> expectedPortCalls;
};

const std::vector<std::string> kDisableAndRevert{"disable", "revert"};

TEST(Wow64Test, RedirectionSwitchesWorkOnlyForA32BitProgramOn64BitWindows) {
  const Wow64Case cases[] = {{"On64BitWindows", false, true, true, true, true, kDisableAndRevert},
                             {"On32BitWindows", false, false, true, false, false, {}},
                             {"WithoutIsWow64Process", false, std::nullopt, true, false, false, {}},
                             {"WithoutRedirectionFunctions", false, true, false, true, false, kDisableAndRevert},
                             {"The64BitBuild", true, false, true, true, true, {}}};
  for (const Wow64Case& test : cases) {
    SCOPED_TRACE(test.name);
    FakePlatform fake;
    fake.wow64.is64BitProcess = test.processIs64Bit;
    fake.wow64.currentProcessIsWow64 = test.currentIsWow64;
    fake.wow64.hasRedirectionFunctions = test.hasRedirectionFunctions;
    SystemInfo system(fake.platform);

    EXPECT_EQ(system.IsWow64(), test.expectedWow64);
    Wow64RedirectionValue oldValue = 77;
    EXPECT_EQ(system.DisableWow64Redirection(oldValue), test.expectedSwitches);
    EXPECT_EQ(system.RevertWow64Redirection(oldValue), test.expectedSwitches);
    EXPECT_EQ(fake.wow64.redirectionCalls, test.expectedPortCalls);
    EXPECT_FALSE(fake.wow64.redirectionDisabled);
    // Asked about itself, the process gets the same answer (when it gets one).
    const bool answers = test.currentIsWow64.has_value() || test.processIs64Bit;
    bool isWow64 = !test.expectedWow64;
    EXPECT_EQ(system.IsWow64Process(fake.wow64.CurrentProcess(), isWow64), answers);
    if (answers) {
      EXPECT_EQ(isWow64, test.expectedWow64);
    }
  }
}

TEST(Wow64Test, OtherProcessesGetTheSystemsAnswer) {
  FakePlatform fake;
  fake.wow64.is64BitProcess = true;
  fake.wow64.otherProcesses = {{0x124, false}};
  SystemInfo system(fake.platform);
  bool isWow64 = true;
  EXPECT_TRUE(system.IsWow64Process(0x124, isWow64));
  EXPECT_FALSE(isWow64);
  EXPECT_FALSE(system.IsWow64Process(0x999, isWow64));
}

// --- Opening Explorer with a file selected, on each generation of Windows ----

struct SelectCase {
  const char* name;
  std::uint32_t major, minor;
  SelectInFolderResult selectResult;
  bool pathIsFolder;
  std::intptr_t executeResult;
  bool expected;
  bool expectSelectTried;
  const char* call;  // the shell call made when selecting did not do it: "verb file parameters"
};

using R = SelectInFolderResult;

TEST(OpenFolderAndSelectTest, SelectsTheItemElseOpensItsFolderElseStartsExplorer) {
  const std::string explorer = "open C:\\Windows\\explorer.exe  /select,\"C:\\Tools\\Sub\\app.exe\"";
  const SelectCase cases[] = {
      {"XpSelects", 5, 1, R::kOpened, false, 42, true, true, ""},
      {"VistaFailedOnAFolderExploresIt", 6, 0, R::kFailed, true, 42, true, true, "explore C:\\Tools\\Sub "},
      {"ExploreAnswering32Failed", 6, 1, R::kUnavailable, false, 32, false, true, "explore C:\\Tools\\Sub "},
      {"ExploreAnswering33Worked", 6, 1, R::kUnavailable, false, 33, true, true, "explore C:\\Tools\\Sub "},
      {"Server2003FailedStartsExplorer", 5, 2, R::kFailed, false, 2, false, true, explorer.c_str()},
      {"Windows2000DoesNotTrySelecting", 5, 0, R::kOpened, false, 42, true, false, explorer.c_str()},
  };
  for (const SelectCase& test : cases) {
    SCOPED_TRACE(test.name);
    testing::FakePlatform fake;
    fake.system.versionEx.major = test.major;
    fake.system.versionEx.minor = test.minor;
    fake.shell.selectResult = test.selectResult;
    fake.shell.executeResult = test.executeResult;
    const std::string path = test.pathIsFolder ? "C:\\Tools\\Sub" : "C:\\Tools\\Sub\\app.exe";
    fake.files.AddDirectory("C:\\Tools\\Sub");
    fake.files.AddFile("C:\\Tools\\Sub\\app.exe", "MZ");

    EXPECT_EQ(OpenFolderAndSelect(fake.platform, path), test.expected);

    EXPECT_EQ(fake.shell.selectedItems,
              test.expectSelectTried ? std::vector<std::string>{path} : std::vector<std::string>{});
    std::string calls;
    for (const auto& call : fake.shell.executed) calls += call.verb + " " + call.file + " " + call.parameters;
    EXPECT_EQ(calls, test.call);
  }
}

}  // namespace
}  // namespace bootmark
