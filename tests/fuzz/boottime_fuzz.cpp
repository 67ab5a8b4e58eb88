// Arbitrary bytes as the suite's boottime.dat (and as Bootmark's BootTime.ini): the
// item durations and the boot time readers must never crash or hang, never write
// the files they read, and always give a well-formed duration text. An item's
// duration never exceeds a fifth of a known boot time.
// fuzz-max-len: 65536
#include <cmath>

#include "base/text.h"
#include "boottime/boot_time.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kBootTimeDat = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\boottime.dat";
constexpr const char* kBootTimeIni = "C:\\ProgramData\\Tarvo\\Kestrune\\BootTime.ini";

// Tenths of a second of a duration text: "-"? digits ("." one digit 1-9)? "s".
// Aborts on any other form.
std::int64_t ParseDuration(const std::string& text) {
  std::size_t pos = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++pos;
  std::int64_t tenths = 0;
  const std::size_t digitsStart = pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') tenths = tenths * 10 + (text[pos++] - '0');
  Check(pos > digitsStart && pos - digitsStart <= 12);
  Check(pos - digitsStart == 1 || text[digitsStart] != '0');  // no leading zeros
  tenths *= 10;
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    Check(pos < text.size() && text[pos] >= '1' && text[pos] <= '9');
    tenths += text[pos++] - '0';
  }
  Check(pos + 1 == text.size() && text[pos] == 's');
  Check(!negative || tenths != 0);
  return negative ? -tenths : tenths;
}

// The file path of the first item line ("x|path|ms"), to look up a path that is there.
std::string FirstItemPath(const TSafeIniFile& bootTimes) {
  for (const std::string& line : bootTimes.ReadSectionValues(kBootTimeSection)) {
    const std::size_t first = line.find('|');
    const std::size_t second = first == std::string::npos ? first : line.find('|', first + 1);
    if (second != std::string::npos) return line.substr(first + 1, second - first - 1);
  }
  return "C:\\App\\a.exe";
}

BOOTMARK_FUZZ_TARGET(bytes) {
  testing::FakePlatform machine;
  machine.files.AddFile(kBootTimeDat, bytes);
  machine.files.AddFile(kBootTimeIni, bytes);

  TSafeIniFile bootTimes(machine.files);
  bootTimes.LoadFromFile(kBootTimeDat);
  const std::int32_t bootTime = bootTimes.ReadInteger(kBootTimeSection, kBootTimeKey, -1);

  const std::string paths[] = {FirstItemPath(bootTimes), "C:\\Windows\\System32\\svchost.exe -k netsvcs",
                               "svchost.exe", "c:\\app\\A.EXE", ""};
  for (const std::string& path : paths) {
    const std::string duration = GetItemStartupTime(machine.platform, path);
    Check(duration == GetItemStartupTime(bootTimes, path, machine.platform.system.DecimalSeparator()));
    if (duration.empty()) continue;
    const std::int64_t tenths = ParseDuration(duration);
    std::string lower = path;
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    const std::size_t svchost = lower.find("svchost.exe");
    if (bootTime > 0 && (svchost == std::string::npos || svchost == 0)) {
      Check(tenths <= (bootTime / 5 + 50) / 100);
    }
  }

  // The readers of both files.
  const std::string current = ReadCurrentBootTimeText(machine.platform);
  const BootTimeSaving saving = ReadBootTimeSaving(machine.platform);
  Check(saving.faster == (saving.milliseconds > 0));
  Check(saving.seconds == saving.milliseconds / 1000);
  (void)ReadLastBootTime(machine.platform);
  for (const std::string_view key : {kShareDateTimeKey, kOptimizeDateTimeKey, kCleanDateTimeKey, kCleanTypeKey}) {
    const DateTime date = ReadNoticeDate(machine.platform, key);
    Check(std::isfinite(date));
  }
  Check(machine.files.TotalWriteCount() == 0);

  // Writing BootTime.ini over this content: a readable file keeps its other keys
  // and reads back what was written; an unreadable one is left as it was.
  TSafeIniFile before(machine.files);
  before.LoadFromFile(kBootTimeIni);
  WriteLastBootTime(machine.platform, current);
  machine.clock.now = 45731.5;
  WriteNoticeDate(machine.platform, kShareDateTimeKey);
  if (before.LastError() != 0) {
    Check(machine.files.Content(kBootTimeIni) == bytes);
  } else {
    Check(ReadNoticeDate(machine.platform, kShareDateTimeKey) == 45731.5);
    TSafeIniFile after(machine.files);
    after.LoadFromFile(kBootTimeIni);
    Check(after.LastError() == 0);
    Check(after.ReadString(kBootTimeSection, kBootTimeKey, "") == std::string(Trim(current)));
  }
  Check(machine.files.WriteCount(kBootTimeDat) == 0);
}
