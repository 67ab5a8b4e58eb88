// The restart after a crash while the boot time notice's window framework starts.
#include "app/crash_restart.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

constexpr const char* kProgramDir = "C:\\Program Files\\Tarvo\\Kestrune\\";
constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(CrashRestart, FailureKindsByTheirNames) {
  const std::pair<std::exception_ptr, const char*> thrown[] = {
      {std::make_exception_ptr(std::system_error(5, std::system_category())), "EOSError"},
      {std::make_exception_ptr(std::system_error(1450, std::system_category())), "EOutOfResources"},
      {std::make_exception_ptr(std::ios_base::failure("read")), "EReadError"},
      {std::make_exception_ptr(std::bad_alloc()), "EOutOfMemory"},
      {std::make_exception_ptr(std::runtime_error("x")), "Exception"},
      {std::make_exception_ptr(42), "Unknown"},
  };
  for (const auto& [failure, name] : thrown) EXPECT_EQ(CrashClassName(failure), name);
  EXPECT_EQ(CrashClassNameOfCode(0xC0000005u), "EAccessViolation");
  EXPECT_EQ(CrashClassNameOfCode(0xE0434F4Du), "EExternalException");

  for (const char* name : {"EOutOfResources", "EExternalException", "EOSError", "EReadError", "Unknown", " EOSError "}) {
    EXPECT_TRUE(IsRestartableCrash(name)) << name;
  }
  for (const char* name : {"EAccessViolation", "EOutOfMemory", "Exception", "eoserror", ""}) {
    EXPECT_FALSE(IsRestartableCrash(name)) << name;
  }
}

TEST(CrashRestart, RestartsOnceAnHourWithEnoughMemory) {
  struct Case {
    const char* name;
    const char* className;
    std::uint64_t physicalMiB;
    std::uint64_t virtualMiB;
    const char* lastRestart;  // "ProcessRestart.ini" before; nullptr: none
    std::intptr_t shellResult;
    bool restarted;
  };
  // The clock stands at 45000.5; an hour is 1/24 day.
  const Case cases[] = {
      {"first crash", "EOSError", 4096, 2048, nullptr, 42, true},
      {"an hour later", "EOSError", 4096, 2048, "45000.4583333", 42, true},
      {"within the hour", "EOSError", 4096, 2048, "45000.46", 42, false},
      {"another kind", "EAccessViolation", 4096, 2048, nullptr, 42, false},
      {"little physical memory", "Unknown", 200, 2048, nullptr, 42, false},
      {"little address space", "EReadError", 4096, 200, nullptr, 42, false},
      {"companion missing", "EOSError", 4096, 2048, nullptr, 2, false},
  };
  for (const Case& c : cases) {
    testing::FakePlatform machine;
    machine.files.CreateDirectory("C:\\Program Files");
    machine.files.CreateDirectory("C:\\Program Files\\Tarvo");
    machine.files.CreateDirectory("C:\\Program Files\\Tarvo\\Kestrune");
    const std::string ini = std::string(kProgramDir) + "ProcessRestart.ini";
    if (c.lastRestart != nullptr) {
      machine.profile.WriteString(ini, "Application", "Bootmark.exe", c.lastRestart);
    }
    machine.system.memory = {c.physicalMiB * kMiB + kMiB - 1, c.virtualMiB * kMiB + kMiB - 1};
    machine.shell.executeResult = c.shellResult;
    const ProgramArguments arguments =
        ProgramArguments::FromCommandLine("\"C:\\Program Files\\Tarvo\\Kestrune\\Bootmark.exe\" /BootTask \"a b\"");

    EXPECT_EQ(RestartAfterCrash(machine.platform, arguments, 1, CrashReport{"x", 0, "", c.className}), c.restarted)
        << c.name;

    if (std::string_view(c.className) == "EAccessViolation") {
      EXPECT_FALSE(machine.files.FileExists(ini)) << c.name;
      continue;
    }
    EXPECT_EQ(machine.profile.ReadString(ini, "Application", "Bootmark.exe", ""), "45000.5") << c.name;
    EXPECT_EQ(machine.profile.ReadString(ini, "Application", "Bootmark_StartTime", "gone"), "gone") << c.name;
    const bool launched = !machine.shell.executed.empty();
    EXPECT_EQ(launched, c.restarted || c.shellResult < 32) << c.name;
    if (launched) {
      const auto& run = machine.shell.executed.back();
      EXPECT_EQ(run.verb, "open");
      EXPECT_EQ(run.file, std::string(kProgramDir) + "Lazarun.exe");
      EXPECT_EQ(run.parameters, "Bootmark.exe 1 /BootTask \"a b\"");
      EXPECT_EQ(run.directory, kProgramDir);
      EXPECT_EQ(run.showCommand, 5);
    }
  }
}

}  // namespace
}  // namespace bootmark
