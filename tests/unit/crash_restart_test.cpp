// The restart after a crash while the boot time notice's window framework starts.
#include "app/crash_restart.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

constexpr const char* kProgramDir = "C:\\Program Files\\Tarvo\\Kestrune\\";

TEST(CrashRestart, RestartsOnceAnHourWithEnoughMemory) {
  const struct {
    const char* className;
    std::uint64_t physicalMiB, virtualMiB;
    const char* lastRestart;  // nullptr: none; the clock stands at 45000.5
    std::intptr_t shellResult;
    bool restarted;
  } cases[] = {
      {"EOSError", 4096, 2048, nullptr, 42, true},        {" Unknown ", 4096, 2048, "45000.4583333", 42, true},
      {"EOSError", 4096, 2048, "45000.46", 42, false},    {"EAccessViolation", 4096, 2048, nullptr, 42, false},
      {"EExternalException", 200, 2048, nullptr, 42, false}, {"EReadError", 4096, 200, nullptr, 42, false},
      {"EOutOfResources", 4096, 2048, nullptr, 2, false},
  };
  for (const auto& c : cases) {
    testing::FakePlatform machine;
    for (const char* folder : {"C:\\Program Files", "C:\\Program Files\\Tarvo", "C:\\Program Files\\Tarvo\\Kestrune"}) {
      machine.files.CreateDirectory(folder);
    }
    const std::string ini = std::string(kProgramDir) + "ProcessRestart.ini";
    if (c.lastRestart != nullptr) machine.profile.WriteString(ini, "Application", "Bootmark.exe", c.lastRestart);
    machine.system.memory = {(c.physicalMiB + 1) * 1024 * 1024 - 1, (c.virtualMiB + 1) * 1024 * 1024 - 1};
    machine.shell.executeResult = c.shellResult;
    const ProgramArguments arguments = ProgramArguments::FromCommandLine("Bootmark.exe /BootTask \"a b\"");

    EXPECT_EQ(RestartAfterCrash(machine.platform, arguments, 1, CrashReport{"x", 0, "", c.className}), c.restarted)
        << c.className;

    const bool considered = std::string_view(c.className) != "EAccessViolation";
    EXPECT_EQ(machine.profile.ReadString(ini, "Application", "Bootmark.exe", ""), considered ? "45000.5" : "");
    EXPECT_EQ(machine.profile.ReadString(ini, "Application", "Bootmark_StartTime", "gone"), "gone");
    EXPECT_EQ(machine.shell.executed.size(), c.restarted || c.shellResult < 32 ? 1u : 0u) << c.className;
    for (const auto& run : machine.shell.executed) {
      EXPECT_EQ(std::tie(run.verb, run.file, run.parameters, run.directory, run.showCommand),
                std::make_tuple("open", std::string(kProgramDir) + "Lazarun.exe",
                                std::string("Bootmark.exe 1 /BootTask \"a b\""), std::string(kProgramDir), 5));
    }
  }
}

}  // namespace
}  // namespace bootmark
