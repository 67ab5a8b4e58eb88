#include "suite/statistics.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/version_resource_builder.h"

namespace bootmark {
namespace {

using testing::FakePlatform;

constexpr std::string_view kProgramDir = "C:\\Program Files\\Tarvo\\Kestrune\\";
constexpr std::string_view kTallyhop = "C:\\Program Files\\Tarvo\\Kestrune\\Tallyhop3.exe";
constexpr std::string_view kQuillcoreCall = "C:\\Program Files\\Tarvo\\Kestrune\\Quillcore.dll|GetTaskTypeEx";
constexpr std::string_view kInstallIni = "C:\\ProgramData\\Tarvo\\Install.ini";
constexpr std::string_view kLangDat = "C:\\Program Files\\Tarvo\\Kestrune\\Lang.dat";

std::string KstVersionResource(std::string_view fileVersion) {
  using namespace testing::version_bytes;
  return English({{"FileVersion", std::string(fileVersion)}}, FixedFileInfo(1, 2, 3, 4));
}

// A machine with the whole suite: the statistics program, the type library
// answering `typeCode`, an installation history, a partner and a channel.
void InstallSuite(FakePlatform& fake, std::int32_t typeCode = 0) {
  fake.files.AddFile(kTallyhop, "MZ");
  fake.processes.libraryFunctions[std::string(kQuillcoreCall)] = typeCode;
  fake.files.AddFile(kInstallIni, "[install]\r\nkst19=1\r\n");
  fake.files.AddFile(kLangDat, "[CusLan]\r\npr= acme \r\n");
  fake.registry.SetString(RegistryRoot::LocalMachine, "SOFTWARE\\Tarvo\\Kestrune", "insur", " bank ");
  fake.versions.Set(std::string(kProgramDir) + "KST.EXE", KstVersionResource("19.2.0.7"));
}

StatState Initialised(FakePlatform& fake) {
  StatState state;
  StatInit(fake.platform, state, kStatisticsProgram);
  return state;
}

TEST(StatSend, StartsTheStatisticsProgramWithTheEventAndTheInstallation) {
  FakePlatform fake;
  InstallSuite(fake);
  const StatState state = Initialised(fake);
  EXPECT_EQ(StatSend(fake.platform, state, "231"), 0);
  ASSERT_EQ(fake.processes.started.size(), 1u);
  EXPECT_EQ(fake.processes.started[0].commandLine,
            "\"C:\\Program Files\\Tarvo\\Kestrune\\Tallyhop3.exe\" /statcom /stflag 231 /appid \"kst19\" /pd \"kst\""
            " /url \"https://stats.tarvo.example/usage_v2.php?action=insert\" /user 0 /insur \"bank\" /type 1"
            " /pr \"acme\" /ver \"19.2.0.7\"");
  // Not waited for: a notice that closes right after the event does not lose it.
  EXPECT_EQ(fake.processes.started[0].waitMilliseconds, 1u);
  // The type library is asked once, by its full path, with 0.
  EXPECT_EQ(fake.processes.libraryCalls, std::vector<std::string>{std::string(kQuillcoreCall) + "(0)"});

  // Waiting returns the program's exit code.
  fake.processes.startResult = {true, 7};
  EXPECT_EQ(StatSend(fake.platform, state, "215", "", false, true), 7);
  EXPECT_EQ(fake.processes.started.at(1).waitMilliseconds, kWaitForever);
  // A program that could not be started is not reported when nobody waits.
  fake.processes.startResult = {false, std::nullopt};
  EXPECT_EQ(StatSend(fake.platform, state, "215"), 0);

  // Without "Quillcore.dll" the installation type is unknown and the application id stays empty.
  fake.processes.libraryFunctions.clear();
  EXPECT_EQ(StatSend(fake.platform, Initialised(fake), "225"), 0);
  EXPECT_NE(fake.processes.started.back().commandLine.find(" /appid \"\" /pd \"kst\""), std::string::npos);
}

TEST(StatSend, NothingStartsBeforeSetUpOrWithoutTheStatisticsProgram) {
  FakePlatform fake;
  InstallSuite(fake);
  EXPECT_EQ(StatSend(fake.platform, StatState{}, "215"), -1);

  fake.files.DeleteFile(kTallyhop);
  const StatState state = Initialised(fake);
  EXPECT_TRUE(state.programPath.empty());
  EXPECT_EQ(StatSend(fake.platform, state, "231"), -24);
  EXPECT_TRUE(fake.processes.started.empty());
}

// A name with a drive is the program itself: nothing is looked for in the suite's folder.
TEST(StatInit, ProgramNamesWithADriveAreFullPaths) {
  for (const bool exists : {true, false}) {
    FakePlatform fake;
    fake.files.AddDrive("D:");
    fake.files.AddFile(exists ? "D:\\Stats\\Tallyhop3.exe" : "C:\\Program Files\\Tarvo\\Kestrune\\Tallyhop3.exe", "MZ");
    StatState state;
    StatInit(fake.platform, state, "D:\\Stats\\Tallyhop3.exe");
    EXPECT_EQ(state.programPath, exists ? "D:\\Stats\\Tallyhop3.exe" : "");
  }
}

TEST(InstallType, SuiteLibraryCodesMapToTypes) {
  const std::pair<std::optional<std::int32_t>, int> kCodes[] = {
      {0, 1}, {1, 0}, {2, 3}, {3, 2}, {4, 2}, {5, 4}, {6, 255}, {9, 255}, {10, 1}, {14, 1}, {15, 255}, {-1, 255},
      {std::nullopt, 255},
  };
  for (const auto& [code, type] : kCodes) {
    SCOPED_TRACE(code ? std::to_string(*code) : "missing");
    EXPECT_EQ(MapInstallType(code), type);
  }
}

TEST(InstallHistory, CodeFollowsTheInstalledAndUninstalledVersions) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"[install]\r\nkst19=1\r\n", 0},                                  // this version installed only
      {"[install]\r\nkst19=1\r\n[Uninstall]\r\nkst19=1\r\n", 1},        // installed and uninstalled
      {"[install]\r\nkst18=1\r\n", 2},                                  // an older version installed
      {"[Uninstall]\r\nkst19=1\r\n", 0},                                // only uninstalled
      {"[install]\r\nkst1=1\r\n", 2},                                   // the oldest version
      {"[install]\r\nkst19=1\r\nkst18=2\r\n[Uninstall]\r\nkst19=x\r\n", 0},  // values other than 1 not noted
      {"[install]\r\nkst20=1\r\n", 0},                                  // a newer version is not looked at
  };
  for (const auto& [file, code] : cases) {
    FakePlatform fake;
    fake.files.AddFile(kInstallIni, file);
    EXPECT_EQ(ReadInstallHistoryCode(fake.platform, kInstallIni), code) << file;
  }
}

