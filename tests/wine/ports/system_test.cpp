// The small system ports where only the real system can answer: the environment, a
// mutex another account owns, libraries by full path and the system's own reading
// of a command line. (Folders, windows and WM_COPYDATA are seen end to end.)
#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include "base/program_arguments.h"
#include "platform/win32/loaded_library.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_processes.h"

namespace bootmark::win32 {
namespace {

// (The program's own path and command line are read by every end-to-end run.)
TEST(Win32System, EnvironmentVariablesIgnoreCaseAndExpandAsThe32BitProgram) {
  Win32Environment environment;
  ::SetEnvironmentVariableW(L"BOOTMARK_PORT_TEST", L"\u00E9t\u00E9");
  EXPECT_EQ(environment.GetVariable("bootmark_port_test"), "\u00E9t\u00E9");
  EXPECT_FALSE(environment.GetVariable("BOOTMARK_SURELY_UNSET").has_value());
  EXPECT_EQ(environment.ExpandVariables("%BOOTMARK_UNDEFINED%\\a"), "%BOOTMARK_UNDEFINED%\\a");
  const std::string programFiles = environment.ExpandVariables("%ProgramFiles%").value_or("");
  EXPECT_NE(programFiles.find("(x86)"), std::string::npos) << programFiles;
}

// A mutex made under another account that this one may not open: CreateMutexW
// fails with access denied, and that too means another instance runs.
TEST(Win32System, MutexThatCannotBeOpenedCountsAsExisting) {
  Win32Processes processes;
  const std::string name = "_Tarvo_Bootmark_PortTestDenied_" + std::to_string(::GetCurrentProcessId());
  EXPECT_FALSE(processes.CreateOwnedMutex(name + "Free")->AlreadyExisted());
  // An empty access list: nobody, this account included, may open the mutex.
  SECURITY_DESCRIPTOR descriptor{};
  ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ACL acl{};
  ASSERT_TRUE(::InitializeAcl(&acl, sizeof acl, ACL_REVISION));
  ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  const HANDLE other = ::CreateMutexW(&attributes, FALSE, Wide(name).c_str());
  ASSERT_NE(other, nullptr);
  EXPECT_TRUE(processes.CreateOwnedMutex(name)->AlreadyExisted());
  ::CloseHandle(other);
}

TEST(Win32System, LibrariesAreLoadedByFullPathOnly) {
  EXPECT_FALSE(LoadedLibrary(L"version.dll").Loaded());
  EXPECT_FALSE(LoadedLibrary(L".\\version.dll").Loaded());
  EXPECT_FALSE(LoadedLibrary(L"").Loaded());
  EXPECT_TRUE(LoadSystemLibrary(L"version.dll") != nullptr);
}

// The system's own command-line parser gives back every field as it was sent.
TEST(Win32System, QuotedArgumentsRoundTripThroughCommandLineToArgvW) {
  const std::vector<std::string> fields{
      "plain", "", "C:\\Program Files\\a.exe /s", "C:\\Tools\\", "\"C:\\x.exe\" -min", "a\\\"b", "\"\"",
      "\\\\server\\share\\\\", "\u00E9t\u00E9 \"q\"\\"};
  std::string line = "x.exe";
  for (const std::string& field : fields) line += " " + QuoteArgument(field);
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(Wide(line).c_str(), &count);
  ASSERT_NE(arguments, nullptr);
  std::vector<std::string> parsed;
  for (int i = 1; i < count; ++i) parsed.push_back(Narrow(std::wstring_view(arguments[i])));
  ::LocalFree(arguments);
  EXPECT_EQ(parsed, fields);
}

}  // namespace
}  // namespace bootmark::win32
