// The time-stamped logs on real files: rotation at 5 MB, and two processes writing
// the same log at once.
//
// The second writer is a real second process: this program starts itself again
// with a filter that runs only LogsOtherProcess.DISABLED_HoldsTheTaskExceptionLog
// (disabled, so an ordinary run skips it). That test opens the log the way the
// program does and keeps it open until told to let go. A second handle inside this
// process would show the sharing rule too, but only another process shows that the
// rule holds across processes, which is where the program meets it.
#include "platform/win32/windows_file_api.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/log_manage.h"
#include "common/logs.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "scratch_folder.h"

namespace bootmark::win32 {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFileBytes;

// Passed to the second process through its environment.
constexpr const wchar_t* kFolderVariable = L"BMPORT_LOG_FOLDER";
constexpr const wchar_t* kHeldEventVariable = L"BMPORT_LOG_HELD_EVENT";
constexpr const wchar_t* kReleaseEventVariable = L"BMPORT_LOG_RELEASE_EVENT";
constexpr DWORD kWaitMs = 30000;

// The program file as the logs see it: the logs lie in its folder.
class ProgramInFolder : public IEnvironment {
 public:
  explicit ProgramInFolder(std::string folder) : folder_(std::move(folder)) {}
  std::optional<std::string> GetVariable(std::string_view) override { return std::nullopt; }
  std::optional<std::string> ExpandVariables(std::string_view text) override { return std::string(text); }
  std::string CommandLine() override { return {}; }
  std::string ExecutablePath() override { return folder_ + "Bootmark.exe"; }

 private:
  std::string folder_;
};

std::string Utf16(std::string_view text) {
  std::string bytes;
  AppendUtf16(bytes, text);
  return bytes;
}

// The text lines of a log file (without time stamps), checking its form on the way:
// byte order mark, then lines "yyyy-mm-dd hh:nn:ss.zzz  text" ending with CR LF.
std::vector<std::string> LogLines(const std::string& path) {
  const std::string bytes = FileBytes(path);
  std::vector<std::string> lines;
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << path;
  if (bytes.size() < 2 || bytes.size() % 2 != 0) return lines;
  const std::string text =
      Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(bytes.data() + 2), (bytes.size() - 2) / 2));
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    EXPECT_NE(end, std::string::npos) << "unterminated line in " << path;
    if (end == std::string::npos) break;
    const std::string line = text.substr(pos, end - pos);
    EXPECT_EQ(line.size() > 25 ? line.substr(4, 1) + line.substr(19, 1) + line.substr(23, 2) : "", "-.  ") << line;
    lines.push_back(line.size() > 25 ? line.substr(25) : line);
    pos = end + 2;
  }
  return lines;
}

TEST(Logs, TraceLogOfFiveMegabytesMovesToItsBackupBeforeTheNextLine) {
  ScratchFolder folder;
  Win32FileSystem files;
  Win32Clock clock;
  const std::string log = folder / "Bootmark.log";
  const std::string backup = folder / "Bootmark.log.bak1";
  WriteFileBytes(backup, "an older backup");

  TLogManage manager(files, clock, folder / "Bootmark.exe");
  // One byte short of 5 MB: the line is appended.
  std::string full = "\xFF\xFE" + std::string(kDefaultLogMaxSize - 3, 'a');
  WriteFileBytes(log, full);
  manager.Write("below the limit");
  full = FileBytes(log);
  ASSERT_GE(full.size(), static_cast<std::size_t>(kDefaultLogMaxSize));
  EXPECT_TRUE(full.ends_with(Utf16("  below the limit\r\n")));
  EXPECT_EQ(FileBytes(backup), "an older backup");

  // Now at 5 MB or more: the whole file becomes the backup, the log starts again.
  manager.Write("after rotation");
  EXPECT_EQ(FileBytes(backup), full);
  EXPECT_EQ(LogLines(log), std::vector<std::string>{"after rotation"});
  manager.Write("and on");
  EXPECT_EQ(LogLines(log), (std::vector<std::string>{"after rotation", "and on"}));

  std::vector<std::string> entries = folder.Entries();
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"Bootmark.log", "Bootmark.log.bak1"}));
}