// Without a file the partner is empty; a blank partner or channel is the default one.
TEST(PartnerAndChannel, BlankOrMissingValuesGiveTheDefaults) {
  FakePlatform fake;
  EXPECT_EQ(ReadPartnerName(fake.platform, kLangDat), "");
  fake.files.AddFile(kLangDat, "[CusLan]\r\npr=   \r\n");
  EXPECT_EQ(ReadPartnerName(fake.platform, kLangDat), "tarvo");
  fake.registry.SetString(RegistryRoot::LocalMachine, "SOFTWARE\\Tarvo\\Kestrune", "insur", "  ");
  EXPECT_EQ(ReadInsuranceChannel(fake.platform), "other");
}

TEST(SuiteVersion, FileVersionOfKstExeOrTheDefault) {
  FakePlatform fake;
  fake.versions.Set("C:\\Program Files\\Tarvo\\Kestrune\\KST.exe", KstVersionResource("19.3.1.20"));
  fake.versions.Set("D:\\Old\\KST.EXE", KstVersionResource("18.0.0.1"));
  EXPECT_EQ(GetSuiteVersion(fake.platform, ""), "19.3.1.20");
  EXPECT_EQ(GetSuiteVersion(fake.platform, "D:\\Old"), "18.0.0.1");
  EXPECT_EQ(GetSuiteVersion(fake.platform, "D:\\Missing\\"), "19.0.0.0");
}

// The fixed parts are those of the first test: the record's extparam alone, then every optional part in its order.
TEST(StatCommandLine, OptionalPartsFollowTheFixedOnes) {
  StatState state;
  state.params.extparam = "k=v";
  const auto optionalParts = [&state](std::string_view extra, bool postNow) {
    const std::string line = BuildStatCommandLine(state, "220", extra, postNow);
    return line.substr(line.find(" /ExtParam"));
  };
  EXPECT_EQ(optionalParts("", false), " /ExtParam \"k=v&\"");
  state.params.CachePath = "C:\\Cache";
  EXPECT_EQ(optionalParts("a=1", true), " /ExtParam \"k=v&a=1\" /postnow /cachepath \"C:\\Cache\"");
}

}  // namespace
}  // namespace bootmark
