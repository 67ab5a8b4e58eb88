#include "platform/win32/win32_file_system.h"

#include "platform/win32/windows_file_api.h"

#include <ntsecapi.h>

#include <algorithm>
#include <string>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::uint32_t LastErrorOr(std::uint32_t fallback) {
  const DWORD error = ::GetLastError();
  return error != 0 ? error : fallback;
}

bool WriteAllTo(HANDLE file, std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
    DWORD done = 0;
    if (!::WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) return false;
    written += done;
  }
  return true;
}

// A temporary file beside the target under a name no one can guess (128 random
// bits), opened create-new: a file planted under any name is never written into.
UniqueFileHandle CreateTemporarySibling(const std::wstring& target, std::wstring& temporary) {
  constexpr int kAttempts = 4;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    unsigned char random[16];
    if (!::RtlGenRandom(random, sizeof random)) return UniqueFileHandle();
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    temporary = target + L".";
    for (const unsigned char byte : random) {
      temporary += kHex[byte >> 4];
      temporary += kHex[byte & 15];
    }
    temporary += L".tmp";
    UniqueFileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return UniqueFileHandle();
}

}  // namespace

bool Win32FileSystem::FileExists(std::string_view path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DirectoryExists(std::string_view path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Result<std::string> Win32FileSystem::ReadAll(std::string_view path) {
  UniqueFileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return SystemError{LastErrorOr(ERROR_OPEN_FAILED)};
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) {
    return SystemError{LastErrorOr(ERROR_FILE_TOO_LARGE)};
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t read = 0;
  while (read < bytes.size()) {
    DWORD done = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - read, 1u << 20));
    if (!::ReadFile(file.Get(), bytes.data() + read, chunk, &done, nullptr)) {
      return SystemError{LastErrorOr(ERROR_READ_FAULT)};
    }
    if (done == 0) break;  // the file shrank while being read
    read += done;
  }
  bytes.resize(read);
  return bytes;
}

Result<void> Win32FileSystem::ReplaceAll(std::string_view path, std::string_view bytes) {
  if (const std::uint32_t refused = guard_.Check(path); refused != 0) return SystemError{refused};
  const std::wstring target = Wide(path);
  // A read-only file is never replaced (not every system's rename refuses it).
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return SystemError{ERROR_ACCESS_DENIED};
  }
  std::wstring temporary;
  {
    UniqueFileHandle file = CreateTemporarySibling(target, temporary);
    if (!file) return SystemError{LastErrorOr(ERROR_WRITE_FAULT)};
    if (!WriteAllTo(file.Get(), bytes) || !::FlushFileBuffers(file.Get())) {
      const std::uint32_t error = LastErrorOr(ERROR_WRITE_FAULT);
      file.Reset();
      ::DeleteFileW(temporary.c_str());
      return SystemError{error};
    }
  }
  // The replaced file's attributes carry over to the new content.
  if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const std::uint32_t error = LastErrorOr(ERROR_WRITE_FAULT);
    ::DeleteFileW(temporary.c_str());
    return SystemError{error};
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_NORMAL) {
    ::SetFileAttributesW(target.c_str(), attributes);
  }
  return {};
}

Result<void> Win32FileSystem::CreateIfMissing(std::string_view path, std::string_view initialBytes) {
  if (const std::uint32_t refused = guard_.Check(path); refused != 0) return SystemError{refused};
  UniqueFileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    if (::GetLastError() == ERROR_FILE_EXISTS) return {};
    return SystemError{LastErrorOr(ERROR_WRITE_FAULT)};
  }
  if (!WriteAllTo(file.Get(), initialBytes)) return SystemError{LastErrorOr(ERROR_WRITE_FAULT)};
  return {};
}

