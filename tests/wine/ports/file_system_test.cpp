// The real file system port: the contract every file system port keeps, and the guard
// against writing through links, which only the real one has.
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_file_api.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "contracts/file_system_contract.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "scratch_folder.h"

namespace bootmark::contracts {
namespace {

using win32::Narrow;
using win32::UniqueFileHandle;
using win32::Wide;
using win32::Win32FileSystem;
using win32::testing::FileBytes;
using win32::testing::ScratchFolder;
using win32::testing::WriteFileBytes;

// CreateSymbolicLinkW, which the program's target system version does not declare.
bool MakeFolderLink(const std::string& link, const std::string& target) {
  using CreateLinkFn = BOOLEAN(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
  const auto create = reinterpret_cast<CreateLinkFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CreateSymbolicLinkW")));
  return create != nullptr && create(Wide(link).c_str(), Wide(target).c_str(), 1);
}

// A link planted below a guarded folder, where a folder the program makes later
// belongs, is never written through; nor is a path that a failed folder look-up
// left relative. (Wine does not report file links as reparse points, so a link
// in place of a file is left to the systems that do.)
TEST(Win32FileSystem, WritesRefuseReparsePointsBelowGuardedFolders) {
  ScratchFolder folder, elsewhere;
  Win32FileSystem files;
  files.GuardFoldersBelow([&folder] { return std::vector<std::string>{folder.Path()}; });
  ASSERT_TRUE(MakeFolderLink(folder / "Tarvo", elsewhere.Path()));
  WriteFileBytes(elsewhere / "target.txt", "theirs");

  EXPECT_FALSE(files.ReplaceAll(folder / "Tarvo\\x.ini", "mine"));
  EXPECT_FALSE(files.CreateDirectory(folder / "Tarvo\\Kestrune"));
  EXPECT_FALSE(files.OpenForWriting(folder / "Tarvo\\target.txt"));
  EXPECT_FALSE(files.CopyFile(elsewhere / "target.txt", folder / "Tarvo\\copy.txt", true));
  EXPECT_FALSE(files.ReplaceAll("\\Tarvo\\Kestrune\\x.ini", "mine"));
  EXPECT_EQ(files.FindFiles(elsewhere.Path(), "*"), std::vector<std::string>{"target.txt"});
  EXPECT_TRUE(files.FindFolders(elsewhere.Path()).empty());
  EXPECT_EQ(FileBytes(elsewhere / "target.txt"), "theirs");

  // Real folders below the guarded one take writes as before.
  ASSERT_TRUE(files.CreateDirectory(folder / "Real"));
  EXPECT_TRUE(files.ReplaceAll(folder / "Real\\x.ini", "mine"));
}

// The file system contract on real files: the fake the rule tests use answers as this.
class Win32Env {
 public:
  IFileSystem& Files() { return files_; }
  std::string Folder() const { return folder_.Path(); }
  void Put(const std::string& path, std::string_view bytes) { WriteFileBytes(path, bytes); }
  std::string Bytes(const std::string& path) const { return FileBytes(path); }
  void HoldSharing(const std::string& path, bool held) {
    Hold(path, held, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  }
  void HoldExclusively(const std::string& path, bool held) { Hold(path, held, GENERIC_READ | GENERIC_WRITE, 0); }
  std::string ShortName(const std::string& path) const {
    wchar_t shortPath[MAX_PATH + 1] = {};
    const DWORD length = ::GetShortPathNameW(Wide(path).c_str(), shortPath, MAX_PATH);
    const std::string name = Narrow(std::wstring_view(shortPath, length));
    EXPECT_NE(name.find('~'), std::string::npos) << name;
    return name;
  }

 private:
  void Hold(const std::string& path, bool held, DWORD access, DWORD share) {
    holder_.Reset();
    if (held) holder_.Reset(::CreateFileW(Wide(path).c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
  }
  ScratchFolder folder_;
  Win32FileSystem files_;
  UniqueFileHandle holder_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32Env);

}  // namespace bootmark::contracts
