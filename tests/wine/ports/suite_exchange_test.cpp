// The notification-center message and the hand-over of a new startup item on a real
// system: the real ports, the stand-in of the suite's data-exchange library
// (bmstatewell.dll as "Statewell.dll"), a stand-in suite window (bmprobe.exe
// suite-window) and a stand-in suite program (bmrecorder.exe as "KST.exe"), each
// in a scratch folder that the program takes for its own folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "alert/item_actions.h"
#include "alert/shown_item_records.h"
#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "scratch_folder.h"
#include "suite/notification_center.h"

namespace bootmark::win32 {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFileBytes;

// The folder of the test program, where the stand-ins are installed.
std::string OwnFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ExtractFilePath(Narrow(std::wstring_view(path)));
}

void CopyStandIn(const std::string& tool, const std::string& target) {
  ASSERT_TRUE(::CopyFileW(Wide(OwnFolder() + tool).c_str(), Wide(target).c_str(), FALSE))
      << tool << " is missing beside the test program";
}

// The real environment, except that the running program is seen in `folder`.
class EnvironmentIn : public IEnvironment {
 public:
  EnvironmentIn(IEnvironment& real, std::string folder) : real_(real), folder_(std::move(folder)) {}
  std::optional<std::string> GetVariable(std::string_view name) override { return real_.GetVariable(name); }
  std::optional<std::string> ExpandVariables(std::string_view text) override { return real_.ExpandVariables(text); }
  std::string CommandLine() override { return real_.CommandLine(); }
  std::string ExecutablePath() override { return folder_ + "Bootmark.exe"; }

 private:
  IEnvironment& real_;
  std::string folder_;
};

