#pragma once
// Files and folders, addressed by Windows paths held as UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// Result of an operation that can fail with a Win32 error code (0 = success).
struct IoResult {
  std::uint32_t error = 0;
  bool ok() const { return error == 0; }
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  virtual bool FileExists(std::string_view path) = 0;
  virtual bool DirectoryExists(std::string_view path) = 0;

  // Reads the whole file. On failure returns nullopt and sets `error` to the
  // system error code (never 0).
  virtual std::optional<std::string> ReadAll(std::string_view path, std::uint32_t& error) = 0;

  // Replaces the file's content in one step: the bytes are written to a
  // temporary file in the same folder which then takes the file's place, so a
  // failure leaves the previous content whole. Attributes other than read-only
  // and hidden are those of the replaced file where the system keeps them.
  virtual IoResult ReplaceAll(std::string_view path, std::string_view bytes) = 0;

  // Creates the file empty if it is missing (never truncates an existing one)
  // and appends `bytes` when it was created. Used for new settings files.
  virtual IoResult CreateIfMissing(std::string_view path, std::string_view initialBytes) = 0;

  // Size in bytes, nullopt if the file cannot be opened.
  virtual std::optional<std::uint64_t> FileSize(std::string_view path) = 0;

  // INVALID_FILE_ATTRIBUTES (0xFFFFFFFF) when the path does not exist.
  virtual std::uint32_t GetAttributes(std::string_view path) = 0;
  virtual bool SetAttributes(std::string_view path, std::uint32_t attributes) = 0;

  // Creates one folder (its parent must exist). True if it exists afterwards.
  virtual bool CreateDirectory(std::string_view path) = 0;

  virtual bool DeleteFile(std::string_view path) = 0;

  // Decodes text in the system's ANSI code page (files without a byte order mark).
  virtual std::u16string DecodeAnsi(std::string_view bytes) = 0;
};

constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

}  // namespace bootmark
