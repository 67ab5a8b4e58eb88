#pragma once
// An in-memory IFileSystem with Windows path rules, for tests.
//
// Paths are Windows paths compared without regard to case: "C:\a\b.ini",
// "c:/A/B.INI" and "C:\a\x\..\b.ini" name the same file. Relative paths (".\b.ini",
// "b.ini") start at the current folder "C:\"; "\b.ini" at the root of its drive.
// Drive C: exists from the start; other drives are added with AddDrive.
//
// Failures behave like Windows': reading a missing file fails with 2 (3 when its
// folder is missing too), replacing a read-only file fails with 5
// (access denied), CreateDirectory needs the parent folder. Tests can add more:
//   fs.SetUnreadable(path);    // ReadAll and FileSize fail with 32 (sharing violation)
//   fs.SetWriteFails(path);    // ReplaceAll / CreateIfMissing fail with 112, content kept
//   fs.FailCreateDirectory(path, n);  // the next n CreateDirectory calls on it fail
//   fs.AddShortName(path, "PROGRA~1");  // the file or folder also answers to an 8.3 name
// WriteCount(path) tells how often the file's content was written (every
// ReplaceAll call, failed ones included, and every file CreateIfMissing created),
// so a test can prove that no write happened.
// DecodeAnsi decodes Windows-1252. LockSharedFile holds a real lock (recursive, one
// for all files), so that a test can run two writers of a file at once; it is the
// only member that may be called from several threads.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace bootmark {

class FakeFileSystem : public IFileSystem {
 public:
  static constexpr std::uint32_t kErrorFileNotFound = 2;
  static constexpr std::uint32_t kErrorPathNotFound = 3;
  static constexpr std::uint32_t kErrorAccessDenied = 5;
  static constexpr std::uint32_t kErrorSharingViolation = 32;
  static constexpr std::uint32_t kErrorDiskFull = 112;
  static constexpr std::string_view kCurrentDirectory = "C:\\";

  FakeFileSystem();

  // --- Setting up -------------------------------------------------------------
  // A drive ("D:") whose root then exists.
  void AddDrive(std::string_view root);
  // Creates or overwrites a file, creating its folders. Not counted as a write.
  void AddFile(std::string_view path, std::string_view bytes,
               std::uint32_t attributes = file_attr::kArchive);
  // Creates a folder and its missing parents.
  void AddDirectory(std::string_view path);
  void SetUnreadable(std::string_view path, bool unreadable = true);
  void SetWriteFails(std::string_view path, bool fails = true) { Mark(writeFailures_, path, fails); }
  void FailCreateDirectory(std::string_view path, int times);
  // Another process holds the file open for writing: OpenForWriting fails with 32.
  void HoldOpenForWriting(std::string_view path, bool held = true);
  // The existing file or folder at `path` also answers to `shortName` in its folder,
  // as an 8.3 name does; LongPathName turns it back.
  void AddShortName(std::string_view path, std::string_view shortName);

  // --- Looking ----------------------------------------------------------------
  // Content of a file; nullopt when there is no such file.
  std::optional<std::string> Content(std::string_view path) const;
  // The content decoded by its byte order mark as the program's text files are;
  // "<missing>" when there is no such file, "<undecodable>" when it cannot be read.
  std::string Text(std::string_view path);
  // Writes of the file's content so far (see above).
  int WriteCount(std::string_view path) const;
  int TotalWriteCount() const { return totalWrites_; }
  // CreateDirectory calls for a folder so far.
  int CreateDirectoryCalls(std::string_view path) const;
  // Full paths of all files, sorted without regard to case.
  std::vector<std::string> Files() const;
  // The absolute, normalised form of a path ("C:\a\b.ini").
  std::string FullPath(std::string_view path) const;

  // --- IFileSystem ------------------------------------------------------------
  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
  Result<std::string> ReadAll(std::string_view path) override;
  Result<void> ReplaceAll(std::string_view path, std::string_view bytes) override;
  Result<void> CreateIfMissing(std::string_view path, std::string_view initialBytes) override;
  std::optional<std::uint64_t> FileSize(std::string_view path) override;
  std::optional<std::uint32_t> GetAttributes(std::string_view path) override;
  bool SetAttributes(std::string_view path, std::uint32_t attributes) override;
  bool CreateDirectory(std::string_view path) override;
  bool DeleteFile(std::string_view path) override;
  std::u16string DecodeAnsi(std::string_view bytes) override;
  Result<std::unique_ptr<IWriteFile>> OpenForWriting(std::string_view path) override;
  bool CopyFile(std::string_view from, std::string_view to, bool replace) override;
  bool MoveFile(std::string_view from, std::string_view to) override;
  std::vector<std::string> FindFiles(std::string_view folder, std::string_view pattern) override;
  std::vector<std::string> FindFolders(std::string_view folder) override;
  std::optional<std::string> SearchFile(std::string_view searchPath, std::string_view name,
                                        std::string_view defaultExtension) override;
  std::optional<std::string> LongPathName(std::string_view path) override;
  std::unique_ptr<ISharedFileLock> LockSharedFile(std::string_view path, std::uint32_t waitMs) override;

 private:
  class FakeWriteFile;

  struct Node {
    std::string path;  // full path as first written
    bool directory = false;
    std::string bytes;
    std::uint32_t attributes = 0;
  };

  // Root ("C:\") and the names below it.
  struct Parsed {
    std::string root;
    std::vector<std::string> parts;
  };
  Parsed Parse(std::string_view path) const;
  static std::string Join(const Parsed& parsed, std::size_t count);
  static std::string Key(std::string_view fullPath);

  Node* Find(std::string_view path);
  const Node* Find(std::string_view path) const;
  bool IsRoot(std::string_view path) const;
  bool ParentExists(std::string_view path) const;
  // Adds the path's key to `paths`, or removes it.
  void Mark(std::set<std::string>& paths, std::string_view path, bool marked) const;
  // Why a file's content cannot be written now (0 when it can).
  std::uint32_t WriteBlocked(std::string_view path, const Node* node) const;
  void CountWrite(std::string_view path);

  // A full path with its short names replaced by the long ones.
  std::string LongForm(std::string fullPath) const;
  bool Exists(std::string_view path) const { return IsRoot(path) || Find(path) != nullptr; }
  // The names of the files (or folders) directly in `folder` that match `pattern`.
  std::vector<std::string> ChildNames(std::string_view folder, bool directories, std::string_view pattern) const;

  std::set<std::string> roots_;        // keys of the roots
  std::map<std::string, std::string> shortNames_;  // key of a short full path -> long full path
  std::map<std::string, Node> nodes_;  // by key of the full path
  std::set<std::string> unreadable_;
  std::set<std::string> openForWriting_;  // keys held by a writer (ours or another's)
  std::set<std::string> writeFailures_;
  std::map<std::string, int> writes_;
  std::map<std::string, int> createDirectoryCalls_;
  std::map<std::string, int> createDirectoryFailures_;
  int totalWrites_ = 0;
  std::shared_ptr<std::recursive_timed_mutex> sharedLock_;
};

}  // namespace bootmark
