// Starting the suite's programs on a real system: as the console user, and the
// statistics program without the suite's library. The suite's programs are stand-ins
// installed for each test in this program's own folder (the suite's folder in the
// test prefix): bmrecorder.exe as "KST.exe" and "Tallyhop3.exe" records how it was
// started, bmtasktype.dll stands for "Quillcore.dll". Which command opens the suite
// and when is a rule, tested natively.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "scratch_folder.h"
#include "suite/statistics.h"
#include "suite/suite_launch.h"

namespace bootmark::win32 {
namespace {

using namespace std::chrono_literals;

std::string ProgramFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ExtractFilePath(Narrow(std::wstring_view(path)));
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::string bytes = testing::FileBytes(path);
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = bytes.find('\n', start);
    lines.push_back(bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// The lines of a file once it has `count` of them (or what it has after 10 s).
std::vector<std::string> WaitForLines(const std::string& path, std::size_t count) {
  const auto until = std::chrono::steady_clock::now() + 10s;
  std::vector<std::string> lines = Lines(path);
  while (lines.size() < count && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(50ms);
    lines = Lines(path);
  }
  return lines;
}

bool Exists(const std::string& path) { return ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Stand-ins of the suite's files in the program folder, removed again with
// everything they recorded.
class SuiteStandIns {
 public:
  SuiteStandIns() : dir_(ProgramFolder()) {}
  ~SuiteStandIns() {
    for (const std::string& name : created_) ::DeleteFileW(Wide(dir_ + name).c_str());
  }
  SuiteStandIns(const SuiteStandIns&) = delete;
  SuiteStandIns& operator=(const SuiteStandIns&) = delete;

  // Copies a test tool of the program folder under one of the suite's names.
  void Install(std::string_view tool, std::string_view name) {
    Track(name);
    ASSERT_TRUE(::CopyFileW(Wide(dir_ + std::string(tool)).c_str(), Wide(Path(name)).c_str(), FALSE))
        << tool << " -> " << name;
  }
  // A file a stand-in writes, removed afterwards.
  std::string Record(std::string_view name) {
    Track(name);
    ::DeleteFileW(Wide(Path(name)).c_str());
    return Path(name);
  }
  std::string Path(std::string_view name) const { return dir_ + std::string(name); }
  const std::string& Dir() const { return dir_; }

 private:
  void Track(std::string_view name) { created_.emplace_back(name); }
  std::string dir_;
  std::vector<std::string> created_;
};

// --- Starting the suite as the console user ------------------------------------------

TEST(Win32RunInConsoleSession, NothingStartsWithoutTheProgramOrTheUsersProcess) {
  SuiteStandIns suite;
  suite.Install("bmrecorder.exe", "KST.exe");
  const std::string kstCalls = suite.Record("KST.calls.txt");
  Win32Platform win32;
  EXPECT_EQ(RunInConsoleSession(win32.Get(), "explorer.exe", suite.Path("Missing.exe"), "/StartupNotify"), 0);
  EXPECT_EQ(RunInConsoleSession(win32.Get(), "bm-no-such-process.exe", suite.Path("KST.exe"), "/StartupNotify"),
            -3);
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(Exists(kstCalls));
}

TEST(Win32RunInConsoleSession, StartsTheQuotedProgramAsTheConsoleUser) {
  SuiteStandIns suite;
  ASSERT_NE(suite.Dir().find(' '), std::string::npos) << "the suite's folder should have a blank";
  suite.Install("bmrecorder.exe", "KST.exe");
  const std::string kstCalls = suite.Record("KST.calls.txt");
  // What an unquoted command line would start instead: the first word of the path.
  const std::string trap = suite.Dir().substr(0, suite.Dir().find(' ')) + ".exe";
  const std::string trapCalls = suite.Dir().substr(0, suite.Dir().find(' ')) + ".calls.txt";
  ASSERT_TRUE(::CopyFileW(Wide(suite.Path("bmrecorder.exe")).c_str(), Wide(trap).c_str(), FALSE)) << trap;
  struct RemoveTrap {
    std::string exe, calls;
    ~RemoveTrap() {
      ::DeleteFileW(Wide(exe).c_str());
      ::DeleteFileW(Wide(calls).c_str());
    }
  } removeTrap{trap, trapCalls};

  Win32Platform win32;
  EXPECT_EQ(RunInConsoleSession(win32.Get(), "EXPLORER.EXE", suite.Path("KST.exe"), "/StartupNotify"), 0);
  const std::vector<std::string> calls = WaitForLines(kstCalls, 1);
  ASSERT_EQ(calls.size(), 1u) << "KST.exe did not start";
  EXPECT_EQ(calls[0].substr(0, calls[0].find('\t')), "\"" + suite.Path("KST.exe") + "\" /StartupNotify");
  EXPECT_FALSE(Exists(trapCalls)) << trap << " was started";
}

// --- Usage statistics ------------------------------------------------------------------

TEST(Win32Statistics, WithoutTheSuiteLibraryTheTypeIsUnknown) {
  SuiteStandIns suite;
  suite.Install("bmrecorder.exe", "Tallyhop3.exe");
  const std::string statCalls = suite.Record("Tallyhop3.calls.txt");
  ASSERT_FALSE(Exists(suite.Path("Quillcore.dll")));
  // A library of that name where a search by bare name would find it: the current
  // folder. It must not be taken.
  testing::ScratchFolder elsewhere;
  ASSERT_TRUE(::CopyFileW(Wide(suite.Path("bmtasktype.dll")).c_str(), Wide(elsewhere / "Quillcore.dll").c_str(),
                          FALSE));
  wchar_t previous[MAX_PATH + 1] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(Wide(elsewhere.Path()).c_str()));

  Win32Platform win32;
  StatState state;
  StatInit(win32.Get(), state, kStatisticsProgram);
  ::SetCurrentDirectoryW(previous);
  EXPECT_EQ(state.params.type, 255);
  EXPECT_EQ(state.appId, "");
  EXPECT_EQ(StatSend(win32.Get(), state, "225"), 0);
  const std::vector<std::string> calls = WaitForLines(statCalls, 1);
  ASSERT_EQ(calls.size(), 1u) << "Tallyhop3.exe did not start";
  EXPECT_NE(calls[0].find(" /stflag 225 /appid \"\" /pd \"kst\""), std::string::npos) << calls[0];
  EXPECT_NE(calls[0].find(" /type 255 "), std::string::npos) << calls[0];
}

}  // namespace
}  // namespace bootmark::win32
