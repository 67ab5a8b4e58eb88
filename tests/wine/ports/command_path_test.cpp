// Command-line path resolution on real files, and the local identity lists from
// the real account and registry calls.
#include <windows.h>
#include <lm.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "common/system_info.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_accounts.h"
#include "platform/win32/win32_platform.h"
#include "scratch_folder.h"
#include "startup/command_path.h"
#include "startup/local_identity.h"

namespace bootmark::win32 {
namespace {

std::string SystemFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  ::GetSystemDirectoryW(path, MAX_PATH);
  return Narrow(std::wstring_view(path));
}

// The files the searches find, made where a machine has them and removed
// afterwards (with the folders made for them). The current folder is a scratch
// folder, so that no bare name is found in it by chance.
class ExampleFiles {
 public:
  ExampleFiles() {
    wchar_t current[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    previousFolder_ = current;
    ::SetCurrentDirectoryW(Wide(scratch_.Path()).c_str());
    Make("C:\\Tools\\agent.exe");
  }
  ~ExampleFiles() {
    for (auto file = files_.rbegin(); file != files_.rend(); ++file) ::DeleteFileW(Wide(*file).c_str());
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
      ::RemoveDirectoryW(Wide(*folder).c_str());
    }
    ::SetCurrentDirectoryW(previousFolder_.c_str());
  }
  ExampleFiles(const ExampleFiles&) = delete;
  ExampleFiles& operator=(const ExampleFiles&) = delete;

 private:
  void Make(const std::string& file) {
    for (std::size_t slash = file.find('\\', 3); slash != std::string::npos; slash = file.find('\\', slash + 1)) {
      const std::string folder = file.substr(0, slash);
      if (::CreateDirectoryW(Wide(folder).c_str(), nullptr)) folders_.push_back(folder);
    }
    if (::GetFileAttributesW(Wide(file).c_str()) != INVALID_FILE_ATTRIBUTES) return;
    testing::WriteFileBytes(file, "MZ");
    files_.push_back(file);
  }

  testing::ScratchFolder scratch_;
  std::wstring previousFolder_;
  std::vector<std::string> files_;
  std::vector<std::string> folders_;
};

TEST(Win32CommandPath, SearchPathAndExpansionFollowTheSystem) {
  ExampleFiles files;
  Win32Platform real;
  TCheckPath checkPath(real.Get());
  // A folder found by the search is no file; a name without extension gets ".exe".
  EXPECT_EQ(checkPath.FindFileOnSearchPath("C:\\Tools"), "");
  EXPECT_TRUE(SameText(checkPath.FindFileOnSearchPath("C:\\Tools\\agent"), "C:\\Tools\\agent.exe"));
  EXPECT_TRUE(SameText(checkPath.FindFileOnSearchPath("svchost"), SystemFolder() + "\\svchost.exe"));
  // Undefined variables stay as they stand.
  EXPECT_EQ(real.Get().environment.ExpandVariables("%BOOTMARK_UNDEFINED%\\a"), "%BOOTMARK_UNDEFINED%\\a");
  // The 64-bit build expands the program folder as the 32-bit program sees it.
  const std::string programFiles = *real.Get().environment.ExpandVariables("%ProgramFiles%");
  if (real.Get().wow64.ProcessIs64Bit()) {
    EXPECT_NE(programFiles.find("(x86)"), std::string::npos) << programFiles;
  }
  // The lists come from the variables, sorted.
  const std::vector<std::string>& folders = checkPath.PathFolders();
  ASSERT_FALSE(folders.empty());
  EXPECT_TRUE(std::is_sorted(folders.begin(), folders.end(), TextLessIgnoreCase()));
}

TEST(Win32Accounts, IdentityListsFollowWhatTheAccountCallsAnswer) {
  Win32Platform real;
  Win32Accounts accounts;
  const LocalUserList users = accounts.EnumerateLocalUsers();
  wchar_t userName[256] = {};
  DWORD userLength = 256;
  ::GetUserNameW(userName, &userLength);
  const Result<LocalUserDetails> details = accounts.GetUserDetails(Narrow(std::wstring_view(userName)));

  SystemInfo system(real.Get());
  const LocalIdentity identity = LoadLocalIdentity(real.Get(), system);
  if (users.status == ERROR_INVALID_LEVEL) {
    // Wine: level 1 is not answered, so no account is listed and the lists stay empty.
    EXPECT_TRUE(users.users.empty());
    EXPECT_TRUE(identity.UserNames.empty());
    EXPECT_TRUE(identity.UserSids.empty());
  } else {
    EXPECT_EQ(users.status, static_cast<std::uint32_t>(NERR_Success));
    EXPECT_FALSE(users.users.empty());
  }
  if (details) {
    EXPECT_EQ(details->sid.rfind("S-1-", 0), 0u) << details->sid;
  } else {
    EXPECT_NE(details.error(), 0u);
  }

  wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
  ASSERT_TRUE(::GetComputerNameW(computer, &computerLength));
  EXPECT_EQ(identity.ComputerName, Narrow(computer, computerLength));

  // The owner as the 64-bit registry holds it.
  std::string owner;
  UniqueRegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_READ | KEY_WOW64_64KEY, key.Put()) == ERROR_SUCCESS) {
    wchar_t text[512] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), L"RegisteredOwner", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
      owner = Narrow(std::wstring_view(text));
    }
  }
  EXPECT_EQ(identity.RegisteredOwner, owner);
}

}  // namespace
}  // namespace bootmark::win32
