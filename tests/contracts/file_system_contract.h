#pragma once
// What the program expects of a file system port, written once and run against every
// implementation: natively against the fake, under Wine against the Win32 port. A
// difference between the two fails here, not in a rule test that trusts the fake.
//
// An environment type gives the port and what only a test can do to it:
//   IFileSystem& Files();                   the port under test
//   std::string Folder();                   an empty folder, with a trailing backslash
//   void Put(path, bytes);                  a file written by someone else
//   std::string Bytes(path);                the file's content as another reader sees it
//   void HoldSharing(path, bool);           another writer holds it, letting others in
//   void HoldExclusively(path, bool);       another process holds it, letting no one in
//   std::string ShortName(path);            an 8.3 name of an existing file
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace bootmark::contracts {

inline constexpr std::uint32_t kFileNotFound = 2, kPathNotFound = 3, kAccessDenied = 5, kSharingViolation = 32;

template <typename Env>
class FileSystemContract : public ::testing::Test {
 protected:
  std::vector<std::string> Listing(std::string_view pattern = "*") {
    std::vector<std::string> names = env.Files().FindFiles(env.Folder(), pattern);
    std::sort(names.begin(), names.end());
    return names;
  }
  Env env;
};
TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, ReplaceAllSwapsTheContentInOneStepAndKeepsTheAttributes) {
  IFileSystem& files = this->env.Files();
  const std::string path = this->env.Folder() + "settings.ini";
  ASSERT_TRUE(files.ReplaceAll(path, "first").ok());
  ASSERT_TRUE(files.ReplaceAll(path, "second, longer").ok());
  EXPECT_EQ(this->env.Bytes(path), "second, longer");
  EXPECT_EQ(this->Listing(), std::vector<std::string>{"settings.ini"});

  // A hidden file is replaced like any other and stays hidden.
  ASSERT_TRUE(files.SetAttributes(path, file_attr::kHidden | file_attr::kArchive));
  ASSERT_TRUE(files.ReplaceAll(path, "third").ok());
  EXPECT_EQ(this->env.Bytes(path), "third");
  const std::uint32_t compared = file_attr::kReadOnly | file_attr::kHidden | file_attr::kArchive;
  EXPECT_EQ(files.GetAttributes(path).value_or(0) & compared, file_attr::kHidden | file_attr::kArchive);
}

TYPED_TEST_P(FileSystemContract, RefusedWritesKeepWhatWasThere) {
  IFileSystem& files = this->env.Files();
  const std::string folder = this->env.Folder();
  const std::string path = folder + "settings.ini";
  this->env.Put(path, "old content");

  // A missing folder is never made by a write.
  const Result<void> inMissing = files.ReplaceAll(folder + "missing\\settings.ini", "x");
  ASSERT_FALSE(inMissing.ok());
  EXPECT_EQ(inMissing.error(), kPathNotFound);
  EXPECT_FALSE(files.DirectoryExists(folder + "missing"));
  EXPECT_FALSE(files.CreateDirectory(folder + "missing\\deeper"));

  // A read-only file is neither replaced nor opened for writing.
  ASSERT_TRUE(files.SetAttributes(path, file_attr::kReadOnly));
  const Result<void> readOnly = files.ReplaceAll(path, "new");
  ASSERT_FALSE(readOnly.ok());
  EXPECT_EQ(readOnly.error(), kAccessDenied);
  EXPECT_FALSE(files.OpenForWriting(path).ok());
  EXPECT_EQ(this->env.Bytes(path), "old content");
  EXPECT_EQ(this->Listing(), std::vector<std::string>{"settings.ini"});
  ASSERT_TRUE(files.SetAttributes(path, file_attr::kArchive));

  // Creating a file that exists leaves it alone.
  ASSERT_TRUE(files.CreateIfMissing(path, "other").ok());
  EXPECT_EQ(this->env.Bytes(path), "old content");
  ASSERT_TRUE(files.CreateIfMissing(folder + "new.ini", "\xFF\xFE").ok());
  EXPECT_EQ(this->env.Bytes(folder + "new.ini"), "\xFF\xFE");
}

