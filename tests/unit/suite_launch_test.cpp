#include "suite/suite_launch.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using testing::FakeDesktop;
using testing::FakePlatform;
using StartedAsUser = std::vector<std::pair<std::uint32_t, std::string>>;

constexpr std::string_view kProgramDir = "C:\\Program Files\\Tarvo\\Kestrune\\";
constexpr std::string_view kSuiteExePath = "C:\\Program Files\\Tarvo\\Kestrune\\KST.exe";

// A running suite gets only the command's message; a closed one is started hidden with the switch.
TEST(OpenSuite, RunningSuiteGetsTheMessageElseIsStartedWithTheSwitchFromItsFolder) {
  // The suite answers to these numbers (with this lParam) and switches only.
  const std::tuple<const char*, SuiteCommand, std::uint32_t, std::intptr_t, const char*> kCommands[] = {
      {"optimiser", SuiteCommand::StartupOptimize(), 1226, 0, "/StartupOptimize"},
      {"junk and registry cleaner", SuiteCommand::Clean(clean_kind::kJunk + clean_kind::kRegistry), 10029, 10,
       "/cache 10"},
  };
  for (const auto& [name, command, message, lParam, switchText] : kCommands) {
    SCOPED_TRACE(name);
    FakePlatform running;
    running.desktop.AddWindow({"TForm_Other", "Kestrune", {}});
    const WindowHandle suite = running.desktop.AddWindow({"TForm_KST", "Kestrune", {}});
    OpenSuite(running.platform, command);
    EXPECT_EQ(running.desktop.posted, (std::vector<FakeDesktop::PostedMessage>{{suite, message, 0, lParam}}));
    EXPECT_TRUE(running.shell.executed.empty());
    EXPECT_TRUE(running.processes.startedAsUser.empty());

    FakePlatform closed;
    closed.desktop.AddWindow({"TForm_KST", "Kestrune 19", {}});  // not the main window
    OpenSuite(closed.platform, command);
    EXPECT_TRUE(closed.desktop.posted.empty());
    ASSERT_EQ(closed.shell.executed.size(), 1u);
    const auto& run = closed.shell.executed[0];
    EXPECT_EQ(run.verb + " " + run.file + " " + run.parameters + " in " + run.directory,
              "open " + std::string(kSuiteExePath) + " " + switchText + " in " + std::string(kProgramDir));
    EXPECT_EQ(run.showCommand, 0);
  }
}

TEST(OpenSuite, OnlyTheSystemAccountStartsTheSuiteInTheConsoleSession) {
  const std::pair<std::optional<std::string>, bool> kUsers[] = {
      {"system", true}, {"systemd", false}, {std::nullopt, false}};
  for (const auto& [user, inConsoleSession] : kUsers) {
    SCOPED_TRACE(user.value_or("(no name)"));
    FakePlatform fake;
    fake.system.userName = user;
    fake.files.AddFile(kSuiteExePath, "MZ");
    fake.processes.running = {{500, "explorer.exe", 1}};
    OpenSuite(fake.platform, SuiteCommand::Clean(10));
    EXPECT_EQ(fake.shell.executed.size(), inConsoleSession ? 0u : 1u);
    EXPECT_EQ(fake.processes.startedAsUser,
              (inConsoleSession ? StartedAsUser{{500, "\"C:\\Program Files\\Tarvo\\Kestrune\\KST.exe\" /cache 10"}}
                                  : StartedAsUser{}));
  }
}

TEST(RunInConsoleSession, ResultsFollowTheStepThatFailed) {
  using Running = testing::FakeProcesses::RunningProcess;
  const std::vector<Running> shell = {{500, "explorer.exe", 1}};  // the console session's shell
  const struct {
    const char* name;
    bool exeExists;
    std::vector<Running> running;
    std::map<std::uint32_t, TokenFailure> failures;
    bool startSucceeds;
    int result;
    std::optional<std::uint32_t> tokenOf;  // the process whose user started the program
  } kCases[] = {
      {"started", true, shell, {}, true, 0, 500},
      {"missing executable: nothing done", false, shell, {}, true, 0, std::nullopt},
      {"nobody at the console", true, {}, {}, true, -3, std::nullopt},
      {"name compared in upper case", true, {{600, "EXPLORER.EXE", 1}}, {}, true, 0, 600},
      {"the console session's shell among others", true,
       {{700, "explorer.exe", 2}, {701, "explorer.exe", 1}, {702, "explorer.exe", 1}}, {}, true, 0, 701},
      {"process not opened", true, shell, {{500, TokenFailure::kProcessNotOpened}}, true, -2, std::nullopt},
      {"token not opened", true, shell, {{500, TokenFailure::kTokenNotOpened}}, true, -1, std::nullopt},
      {"process not created", true, shell, {}, false, 1, 500},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    FakePlatform fake;
    if (c.exeExists) fake.files.AddFile("C:\\Suite Folder\\KST.exe", "MZ");
    fake.processes.running = c.running;
    fake.processes.tokenFailures = c.failures;
    fake.processes.startAsUserSucceeds = c.startSucceeds;
    EXPECT_EQ(RunInConsoleSession(fake.platform, "explorer.exe", "C:\\Suite Folder\\KST.exe", "/StartupNotify"),
              c.result);
    EXPECT_EQ(fake.processes.startedAsUser,
              (c.tokenOf ? StartedAsUser{{*c.tokenOf, "\"C:\\Suite Folder\\KST.exe\" /StartupNotify"}}
                         : StartedAsUser{}));
  }
}

}  // namespace
}  // namespace bootmark
