// The real file system port and the in-memory settings file on real files.
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_file_api.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/safe_ini_file.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "scratch_folder.h"

namespace bootmark::win32 {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::Utf16File;
using testing::WriteFileBytes;

TEST(Win32FileSystem, ReplaceAllSwapsContentInOneStepAndLeavesNoTemporaryFile) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "settings.ini";

  ASSERT_TRUE(files.ReplaceAll(path, "first").ok());
  ASSERT_TRUE(files.ReplaceAll(path, "second, longer").ok());
  EXPECT_EQ(FileBytes(path), "second, longer");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"settings.ini"});

  // Hidden and archive attributes of the replaced file stay.
  ASSERT_TRUE(files.SetAttributes(path, file_attr::kHidden | file_attr::kArchive));
  ASSERT_TRUE(files.ReplaceAll(path, "third").ok());
  EXPECT_EQ(files.GetAttributes(path).value_or(0) & (file_attr::kHidden | file_attr::kArchive),
            file_attr::kHidden | file_attr::kArchive);
}

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
  EXPECT_EQ(elsewhere.Entries(), std::vector<std::string>{"target.txt"});
  EXPECT_EQ(FileBytes(elsewhere / "target.txt"), "theirs");

  // Real folders below the guarded one take writes as before.
  ASSERT_TRUE(files.CreateDirectory(folder / "Real"));
  EXPECT_TRUE(files.ReplaceAll(folder / "Real\\x.ini", "mine"));
}

TEST(Win32FileSystem, FailedReplaceKeepsTheOldContent) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "settings.ini";
  WriteFileBytes(path, "old content");

  // A folder that does not exist: nothing may be created.
  EXPECT_FALSE(files.ReplaceAll(folder / "missing\\settings.ini", "x").ok());
  // A read-only file is not replaced.
  ASSERT_TRUE(files.SetAttributes(path, file_attr::kReadOnly));
  EXPECT_FALSE(files.ReplaceAll(path, "new").ok());
  EXPECT_EQ(FileBytes(path), "old content");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"settings.ini"});
}

TEST(Win32FileSystem, ReadsFilesOthersHoldOpenButReportsLockedOnes) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "shared.ini";
  WriteFileBytes(path, "abc");

  // The suite keeps files open for writing while sharing them.
  UniqueFileHandle shared(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(files.ReadAll(path).value_or("<failed>"), "abc");
  shared.Reset();

  const UniqueFileHandle exclusive(
      ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(exclusive);
  const Result<std::string> refused = files.ReadAll(path);
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.error(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
}

TEST(Win32FileSystem, CreateIfMissingNeverTruncates) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "new.ini";
  ASSERT_TRUE(files.CreateIfMissing(path, "\xFF\xFE").ok());
  EXPECT_EQ(FileBytes(path), "\xFF\xFE");
  ASSERT_TRUE(files.CreateIfMissing(path, "other").ok());
  EXPECT_EQ(FileBytes(path), "\xFF\xFE");
}

TEST(Win32FileSystem, WriterKeepsOtherWritersOutButLetsReadersIn) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "Bootmark.log";
  Result<std::unique_ptr<IWriteFile>> opened = files.OpenForWriting(path);
  ASSERT_TRUE(opened) << opened.error();
  std::unique_ptr<IWriteFile> writer = std::move(opened).value();
  ASSERT_TRUE(writer->Append("\xFF\xFE"));
  ASSERT_TRUE(writer->Append(std::string_view("a\0", 2)));
  EXPECT_EQ(writer->Size(), 4u);

  const Result<std::unique_ptr<IWriteFile>> second = files.OpenForWriting(path);
  EXPECT_FALSE(second.ok());
  EXPECT_EQ(second.error(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(files.ReadAll(path).value_or(""), std::string("\xFF\xFE" "a\0", 4));

  // Rotation copies the open file aside and empties it.
  EXPECT_TRUE(files.CopyFile(path, path + ".bak1", true));
  EXPECT_TRUE(writer->Truncate());
  EXPECT_EQ(writer->Size(), 0u);
  writer.reset();
  EXPECT_EQ(FileBytes(path + ".bak1"), std::string("\xFF\xFE" "a\0", 4));
  EXPECT_FALSE(files.CopyFile(path, path + ".bak1", false));
  EXPECT_FALSE(files.MoveFile(path, path + ".bak1"));
  EXPECT_TRUE(files.MoveFile(path + ".bak1", path + ".bak2"));
  EXPECT_FALSE(files.FileExists(path + ".bak1"));
}

TEST(Win32FileSystem, FindFilesListsMatchingFilesOnly) {
  ScratchFolder folder;
  Win32FileSystem files;
  for (const char* name : {"English.lng", "Deutsch.LNG", "notes.txt"}) WriteFileBytes(folder / name, "x");
  ASSERT_TRUE(files.CreateDirectory(folder / "Folder.lng"));
  std::vector<std::string> found = files.FindFiles(folder.Path(), "*.lng");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"Deutsch.LNG", "English.lng"}));
  EXPECT_TRUE(files.FindFiles(folder / "missing", "*.lng").empty());
}

