// Starting the suite as the console user on a real system. The suite's program is a
// stand-in, bmrecorder.exe copied as "KST.exe" into this program's own folder (the
// suite's folder in the test prefix, which has a blank in its path), that records
// how it was started. Which command opens the suite and when, and which step fails
// first, are rules tested natively; the suite started from a notice by a user is
// seen end to end.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/path.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "scratch_folder.h"
#include "suite/suite_launch.h"

namespace bootmark::win32 {
namespace {

// A copy of the recorder and the file it writes, both removed afterwards.
class Recorder {
 public:
  explicit Recorder(const std::string& exe) : exe_(exe), calls_(exe.substr(0, exe.rfind('.')) + ".calls.txt") {
    ::DeleteFileW(Wide(calls_).c_str());
    const std::string own = Win32Platform().Get().environment.ExecutablePath();
    copied_ = ::CopyFileW(Wide(ExtractFilePath(own) + "bmrecorder.exe").c_str(), Wide(exe).c_str(), FALSE);
  }
  ~Recorder() {
    ::DeleteFileW(Wide(exe_).c_str());
    ::DeleteFileW(Wide(calls_).c_str());
  }
  // The command line of its first start, once it came (or "" after 10 s).
  std::string FirstCall(int waitMs = 10000) const {
    for (int waited = 0; testing::FileBytes(calls_).empty() && waited < waitMs; waited += 50) ::Sleep(50);
    const std::string calls = testing::FileBytes(calls_);
    return calls.substr(0, calls.find('\t'));
  }
  bool copied_ = false;

 private:
  std::string exe_, calls_;
};

TEST(Win32RunInConsoleSession, StartsTheQuotedProgramAsTheConsoleUserOnly) {
  const std::string folder = ExtractFilePath(Win32Platform().Get().environment.ExecutablePath());
  ASSERT_NE(folder.find(' '), std::string::npos) << "the suite's folder should have a blank";
  const Recorder kst(folder + "KST.exe");
  // What an unquoted command line would start instead: the first word of the path.
  const Recorder trap(folder.substr(0, folder.find(' ')) + ".exe");
  ASSERT_TRUE(kst.copied_ && trap.copied_);
  Win32Platform win32;

  EXPECT_EQ(RunInConsoleSession(win32.Get(), "EXPLORER.EXE", folder + "KST.exe", "/StartupNotify"), 0);
  EXPECT_EQ(kst.FirstCall(), "\"" + folder + "KST.exe\" /StartupNotify");
  EXPECT_EQ(trap.FirstCall(0), "");
}

}  // namespace
}  // namespace bootmark::win32
