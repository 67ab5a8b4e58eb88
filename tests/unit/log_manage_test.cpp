#include "common/log_manage.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "common/logs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ports.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::Utf16Units;

using testing::FakeClock;
using testing::FakeEnvironment;

constexpr const char* kProgram = "C:\\Program Files\\Tarvo\\Kestrune\\Bootmark.exe";
constexpr const char* kTraceLog = "C:\\Program Files\\Tarvo\\Kestrune\\Bootmark.log";
constexpr const char* kTaskLog = "C:\\Program Files\\Tarvo\\Kestrune\\TaskException.log";
constexpr const char* kDetailSwitch = "C:\\Program Files\\Tarvo\\Kestrune\\detaillog.ldt";
// 2025-03-14 08:05:09.123 local time.
constexpr DateTime kNow = 45730.0 + (8 * 3600 + 5 * 60 + 9.123) / 86400.0;
constexpr const char* kStamp = "2025-03-14 08:05:09.123  ";

// A log file's bytes for the given lines, each as written: time stamp, text, CR LF.
std::string LogBytes(std::initializer_list<std::string_view> lines, bool bom = true) {
  std::string bytes = bom ? "\xFF\xFE" : "";
  for (std::string_view line : lines) bytes += Utf16Units(std::string(kStamp) + std::string(line) + "\r\n");
  return bytes;
}

class LogManageTest : public ::testing::Test {
 protected:
  LogManageTest() {
    files.AddDirectory("C:\\Program Files\\Tarvo\\Kestrune");
    clock.now = kNow;
  }

  std::string Content(std::string_view path) const { return files.Content(path).value_or("<missing>"); }

  FakeFileSystem files;
  FakeClock clock;
};

struct RotationCase {
  const char* name;
  std::size_t size;            // bytes in the log before the line
  bool olderBackup;            // an older ".bak1" exists
  bool rotates;
};

TEST_F(LogManageTest, AFullLogMovesToItsBackupBeforeTheNextLine) {
  const RotationCase cases[] = {
      {"one byte short", kDefaultLogMaxSize - 1, false, false}, {"exactly 5 MB", kDefaultLogMaxSize, false, true},
      {"above 5 MB, older backup replaced", kDefaultLogMaxSize + 1000, true, true},
  };
  const std::string backup = std::string(kTraceLog) + ".bak1";
  for (const RotationCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string before = "\xFF\xFE" + std::string(c.size - 2, 'a');
    files.AddFile(kTraceLog, before);
    files.DeleteFile(backup);
    if (c.olderBackup) files.AddFile(backup, "older backup");

    TLogManage log(files, clock, kProgram);
    log.Write("after");
    if (c.rotates) {
      EXPECT_EQ(Content(backup), before);
      EXPECT_EQ(Content(kTraceLog), LogBytes({"after"}));
    } else {
      EXPECT_FALSE(files.FileExists(backup));
      EXPECT_EQ(Content(kTraceLog), before + LogBytes({"after"}, false));
    }
  }
}

TEST_F(LogManageTest, ALogThatCannotBeBackedUpIsKeptWhole) {
  const std::string full = "\xFF\xFE" + std::string(kDefaultLogMaxSize, 'a');
  files.AddFile(kTraceLog, full);
  files.SetWriteFails(std::string(kTraceLog) + ".bak1");

  TLogManage log(files, clock, kProgram);
  log.Write("line");
  EXPECT_EQ(Content(kTraceLog), full + LogBytes({"line"}, false));
}

struct NumberedNameCase {
  const char* name;
  const char* fileName;                  // the manager's FileName ("" = the program's)
  std::vector<std::string> held;         // files other writers hold
  std::vector<std::string> readOnly;     // files that cannot be opened for writing
  const char* written;
};

TEST_F(LogManageTest, AFileOtherWritersHoldFallsBackToTheNextNumberedName) {
  const std::string dir = "C:\\Program Files\\Tarvo\\Kestrune\\";
  const NumberedNameCase cases[] = {
      {"program's log held", "", {"Bootmark.log"}, {}, "Bootmark_1.log"},
      {"two held", "TaskException.log", {"TaskException.log", "TaskException_1.log"}, {}, "TaskException_2.log"},
      {"numbered name held, plain one free", "TaskException.log", {"TaskException_1.log"}, {}, "TaskException.log"},
      {"read-only file", "TaskException.log", {}, {"TaskException.log"}, "TaskException_1.log"},
      {"name without extension", "trace", {"trace"}, {}, "trace_1.log"},
  };
  for (const NumberedNameCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem fs;
    fs.AddDirectory(dir);
    for (const std::string& held : c.held) {
      fs.AddFile(dir + held, "\xFF\xFE" "other");
      fs.HoldOpenForWriting(dir + held);
    }
    for (const std::string& locked : c.readOnly) {
      fs.AddFile(dir + locked, "\xFF\xFE" "other", file_attr::kReadOnly);
    }

    TLogManage log(fs, clock, kProgram);
    if (*c.fileName != '\0') log.SetFileName(dir + c.fileName);
    log.Write("mine");
    EXPECT_EQ(fs.Content(dir + c.written).value_or("<missing>"), LogBytes({"mine"}));
    for (const std::string& other : c.held) EXPECT_EQ(fs.Content(dir + other), "\xFF\xFE" "other");
  }

  // Every one of the hundred names held: the search ends without a file of its own.
  FakeFileSystem fs;
  fs.AddDirectory(dir);
  for (int n = 0; n < 100; ++n) {
    const std::string held = dir + (n == 0 ? "Bootmark.log" : "Bootmark_" + std::to_string(n) + ".log");
    fs.AddFile(held, "\xFF\xFE" "other");
    fs.HoldOpenForWriting(held);
  }
  TLogManage(fs, clock, kProgram).Write("mine");
  EXPECT_FALSE(fs.FileExists(dir + "Bootmark_100.log"));
}

