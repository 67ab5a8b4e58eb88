#pragma once
// A DLL loaded for one piece of work and freed when the object goes out of scope.
//
// Libraries of the suite are loaded by their full path only, never by a bare name
// that the loader would search for beside the program, in the current folder or
// along PATH. The altered search path lets such a library find its own
// dependencies in its own folder. System libraries are taken from the system
// folder (FromSystemFolder).
#include <windows.h>

#include <string>
#include <utility>

namespace bootmark::win32 {

class LoadedLibrary {
 public:
  // Loads the library at `fullPath`; Loaded() is false when it cannot be.
  explicit LoadedLibrary(const std::wstring& fullPath)
      : module_(::LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}

  // The library of that name in the system folder.
  static LoadedLibrary FromSystemFolder(const wchar_t* name) {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return LoadedLibrary();
    std::wstring path(folder, length);
    if (path.back() != L'\\') path += L'\\';
    return LoadedLibrary(path + name);
  }

  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  LoadedLibrary(LoadedLibrary&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  LoadedLibrary& operator=(LoadedLibrary&& other) noexcept {
    if (this != &other) {
      Free();
      module_ = std::exchange(other.module_, nullptr);
    }
    return *this;
  }
  ~LoadedLibrary() { Free(); }

  bool Loaded() const { return module_ != nullptr; }
  HMODULE Get() const { return module_; }

  // The exported function cast to its real type; nullptr when the library is not
  // loaded or has no such export. The pointer is valid while this object lives.
  template <typename Function>
  Function Find(const char* name) const {
    if (module_ == nullptr) return nullptr;
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module_, name)));
  }

 private:
  LoadedLibrary() = default;
  void Free() {
    if (module_ != nullptr) ::FreeLibrary(module_);
    module_ = nullptr;
  }

  HMODULE module_ = nullptr;
};

}  // namespace bootmark::win32