// Runs only in the second process: holds the task exception log open for writing
// until the first process lets it go.
TEST(LogsOtherProcess, DISABLED_HoldsTheTaskExceptionLog) {
  wchar_t folder[MAX_PATH] = {};
  wchar_t held[MAX_PATH] = {};
  wchar_t release[MAX_PATH] = {};
  ASSERT_TRUE(::GetEnvironmentVariableW(kFolderVariable, folder, MAX_PATH) > 0);
  ASSERT_TRUE(::GetEnvironmentVariableW(kHeldEventVariable, held, MAX_PATH) > 0);
  ASSERT_TRUE(::GetEnvironmentVariableW(kReleaseEventVariable, release, MAX_PATH) > 0);
  const UniqueHandle heldEvent(::OpenEventW(EVENT_MODIFY_STATE, FALSE, held));
  const UniqueHandle releaseEvent(::OpenEventW(SYNCHRONIZE, FALSE, release));
  ASSERT_TRUE(heldEvent && releaseEvent);

  Win32FileSystem files;
  Win32Clock clock;
  TLogManage log(files, clock, Narrow(std::wstring_view(folder)) + "Bootmark.exe");
  log.SetFileName(Narrow(std::wstring_view(folder)) + "TaskException.log");
  log.SetCloseAfterWrite(false);
  log.Write("written by the other process");
  ASSERT_EQ(log.WriterFileName(), Narrow(std::wstring_view(folder)) + "TaskException.log");
  ::SetEvent(heldEvent.Get());
  ASSERT_EQ(::WaitForSingleObject(releaseEvent.Get(), kWaitMs), WAIT_OBJECT_0);
}

TEST(Logs, ASecondProcessWritingTheTaskExceptionLogGetsTheNextNumberedName) {
  ScratchFolder folder;
  const std::wstring suffix = std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount());
  const std::wstring heldName = L"bmporttests-log-held-" + suffix;
  const std::wstring releaseName = L"bmporttests-log-release-" + suffix;
  const UniqueHandle held(::CreateEventW(nullptr, TRUE, FALSE, heldName.c_str()));
  const UniqueHandle release(::CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
  ASSERT_TRUE(held && release);
  ::SetEnvironmentVariableW(kFolderVariable, Wide(folder.Path()).c_str());
  ::SetEnvironmentVariableW(kHeldEventVariable, heldName.c_str());
  ::SetEnvironmentVariableW(kReleaseEventVariable, releaseName.c_str());

  // The other process's output goes to a file, shown when it fails.
  const std::string outputPath = folder / "other-process.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueFileHandle output(::CreateFileW(Wide(outputPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(output);
  wchar_t self[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  std::wstring commandLine = L"\"" + std::wstring(self) +
                             L"\" --gtest_filter=LogsOtherProcess.DISABLED_HoldsTheTaskExceptionLog"
                             L" --gtest_also_run_disabled_tests";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = output.Get();
  startup.hStdError = output.Get();
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                               &info));
  const UniqueHandle process(info.hProcess);
  const UniqueHandle thread(info.hThread);
  output.Reset();
  const auto otherOutput = [&] { return "other process:\n" + FileBytes(outputPath); };

  // Wait until the other process holds the log (or has ended, which fails).
  const HANDLE waitFor[] = {held.Get(), process.Get()};
  ASSERT_EQ(::WaitForMultipleObjects(2, waitFor, FALSE, kWaitMs), WAIT_OBJECT_0) << otherOutput();

  Win32FileSystem files;
  Win32Clock clock;
  ProgramInFolder program(folder.Path());
  Logs logs(files, clock, program);
  WriteTaskExceptionLog(logs, "written while the other process holds the log", "TaskException.log");

  ::SetEvent(release.Get());
  ASSERT_EQ(::WaitForSingleObject(process.Get(), kWaitMs), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.Get(), &exitCode);
  EXPECT_EQ(exitCode, 0u) << otherOutput();

  WriteTaskExceptionLog(logs, "written after the other process ended", "TaskException.log");
  EXPECT_EQ(LogLines(folder / "TaskException.log"),
            (std::vector<std::string>{"written by the other process", "written after the other process ended"}));
  EXPECT_EQ(LogLines(folder / "TaskException_1.log"),
            std::vector<std::string>{"written while the other process holds the log"});
}

}  // namespace
}  // namespace bootmark::win32
