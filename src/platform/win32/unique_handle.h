#pragma once
// Thin RAII owners for Win32 handles.
#include <windows.h>

#include <utility>

namespace bootmark::win32 {

// Owns a kernel handle closed with CloseHandle. `Invalid` is the value that
// means "no handle" for the API that produced it (NULL or INVALID_HANDLE_VALUE).
template <HANDLE (*Invalid)()>
class BasicHandle {
 public:
  BasicHandle() = default;
  explicit BasicHandle(HANDLE handle) : handle_(handle) {}
  BasicHandle(const BasicHandle&) = delete;
  BasicHandle& operator=(const BasicHandle&) = delete;
  BasicHandle(BasicHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid())) {}
  BasicHandle& operator=(BasicHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Invalid()));
    return *this;
  }
  ~BasicHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != Invalid(); }
  explicit operator bool() const { return Valid(); }
  void Reset(HANDLE handle = Invalid()) {
    if (Valid()) ::CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = Invalid();
};

inline HANDLE NullHandleValue() { return nullptr; }
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }

// Handles from CreateMutex, CreateProcess, OpenProcess...: NULL on failure.
using UniqueHandle = BasicHandle<NullHandleValue>;
// Handles from CreateFile, CreateToolhelp32Snapshot: INVALID_HANDLE_VALUE on failure.
using UniqueFileHandle = BasicHandle<InvalidHandleValue>;

// A directory search from FindFirstFileW, ended with FindClose.
class UniqueFindHandle {
 public:
  explicit UniqueFindHandle(HANDLE search) : search_(search) {}
  UniqueFindHandle(const UniqueFindHandle&) = delete;
  UniqueFindHandle& operator=(const UniqueFindHandle&) = delete;
  ~UniqueFindHandle() {
    if (Valid()) ::FindClose(search_);
  }
  HANDLE Get() const { return search_; }
  bool Valid() const { return search_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE search_;
};

}  // namespace bootmark::win32
