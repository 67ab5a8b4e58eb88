#include "boottime/boot_time.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "fakes/fake_platform.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::Utf16File;

using testing::FakePlatform;

constexpr const char* kBootTimeDat = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\boottime.dat";
constexpr const char* kBootTimeIni = "C:\\ProgramData\\Tarvo\\Kestrune\\BootTime.ini";

TEST(FormatStartupTime, SecondsWithOneDecimalAndNoTrailingZero) {
  const std::tuple<std::int64_t, char, const char*> cases[] = {
      {3000, '.', "3s"},   {3250, '.', "3.3s"}, {3249, '.', "3.2s"},   {49, '.', "0s"},   {50, '.', "0.1s"},
      {9960, '.', "10s"},  {-500, '.', "-0.5s"}, {-40, '.', "0s"},     {3200, ',', "3,2s"},
  };
  for (const auto& [milliseconds, separator, text] : cases) {
    EXPECT_EQ(FormatStartupTime(milliseconds, separator), text) << milliseconds;
  }
  // The item's time uses the user's decimal separator.
  FakePlatform machine;
  machine.system.decimalSeparator = ',';
  machine.files.AddFile(kBootTimeDat, Utf16File("[main]\r\ncount=1\r\n0=C:\\a.exe|x|3200\r\n"));
  EXPECT_EQ(GetItemStartupTime(machine.platform, "C:\\a.exe"), "3,2s");
}

struct ItemCase {
  const char* name;
  const char* main;  // the [main] section's lines; nullptr: no file
  const char* path;
  const char* expected;
};

TEST(GetItemStartupTime, FindsTheItemsLineCapsItAndAveragesServiceHosts) {
  const ItemCase cases[] = {
      {"capped at a fifth of the boot", "boottime=40000\r\ncount=1\r\n0=x|C:\\App\\a.exe|12000", "C:\\APP\\A.EXE",
       "8s"},
      {"boot time 0: no cap", "boottime=0\r\ncount=1\r\n0=x|C:\\App\\a.exe|12000", "C:\\App\\a.exe", "12s"},
      {"svchost average, whatever its own line says",
       "boottime=100000\r\ncount=4\r\n0=a|C:\\Windows\\System32\\svchost.exe -k one|1000\r\n"
       "1=b|C:\\Windows\\System32\\SVCHOST.EXE -k two|2000\r\n2=c|c:\\windows\\system32\\svchost.exe|4500\r\n"
       "3=d|C:\\Other\\a.exe|9000",
       "C:\\Windows\\System32\\svchost.exe -k one", "2.5s"},
      {"svchost average counts lines beyond count too",
       "count=1\r\n0=a|C:\\svchost.exe|1000\r\n7=b|C:\\svchost.exe|3000", "C:\\Windows\\svchost.exe", "2s"},
      {"svchost at the very start is an ordinary path",
       "count=2\r\n0=a|svchost.exe -k one|1000\r\n1=b|C:\\svchost.exe|5000", "svchost.exe -k one", "1s"},
      {"svchost lines without three fields: the item's own line",
       "count=1\r\n0=a|C:\\svchost.exe|1000|x", "C:\\svchost.exe", ""},
      {"a later line wins", "count=3\r\n0=x|C:\\a.exe|1000\r\n1=x|C:\\b.exe|2000\r\n2=y|C:\\a.exe|3000",
       "C:\\a.exe", "3s"},
      {"lines in key order, not file order", "count=3\r\n2=y|C:\\a.exe|3000\r\n0=x|C:\\a.exe|1000", "C:\\a.exe",
       "3s"},
      {"a later line without three fields does not win",
       "count=3\r\n0=x|C:\\a.exe|1000\r\n1=x|C:\\a.exe\r\n2=x|C:\\a.exe|1|2", "C:\\a.exe", "1s"},
      {"lines beyond count are ignored", "count=1\r\n0=x|C:\\b.exe|1000\r\n1=x|C:\\a.exe|2000", "C:\\a.exe", ""},
      {"count 0", "count=0\r\n0=x|C:\\a.exe|2000", "C:\\a.exe", ""},
      {"path found anywhere in the line", "count=1\r\n0=\"C:\\a.exe\" /tray|x|4000", "c:\\A.exe", "4s"},
      {"empty path matches nothing", "count=1\r\n0=x|C:\\a.exe|2000", "", ""},
      {"no file", nullptr, "C:\\a.exe", ""},
      {"a huge count only visits the lines there are",
       "count=2147483647\r\n0=x|C:\\a.exe|1000\r\n2000000000=x|C:\\a.exe|2000\r\n007=x|C:\\a.exe|9000",
       "C:\\a.exe", "2s"},
  };
  for (const ItemCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform machine;
    if (c.main != nullptr) machine.files.AddFile(kBootTimeDat, Utf16File(std::string("[main]\r\n") + c.main + "\r\n"));
    EXPECT_EQ(GetItemStartupTime(machine.platform, c.path), c.expected);
    EXPECT_EQ(machine.files.FileExists(kBootTimeDat), c.main != nullptr);
  }
}

TEST(BootTimeIni, AnUnreadableFileIsNeverOverwritten) {
  FakePlatform machine;
  const std::string odd("\xFF\xFE[", 3);
  machine.files.AddFile(kBootTimeIni, odd);
  WriteLastBootTime(machine.platform, "1000");
  WriteNoticeDate(machine.platform, kCleanDateTimeKey);
  EXPECT_EQ(machine.files.Content(kBootTimeIni), odd);
  EXPECT_EQ(ReadLastBootTime(machine.platform), 0);
}

// The file always holds "."; where the user's separator is "," that text does not
// convert, so the date counts as long past.
TEST(BootTimeIni, NoticeDatesThatDoNotReadAsDayNumbersCountAsZero) {
  const std::tuple<const char*, char, DateTime> cases[] = {
      {"45731.5", '.', 45731.5}, {"4.57315e4", '.', 45731.5}, {"-1.25", '.', -1.25}, {"45731,5", '.', 0},
      {"", '.', 0},              {"45731.5x", '.', 0},          {"1e999", '.', 0},    {"nan", '.', 0},
      {"45731,5", ',', 45731.5}, {"45731.5", ',', 0},           {"1.000,5", ',', 0},
  };
  for (const auto& [text, separator, expected] : cases) {
    EXPECT_EQ(ParseNoticeDate(text, separator), expected) << text << " " << separator;
  }
}

}  // namespace
}  // namespace bootmark