std::optional<std::uint64_t> Win32FileSystem::FileSize(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::uint32_t> Win32FileSystem::GetAttributes(std::string_view path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool Win32FileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  if (!guard_.Allows(path)) return false;
  return ::SetFileAttributesW(Wide(path).c_str(), attributes) != FALSE;
}

bool Win32FileSystem::CreateDirectory(std::string_view path) {
  if (!guard_.Allows(path)) return false;
  const std::wstring folder = Wide(path);
  return ::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Win32FileSystem::DeleteFile(std::string_view path) {
  return guard_.Allows(path) && ::DeleteFileW(Wide(path).c_str()) != FALSE;
}

std::u16string Win32FileSystem::DecodeAnsi(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7FFFFFFF));
  const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()), length);
  return text;
}

namespace {

class Win32WriteFile : public IWriteFile {
 public:
  explicit Win32WriteFile(UniqueFileHandle file) : file_(std::move(file)) {}

  std::uint64_t Size() const override {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(file_.Get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
  }
  bool Append(std::string_view bytes) override {
    LARGE_INTEGER end{};
    return ::SetFilePointerEx(file_.Get(), end, nullptr, FILE_END) && WriteAllTo(file_.Get(), bytes);
  }
  bool Truncate() override {
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN) && ::SetEndOfFile(file_.Get());
  }

 private:
  UniqueFileHandle file_;
};

}  // namespace

Result<std::unique_ptr<IWriteFile>> Win32FileSystem::OpenForWriting(std::string_view path) {
  if (const std::uint32_t refused = guard_.Check(path); refused != 0) return SystemError{refused};
  // A read-only file is refused as Windows refuses it (Wine running as root opens it).
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return SystemError{ERROR_ACCESS_DENIED};
  }
  UniqueFileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return SystemError{LastErrorOr(ERROR_OPEN_FAILED)};
  return std::unique_ptr<IWriteFile>(std::make_unique<Win32WriteFile>(std::move(file)));
}

bool Win32FileSystem::CopyFile(std::string_view from, std::string_view to, bool replace) {
  return guard_.Allows(to) && ::CopyFileW(Wide(from).c_str(), Wide(to).c_str(), replace ? FALSE : TRUE) != FALSE;
}

bool Win32FileSystem::MoveFile(std::string_view from, std::string_view to) {
  return guard_.Allows(from) && guard_.Allows(to) && ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_COPY_ALLOWED) != FALSE;
}

std::vector<std::string> Win32FileSystem::FindFiles(std::string_view folder, std::string_view pattern) {
  std::string query(folder);
  if (!query.empty() && query.back() != '\\') query += '\\';
  query += pattern;

  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const UniqueFindHandle search(::FindFirstFileW(Wide(query).c_str(), &found));
  if (!search.Valid()) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.push_back(Narrow(std::wstring_view(found.cFileName)));
    }
  } while (::FindNextFileW(search.Get(), &found));
  return names;
}

std::vector<std::string> Win32FileSystem::FindFolders(std::string_view folder) {
  std::string query(folder);
  if (!query.empty() && query.back() != '\\') query += '\\';
  query += '*';

  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const UniqueFindHandle search(::FindFirstFileW(Wide(query).c_str(), &found));
  if (!search.Valid()) return names;
  do {
    const std::wstring_view name(found.cFileName);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != L"." && name != L"..") {
      names.push_back(Narrow(name));
    }
  } while (::FindNextFileW(search.Get(), &found));
  return names;
}

std::optional<std::string> Win32FileSystem::SearchFile(std::string_view searchPath, std::string_view name,
                                                       std::string_view defaultExtension) {
  const std::wstring pathText = Wide(searchPath), nameText = Wide(name), extensionText = Wide(defaultExtension);
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD length = ::SearchPathW(pathText.c_str(), nameText.c_str(),
                                       extensionText.empty() ? nullptr : extensionText.c_str(),
                                       static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    buffer.resize(length);
  }
}

std::optional<std::string> Win32FileSystem::LongPathName(std::string_view path) {
  const std::wstring shortPath = Wide(path);
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD length = ::GetLongPathNameW(shortPath.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    buffer.resize(length);
  }
}

}  // namespace bootmark::win32