class RecordedDebug : public IDebugOutput {
 public:
  void Write(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

// Lines of a UTF-8 record file a stand-in writes.
std::vector<std::string> RecordLines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string bytes = FileBytes(path);
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', pos), bytes.size());
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

// Waits up to 15 seconds for a record file to have `count` lines.
std::vector<std::string> WaitForRecord(const std::string& path, std::size_t count) {
  std::vector<std::string> lines;
  for (int i = 0; i < 300 && (lines = RecordLines(path)).size() < count; ++i) ::Sleep(50);
  return lines;
}

class SuiteExchangeTest : public ::testing::Test {
 protected:
  SuiteExchangeTest()
      : environment(win32.Get().environment, programDir.Path()),
        platform{real().files,    real().profile,   environment,          real().clock,    debug,
                 real().shell,    real().processes, real().desktop,       real().system,   real().wow64,
                 real().display,  real().registry,  real().versions,      real().services, real().tasks,
                 real().accounts, real().signer,    real().suiteExchange, real().http},
        userData(GetSuiteUserDataDir(real().shell)) {
    RemoveSuiteFiles();
  }
  ~SuiteExchangeTest() override { RemoveSuiteFiles(); }

  const Platform& real() { return win32.Get(); }
  void RemoveSuiteFiles() {
    for (const char* name : {"ncconfig.ini", "ncconfig2.ini", "Startup Manager\\NewStartupInfo.ini"}) {
      ::DeleteFileW(Wide(userData + name).c_str());
    }
  }

  Win32Platform win32;
  ScratchFolder programDir;
  EnvironmentIn environment;
  RecordedDebug debug;
  Platform platform;
  std::string userData;
};

TEST_F(SuiteExchangeTest, AnsweringSuiteTakesTheMessageAsUtf16WithItsSizeAndAnEmptyReplyBuffer) {
  CopyStandIn("bmstatewell.dll", programDir / "Statewell.dll");
  WriteFileBytes(programDir / "Statewell.reply.txt", "taken \xC3\xA9");
  NewStartupItem item;
  item.FNewItemName = "Upd\xC3\xA4ter";
  item.FNewItemExePath = "C:\\Tools\\upd.exe /s";

  EXPECT_EQ(PostNCMessage(platform, NewItemNCMessage(item)), nc_post::kDelivered);

  const std::vector<std::string> calls = RecordLines(programDir / "Statewell.calls.txt");
  ASSERT_EQ(calls.size(), 1u);
  const std::vector<std::string> fields = SplitText(calls[0], "\t");
  ASSERT_EQ(fields.size(), 5u) << calls[0];
  EXPECT_EQ(fields[0], "Kestrune State");
  const std::string data = fields[4];
  EXPECT_EQ(fields[1], "terminated" + std::to_string((Utf8ToUtf16(data).size() + 1) * 2));
  EXPECT_EQ(fields[2], "4096");
  EXPECT_EQ(fields[3], "empty");
  EXPECT_TRUE(StartsWith(data, "NC_MSG=msgid:3|opid:4|")) << data;
  EXPECT_NE(data.find("|dataEx:1+++Upd\xC3\xA4ter+++C:\\Tools\\upd.exe /s|time:"), std::string::npos) << data;
  EXPECT_EQ(debug.lines, std::vector<std::string>{"SendDataToNotificationCenter Recv : taken \xC3\xA9"});
  EXPECT_EQ(::GetFileAttributesW(Wide(userData + "ncconfig.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SuiteExchangeTest, RefusedOrMissingLibraryLeavesTheMessageInTheSettingsFile) {
  for (const bool installed : {true, false}) {
    SCOPED_TRACE(installed ? "library refuses" : "no library");
    RemoveSuiteFiles();
    ::DeleteFileW(Wide(programDir / "Statewell.dll").c_str());
    if (installed) CopyStandIn("bmstatewell.dll", programDir / "Statewell.dll");
    debug.lines.clear();

    EXPECT_EQ(PostNCMessage(platform, NewItemNCMessage(NewStartupItem{})), nc_post::kStored);

    EXPECT_EQ(debug.lines, std::vector<std::string>{"SendDataToNotificationCenter Recv : "});
    const TSafeIniFile ini(real().files, userData + "ncconfig.ini");
    const std::vector<std::string> keys = ini.ReadSection("Messages");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_TRUE(EndsWithIgnoreCase(keys[0], "_Base")) << keys[0];
    const std::string text = ini.ReadString("Messages", keys[0], "");
    EXPECT_TRUE(StartsWith(text, "msgid:3|opid:4|")) << text;
    EXPECT_NE(text.find("|time:" + keys[0].substr(0, keys[0].size() - 5)), std::string::npos) << text;
    EXPECT_EQ(ini.ReadString("Main", "NCIsClick", ""), "0");
  }
  EXPECT_EQ(RecordLines(programDir / "Statewell.calls.txt").size(), 1u);
}

// A stand-in suite window in its own process, closed again at the end.
class SuiteWindow {
 public:
  explicit SuiteWindow(const std::string& record) {
    std::wstring commandLine = L"\"" + Wide(OwnFolder() + "bmprobe.exe") + L"\" suite-window \"" + Wide(record) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // its window line is not wanted in the test output
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      process_.Reset(info.hProcess);
      const UniqueHandle thread(info.hThread);  // not needed: closed at once
    }
    for (int i = 0; i < 300 && window_ == nullptr; ++i) {
      window_ = ::FindWindowW(L"TForm_KST", L"Kestrune");
      if (window_ == nullptr) ::Sleep(50);
    }
  }
  ~SuiteWindow() {
    if (window_ != nullptr) ::PostMessageW(window_, WM_CLOSE, 0, 0);
    if (process_ && ::WaitForSingleObject(process_.Get(), 5000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process_.Get(), 1);
    }
  }
  SuiteWindow(const SuiteWindow&) = delete;
  SuiteWindow& operator=(const SuiteWindow&) = delete;
  bool Shown() const { return window_ != nullptr; }

 private:
  UniqueHandle process_;
  HWND window_ = nullptr;
};

TEST_F(SuiteExchangeTest, OpenSuiteGetsTheItemInItsFileAndTheMessageAndNoNewProcess) {
  CopyStandIn("bmrecorder.exe", programDir / "KST.exe");
  const SuiteWindow suite(programDir / "suite.record.txt");
  ASSERT_TRUE(suite.Shown());
  std::vector<std::string> statistics;
  NewStartupItem item;
  item.FNewItemType = 4;
  item.FNewItemName = "Tool";
  item.FNewItemExePath = "\"C:\\Tools\\tool.exe\" -min";

  HandOverToSuite(platform, [&](std::string_view id) { statistics.emplace_back(id); }, item);

  EXPECT_EQ(WaitForRecord(programDir / "suite.record.txt", 1), std::vector<std::string>{"33357 0 0"});
  EXPECT_EQ(statistics, std::vector<std::string>{"227"});
  const TSafeIniFile ini(real().files, userData + "Startup Manager\\NewStartupInfo.ini");
  EXPECT_EQ(ini.ReadSectionValues("NewStartupInfo"),
            (std::vector<std::string>{"TYPE=4", "NAME=Tool", "PATH=\"C:\\Tools\\tool.exe\" -min"}));
  EXPECT_EQ(debug.lines,
            std::vector<std::string>{"PostMessage : TYPE :4 NAME : Tool ExePath : \"C:\\Tools\\tool.exe\" -min"});
  ::Sleep(500);
  EXPECT_TRUE(RecordLines(programDir / "KST.calls.txt").empty());
}

TEST_F(SuiteExchangeTest, ClosedSuiteIsStartedFromItsFolderWithTheItemOnTheCommandLine) {
  CopyStandIn("bmrecorder.exe", programDir / "KST.exe");
  ASSERT_EQ(::FindWindowW(L"TForm_KST", L"Kestrune"), nullptr);
  const struct {
    int kind;
    const char* name;
    const char* exe;
    const char* parameters;
  } cases[] = {
      {1, "Updater", "C:\\Program Files\\Upd\\upd.exe /silent",
       "/NewStartupInfo 1 \"Updater\" \"C:\\Program Files\\Upd\\upd.exe /silent\""},
      // The command's own quotes are escaped: the suite gets it back as one field.
      {4, "Tool.lnk", "\"C:\\Tools\\tool.exe\" -min",
       "/NewStartupInfo 4 \"Tool.lnk\" \"\\\"C:\\Tools\\tool.exe\\\" -min\""},
  };
  std::size_t started = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.parameters);
    debug.lines.clear();
    NewStartupItem item;
    item.FNewItemType = c.kind;
    item.FNewItemName = c.name;
    item.FNewItemExePath = c.exe;
    HandOverToSuite(platform, [](std::string_view) {}, item);

    const std::vector<std::string> calls = WaitForRecord(programDir / "KST.calls.txt", ++started);
    ASSERT_EQ(calls.size(), started);
    const std::vector<std::string> fields = SplitText(calls.back(), "\t");
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_TRUE(EndsWithIgnoreCase(fields[0], std::string("KST.exe\" ") + c.parameters) ||
                EndsWithIgnoreCase(fields[0], std::string("KST.exe ") + c.parameters))
        << fields[0];
    EXPECT_TRUE(SameText(IncludeTrailingBackslash(fields[1]), programDir.Path())) << fields[1];
    EXPECT_EQ(debug.lines, std::vector<std::string>{c.parameters});
  }
  EXPECT_EQ(::GetFileAttributesW(Wide(userData + "Startup Manager\\NewStartupInfo.ini").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace bootmark::win32