TYPED_TEST_P(FileSystemContract, ReadingFollowsTheSharingOfOtherHolders) {
  IFileSystem& files = this->env.Files();
  const std::string folder = this->env.Folder();
  const std::string path = folder + "shared.ini";
  EXPECT_EQ(files.ReadAll(path).error(), kFileNotFound);
  EXPECT_EQ(files.ReadAll(folder + "missing\\shared.ini").error(), kPathNotFound);
  this->env.Put(path, "abc");

  // The suite keeps files open for writing while sharing them: readable, not writable.
  this->env.HoldSharing(path, true);
  EXPECT_EQ(files.ReadAll(path).value_or("<failed>"), "abc");
  const auto second = files.OpenForWriting(path);
  ASSERT_FALSE(second.ok());
  EXPECT_EQ(second.error(), kSharingViolation);
  this->env.HoldSharing(path, false);

  this->env.HoldExclusively(path, true);
  const Result<std::string> refused = files.ReadAll(path);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error(), kSharingViolation);
  this->env.HoldExclusively(path, false);
  EXPECT_EQ(files.ReadAll(path).value_or("<failed>"), "abc");
}

TYPED_TEST_P(FileSystemContract, OneWriterAtATimeWhileReadersAndCopiesGoOn) {
  IFileSystem& files = this->env.Files();
  const std::string path = this->env.Folder() + "Bootmark.log";
  Result<std::unique_ptr<IWriteFile>> opened = files.OpenForWriting(path);
  ASSERT_TRUE(opened) << opened.error();
  std::unique_ptr<IWriteFile> writer = std::move(opened).value();
  ASSERT_TRUE(writer->Append("\xFF\xFE"));
  ASSERT_TRUE(writer->Append(std::string_view("a\0", 2)));
  EXPECT_EQ(writer->Size(), 4u);

  const auto second = files.OpenForWriting(path);
  ASSERT_FALSE(second.ok());
  EXPECT_EQ(second.error(), kSharingViolation);
  EXPECT_EQ(files.ReadAll(path).value_or(""), std::string("\xFF\xFE" "a\0", 4));

  // Rotation copies the open file aside and empties it.
  EXPECT_TRUE(files.CopyFile(path, path + ".bak1", true));
  EXPECT_TRUE(writer->Truncate());
  EXPECT_EQ(writer->Size(), 0u);
  writer.reset();
  EXPECT_EQ(this->env.Bytes(path + ".bak1"), std::string("\xFF\xFE" "a\0", 4));
  EXPECT_FALSE(files.CopyFile(path, path + ".bak1", false));
  EXPECT_FALSE(files.MoveFile(path, path + ".bak1"));
  EXPECT_TRUE(files.MoveFile(path + ".bak1", path + ".bak2"));
  EXPECT_EQ(this->Listing(), (std::vector<std::string>{"Bootmark.log", "Bootmark.log.bak2"}));
}

TYPED_TEST_P(FileSystemContract, ListingsMatchFilesOnlyAndShortNamesTurnLong) {
  IFileSystem& files = this->env.Files();
  const std::string folder = this->env.Folder();
  for (const char* name : {"English.lng", "Deutsch.LNG", "notes.txt"}) this->env.Put(folder + name, "x");
  ASSERT_TRUE(files.CreateDirectory(folder + "Folder.lng"));
  EXPECT_EQ(this->Listing("*.lng"), (std::vector<std::string>{"Deutsch.LNG", "English.lng"}));
  EXPECT_TRUE(files.FindFiles(folder + "missing", "*.lng").empty());
  EXPECT_EQ(files.FindFolders(folder), std::vector<std::string>{"Folder.lng"});

  const std::string path = folder + "A Long File Name.exe";
  this->env.Put(path, "MZ");
  const std::optional<std::string> longName = files.LongPathName(this->env.ShortName(path));
  ASSERT_TRUE(longName.has_value());
  EXPECT_TRUE(longName->ends_with("\\A Long File Name.exe")) << *longName;
  EXPECT_FALSE(files.LongPathName(folder + "missing.exe").has_value());
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, ReplaceAllSwapsTheContentInOneStepAndKeepsTheAttributes,
                            RefusedWritesKeepWhatWasThere, ReadingFollowsTheSharingOfOtherHolders,
                            OneWriterAtATimeWhileReadersAndCopiesGoOn, ListingsMatchFilesOnlyAndShortNamesTurnLong);

}  // namespace bootmark::contracts
