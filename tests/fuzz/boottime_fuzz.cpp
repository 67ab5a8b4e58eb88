// Arbitrary bytes as the suite's boottime.dat (and as Bootmark's BootTime.ini): the
// item durations and the boot time readers must never crash or hang, never write
// the files they read, and both ways of asking for an item's duration agree.
// fuzz-max-len: 65536
#include <cmath>

#include "boottime/boot_time.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kBootTimeDat = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\boottime.dat";
constexpr const char* kBootTimeIni = "C:\\ProgramData\\Tarvo\\Kestrune\\BootTime.ini";

BOOTMARK_FUZZ_TARGET(bytes) {
  testing::FakePlatform machine;
  machine.files.AddFile(kBootTimeDat, bytes);
  machine.files.AddFile(kBootTimeIni, bytes);

  TSafeIniFile bootTimes(machine.files);
  bootTimes.LoadFromFile(kBootTimeDat);
  for (const char* path : {"C:\\App\\a.exe", "C:\\Windows\\System32\\svchost.exe -k netsvcs", "svchost.exe", ""}) {
    const std::string duration = GetItemStartupTime(machine.platform, path);
    Check(duration == GetItemStartupTime(bootTimes, path, machine.platform.system.DecimalSeparator()));
  }

  const std::string current = ReadCurrentBootTimeText(machine.platform);
  ReadBootTimeSaving(machine.platform);
  (void)ReadLastBootTime(machine.platform);
  for (const std::string_view key : {kShareDateTimeKey, kOptimizeDateTimeKey, kCleanDateTimeKey, kCleanTypeKey}) {
    Check(std::isfinite(ReadNoticeDate(machine.platform, key)));
  }
  Check(machine.files.TotalWriteCount() == 0);

  WriteLastBootTime(machine.platform, current);
  Check(machine.files.WriteCount(kBootTimeDat) == 0);
}
