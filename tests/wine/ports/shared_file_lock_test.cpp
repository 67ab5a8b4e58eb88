// Several processes appending to one alert log at once: each writer is a copy of
// this program that runs only the writer test, told by its environment which log
// to write and under which name.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "alert/alert_log.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "scratch_folder.h"

namespace bootmark::win32 {
namespace {

constexpr int kWriters = 4;
constexpr int kLinesEach = 25;
constexpr wchar_t kLogVariable[] = L"BM_SHARED_LOG";
constexpr wchar_t kWriterVariable[] = L"BM_SHARED_LOG_WRITER";

std::string Variable(const wchar_t* name) { return Win32Environment().GetVariable(Narrow(name)).value_or(""); }

TEST(SharedAlertLogWriter, AppendsItsLines) {
  const std::string log = Variable(kLogVariable);
  if (log.empty()) GTEST_SKIP() << "runs only as a writer process of the test below";
  Win32FileSystem files;
  Win32Clock clock;
  Win32Environment environment;
  for (int i = 0; i < kLinesEach; ++i) {
    AppendAlertLog(files, clock, environment, Variable(kWriterVariable) + " line " + std::to_string(i), log);
  }
}

TEST(SharedAlertLog, ProcessesAppendingAtOnceLoseNoLine) {
  const testing::ScratchFolder folder;
  const std::string log = folder / "smAutoRun.log";
  const std::wstring self = Wide(Win32Environment().ExecutablePath());

  std::vector<UniqueHandle> writers;
  ::SetEnvironmentVariableW(kLogVariable, Wide(log).c_str());
  for (int w = 0; w < kWriters; ++w) {
    ::SetEnvironmentVariableW(kWriterVariable, Wide("writer " + std::to_string(w)).c_str());
    std::wstring commandLine = L"\"" + self + L"\" --gtest_filter=SharedAlertLogWriter.*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process));
    ::CloseHandle(process.hThread);
    writers.emplace_back(process.hProcess);
  }
  ::SetEnvironmentVariableW(kLogVariable, nullptr);
  ::SetEnvironmentVariableW(kWriterVariable, nullptr);
  for (const UniqueHandle& writer : writers) ASSERT_EQ(::WaitForSingleObject(writer.Get(), 120000), WAIT_OBJECT_0);

  Win32FileSystem files;
  const Result<std::string> bytes = files.ReadAll(log);
  ASSERT_TRUE(bytes.ok());
  const std::string text = Narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.value().data() + 2),
                                                    (bytes.value().size() - 2) / 2));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kWriters * kLinesEach);
  for (int w = 0; w < kWriters; ++w) {
    const std::string last = " writer " + std::to_string(w) + " line " + std::to_string(kLinesEach - 1) + "\r\n";
    EXPECT_NE(text.find(last), std::string::npos) << last;
  }
}

}  // namespace
}  // namespace bootmark::win32