TEST(Win32FileSystem, LongPathNameReplacesTheShortNames) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "A Long File Name.exe";
  WriteFileBytes(path, "MZ");
  wchar_t shortPath[MAX_PATH + 1] = {};
  const DWORD length = ::GetShortPathNameW(Wide(path).c_str(), shortPath, MAX_PATH);
  ASSERT_GT(length, 0u);
  const std::string shortName = Narrow(std::wstring_view(shortPath, length));
  ASSERT_NE(shortName.find('~'), std::string::npos) << shortName;
  const std::optional<std::string> longName = files.LongPathName(shortName);
  ASSERT_TRUE(longName.has_value());
  EXPECT_TRUE(longName->ends_with("\\A Long File Name.exe")) << *longName;
  EXPECT_FALSE(files.LongPathName(folder / "missing.exe").has_value());
}

TEST(SafeIniFileOnDisk, NewFileInMissingFoldersHoldsOnlyTheByteOrderMark) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "a\\b\\c\\new.ini";
  { TSafeIniFile ini(files, path, TextEncoding::Utf16LE); }
  EXPECT_EQ(FileBytes(path), "\xFF\xFE");
}

TEST(SafeIniFileOnDisk, ReadOnlyHiddenFileIsUpdatedAndKeepsItsAttributes) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "Main.ini";
  WriteFileBytes(path, Utf16File("[Main]\r\nLanguage=English\r\n"));
  ASSERT_TRUE(files.SetAttributes(path, file_attr::kReadOnly | file_attr::kHidden));
  {
    TSafeIniFile ini(files, path);
    ini.WriteString("Main", "Skin", "Blue");
  }
  EXPECT_EQ(FileBytes(path), Utf16File("[Main]\r\nLanguage=English\r\nSkin=Blue\r\n\r\n"));
  EXPECT_EQ(files.GetAttributes(path).value_or(0) & (file_attr::kReadOnly | file_attr::kHidden),
            file_attr::kReadOnly | file_attr::kHidden);
}

TEST(SafeIniFileOnDisk, FileLockedWhileLoadingIsNeverOverwrittenByTheAutomaticSave) {
  ScratchFolder folder;
  Win32FileSystem files;
  const std::string path = folder / "Ignore.ini";
  const std::string original = Utf16File("[Items]\r\nA=1\r\n");
  WriteFileBytes(path, original);

  UniqueFileHandle exclusive(
      ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(exclusive);
  {
    TSafeIniFile ini(files, path, TextEncoding::Utf16LE);
    EXPECT_EQ(ini.LastError(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    exclusive.Reset();  // free to write now: the object must still not save
    ini.WriteString("Items", "B", "1");
  }
  EXPECT_EQ(FileBytes(path), original);
}

}  // namespace
}  // namespace bootmark::win32
