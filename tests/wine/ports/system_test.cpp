// The small system ports: folders, environment, mutexes, the desktop and WM_COPYDATA.
#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include "base/program_arguments.h"
#include "common/data_dirs.h"
#include "platform/win32/loaded_library.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_shell.h"

namespace bootmark::win32 {
namespace {

TEST(Win32System, SuiteFoldersLieBelowTheShellFolders) {
  Win32Shell shell;
  for (const int id : {csidl::kAppData, csidl::kCommonAppData, csidl::kProfile}) {
    SCOPED_TRACE(id);
    const std::string folder = shell.GetSpecialFolderPath(id);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_NE(::GetFileAttributesW(Wide(folder).c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_EQ(GetSuiteUserDataDir(shell), shell.GetSpecialFolderPath(csidl::kAppData) + "\\Tarvo\\Kestrune\\");
  EXPECT_EQ(GetSuiteCommonDataDir(shell),
            shell.GetSpecialFolderPath(csidl::kCommonAppData) + "\\Tarvo\\Kestrune\\");
}

TEST(Win32System, EnvironmentNamesTheRunningProgram) {
  Win32Environment environment;
  const std::string exe = environment.ExecutablePath();
  EXPECT_TRUE(exe.ends_with("\\bmporttests.exe")) << exe;
  EXPECT_EQ(ProgramDir(environment), exe.substr(0, exe.rfind('\\') + 1));
  EXPECT_NE(environment.CommandLine().find("bmporttests"), std::string::npos);
  ::SetEnvironmentVariableW(L"BOOTMARK_PORT_TEST", L"\u00E9t\u00E9");
  EXPECT_EQ(environment.GetVariable("bootmark_port_test"), "\u00E9t\u00E9");
  EXPECT_FALSE(environment.GetVariable("BOOTMARK_SURELY_UNSET").has_value());
}

TEST(Win32System, SecondMutexOfTheSameNameReportsThatItExisted) {
  Win32Processes processes;
  const std::string name = "_Tarvo_Bootmark_PortTest_" + std::to_string(::GetCurrentProcessId());
  const auto first = processes.CreateOwnedMutex(name);
  EXPECT_FALSE(first->AlreadyExisted());
  const auto second = processes.CreateOwnedMutex(name);
  EXPECT_TRUE(second->AlreadyExisted());
}

// A mutex made under another account that this one may not open: CreateMutexW
// fails with access denied, and that too means another instance runs.
TEST(Win32System, MutexThatCannotBeOpenedCountsAsExisting) {
  Win32Processes processes;
  const std::string name = "_Tarvo_Bootmark_PortTestDenied_" + std::to_string(::GetCurrentProcessId());
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

struct ReceivedCopy {
  std::wstring text;
  DWORD bytes = 0;
  ULONG_PTR data = 1;
};

LRESULT CALLBACK RecordCopyData(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* received = reinterpret_cast<ReceivedCopy*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    received->text = static_cast<const wchar_t*>(copy->lpData);
    received->bytes = copy->cbData;
    received->data = copy->dwData;
    return TRUE;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(Win32Desktop, FindsAWindowByClassAndTitleAndSendsItTheText) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = RecordCopyData;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BmPortTestReceiver";
  ::RegisterClassW(&windowClass);
  HWND window = ::CreateWindowExW(0, L"BmPortTestReceiver", L"Receiver \u00E9", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr) << "no display?";
  ReceivedCopy received;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));

  Win32Desktop desktop;
  const WindowHandle found = desktop.FindTopWindow("BmPortTestReceiver", "Receiver \u00E9");
  EXPECT_EQ(found, reinterpret_cast<WindowHandle>(window));
  EXPECT_EQ(desktop.FindTopWindow("BmPortTestReceiver", "Other"), kNoWindow);
  EXPECT_EQ(desktop.ClassName(found), "BmPortTestReceiver");

  desktop.SendCopyDataText(found, "/1 /4E6F7465 /\u00E9");
  EXPECT_EQ(received.text, L"/1 /4E6F7465 /\u00E9");
  EXPECT_EQ(received.bytes, (received.text.size() + 1) * 2);
  EXPECT_EQ(received.data, 0u);
  ::DestroyWindow(window);
}

TEST(Win32Desktop, ScreenAndDesktopAreKnown) {
  Win32Desktop desktop;
  const Size screen = desktop.PrimaryScreenSize();
  EXPECT_GT(screen.width, 0);
  EXPECT_GT(screen.height, 0);
  const auto rect = desktop.WindowRect(desktop.DesktopWindow());
  ASSERT_TRUE(rect.has_value());
  EXPECT_EQ(rect->Width(), screen.width);
  EXPECT_FALSE(desktop.WindowRect(kNoWindow).has_value());
}

}  // namespace
}  // namespace bootmark::win32