// A detail line without the switch file is left out (Logs.TraceAndTaskExceptionLogsLieBesideTheProgram).
TEST_F(LogManageTest, DetailLinesNeedTheSwitchFileBesideTheProgram) {
  files.AddFile(kDetailSwitch, "");
  TLogManage(files, clock, kProgram).Write("line", true);
  EXPECT_EQ(Content(kTraceLog), LogBytes({"line"}));
}

TEST_F(LogManageTest, AWriterClosedWithoutContentDeletesItsFile) {
  // Created for nothing.
  std::uint32_t error = 0;
  auto writer = TLogObj::Create(files, clock, kProgram, "C:\\Logs\\new.log", error);
  ASSERT_NE(writer, nullptr);
  EXPECT_TRUE(files.FileExists("C:\\Logs\\new.log"));
  writer.reset();
  EXPECT_FALSE(files.FileExists("C:\\Logs\\new.log"));

  // A file with content stays.
  files.AddFile("C:\\Logs\\kept.log", "x");
  writer = TLogObj::Create(files, clock, kProgram, "C:\\Logs\\kept.log", error);
  writer.reset();
  EXPECT_EQ(Content("C:\\Logs\\kept.log"), "x");
}

TEST_F(LogManageTest, MissingFoldersAreCreatedAndUncreatableFilesWriteNothing) {
  TLogManage log(files, clock, kProgram);
  log.SetFileName("C:\\ProgramData\\Tarvo\\Logs\\deep.log");
  log.Write("line");
  EXPECT_EQ(Content("C:\\ProgramData\\Tarvo\\Logs\\deep.log"), LogBytes({"line"}));

  // No such drive: the line is lost quietly.
  log.SetFileName("Q:\\nowhere.log");
  log.Write("line");
  std::uint32_t error = 0;
  EXPECT_EQ(TLogObj::Create(files, clock, kProgram, "Q:\\nowhere.log", error), nullptr);
  EXPECT_NE(error, 0u);
}

// ---- The process's two logs ----

TEST(Logs, TraceAndTaskExceptionLogsLieBesideTheProgram) {
  FakeFileSystem files;
  files.AddDirectory("C:\\Program Files\\Tarvo\\Kestrune");
  FakeClock clock;
  clock.now = kNow;
  FakeEnvironment environment;
  environment.executablePath = kProgram;
  Logs logs(files, clock, environment);

  WriteTraceLog(logs, "TMainCtl.GetAllData 1");
  WriteTraceLog(logs, "detail", true);
  WriteTaskExceptionLog(logs, "task 1", "TaskException.log");
  // The name of the first call stays.
  WriteTaskExceptionLog(logs, "task 2", "Other.log");

  EXPECT_EQ(files.Content(kTraceLog).value_or(""), LogBytes({"TMainCtl.GetAllData 1"}));
  EXPECT_EQ(files.Content(kTaskLog).value_or(""), LogBytes({"task 1", "task 2"}));
  EXPECT_FALSE(files.FileExists("C:\\Program Files\\Tarvo\\Kestrune\\Other.log"));
}

TEST(LogFormats, TimeStampsAndExtensions) {
  EXPECT_EQ(FormatLogTimeStamp(kNow), "2025-03-14 08:05:09.123");
  const std::pair<const char*, const char*> extensions[] = {
      {"C:\\a\\Bootmark.exe", "C:\\a\\Bootmark.log"}, {"C:\\a.b\\trace", "C:\\a.b\\trace.log"},
      {"C:\\a\\x.tar.gz", "C:\\a\\x.tar.log"}, {"C:name.txt", "C:name.log"},
  };
  for (const auto& [path, expected] : extensions) EXPECT_EQ(ChangeFileExt(path, ".log"), expected);
}

}  // namespace
}  // namespace bootmark
