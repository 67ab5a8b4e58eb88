#pragma once
#include "platform/file_system.h"
#include "platform/win32/write_guard.h"

namespace bootmark::win32 {

// Every write (content, attributes, folders, deletes, copies and moves) is first
// checked by the write guard.
class Win32FileSystem : public IFileSystem {
 public:
  // Refuses writes through reparse points below these folders (see WriteGuard).
  void GuardFoldersBelow(WriteGuard::FoldersFn folders) { guard_.GuardFoldersBelow(std::move(folders)); }

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
  WriteGuard guard_;
};

}  // namespace bootmark::win32
