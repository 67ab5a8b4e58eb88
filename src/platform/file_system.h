#pragma once
// Files and folders, addressed by Windows paths held as UTF-8.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace bootmark {

// Win32 file attribute bits the program cares about.
namespace file_attr {
constexpr std::uint32_t kReadOnly = 0x01;
constexpr std::uint32_t kHidden = 0x02;
constexpr std::uint32_t kSystem = 0x04;
constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kNormal = 0x80;
}  // namespace file_attr

// A file held open for writing at its end. Other processes may read it meanwhile,
// but not write it. Closed when the object is destroyed.
class IWriteFile {
 public:
  virtual ~IWriteFile() = default;
  virtual std::uint64_t Size() const = 0;
  // Appends at the end; false when the system refused (disk full...).
  virtual bool Append(std::string_view bytes) = 0;
  // Cuts the file to 0 bytes.
  virtual bool Truncate() = 0;
};

// An exclusive hold on one file among all of this program's processes (a named
// mutex per file), released when the object is destroyed. Held by the thread that
// took it, and taken again by that thread without waiting.
class ISharedFileLock {
 public:
  virtual ~ISharedFileLock() = default;
};

// How long a read-modify-write waits for another process's hold on the same file.
// A hold not had in time (a writer that hangs) lets the change go on unguarded
// rather than stop the run.
constexpr std::uint32_t kSharedFileLockWaitMs = 5000;

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  virtual bool FileExists(std::string_view path) = 0;
  virtual bool DirectoryExists(std::string_view path) = 0;

  // Reads the whole file; a failure carries the system error code.
  virtual Result<std::string> ReadAll(std::string_view path) = 0;

  // Replaces the file's content in one step: the bytes are written to a
  // temporary file in the same folder which then takes the file's place, so a
  // failure leaves the previous content whole. Attributes other than read-only
  // and hidden are those of the replaced file where the system keeps them.
  virtual Result<void> ReplaceAll(std::string_view path, std::string_view bytes) = 0;

  // Creates the file empty if it is missing (never truncates an existing one)
  // and appends `bytes` when it was created. Used for new settings files.
  virtual Result<void> CreateIfMissing(std::string_view path, std::string_view initialBytes) = 0;

  // Size in bytes, nullopt if the file cannot be opened.
  virtual std::optional<std::uint64_t> FileSize(std::string_view path) = 0;

  // The file_attr bits; nullopt when the path does not exist.
  virtual std::optional<std::uint32_t> GetAttributes(std::string_view path) = 0;
  virtual bool SetAttributes(std::string_view path, std::uint32_t attributes) = 0;

  // Creates one folder (its parent must exist). True if it exists afterwards.
  virtual bool CreateDirectory(std::string_view path) = 0;

  virtual bool DeleteFile(std::string_view path) = 0;

  // Opens the file for writing at its end, creating it if missing, denying other
  // writers. A failure carries the system error code (32 when another writer has it).
  virtual Result<std::unique_ptr<IWriteFile>> OpenForWriting(std::string_view path) = 0;

  // Copies a file; with `replace` false an existing target makes it fail.
  virtual bool CopyFile(std::string_view from, std::string_view to, bool replace) = 0;
  // Renames or moves a file; fails when the target exists.
  virtual bool MoveFile(std::string_view from, std::string_view to) = 0;

  // Names (not paths) of the files in `folder` that match `pattern` ("*" and "?",
  // case ignored), in the order the system lists them. Folders are not listed.
  virtual std::vector<std::string> FindFiles(std::string_view folder, std::string_view pattern) = 0;
  // Names of the sub-folders of `folder` ("." and ".." left out), in the order the
  // system lists them.
  virtual std::vector<std::string> FindFolders(std::string_view folder) = 0;

  // SearchPathW: `name` looked up in the folders of `searchPath` (";"-separated) in
  // their order, or by itself when it has a drive or starts at a root;
  // `defaultExtension` (".exe") is added to a name without extension. The full path
  // found (a folder too), nullopt when nothing is found.
  virtual std::optional<std::string> SearchFile(std::string_view searchPath, std::string_view name,
                                                std::string_view defaultExtension) = 0;
  // GetLongPathNameW: the path with every short (8.3) name replaced by the long
  // one; nullopt when the path does not exist or the call fails.
  virtual std::optional<std::string> LongPathName(std::string_view path) = 0;

  // Decodes text in the system's ANSI code page (files without a byte order mark).
  virtual std::u16string DecodeAnsi(std::string_view bytes) = 0;

  // Waits at most `waitMs` for the hold on `path` (compared without regard to
  // case) that every process of the program takes around reading, changing and
  // rewriting the file, so that two runs cannot drop each other's changes.
  // Nullptr when it could not be had in time.
  virtual std::unique_ptr<ISharedFileLock> LockSharedFile(std::string_view path, std::uint32_t waitMs) = 0;
};

}  // namespace bootmark
