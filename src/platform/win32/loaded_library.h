#pragma once
// A DLL loaded for one piece of work and freed when the object goes out of scope.
//
// Libraries of the suite are loaded by their full path only, never by a bare name
// that the loader would search for beside the program, in the current folder or
// along PATH. The altered search path lets such a library find its own
// dependencies in its own folder. System libraries are looked up through
// system_library.h instead.
#include <windows.h>

#include <string>

#include "platform/win32/unique_handle.h"

namespace bootmark::win32 {

class LoadedLibrary {
 public:
  // Loads the library at `fullPath`; Loaded() is false when it cannot be. A
  // relative path (say, from an empty program folder) is refused: the system
  // would search for it.
  explicit LoadedLibrary(const std::wstring& fullPath)
      : module_(IsFullPath(fullPath) ? ::LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                                     : nullptr) {}
  LoadedLibrary(LoadedLibrary&&) = default;
  LoadedLibrary& operator=(LoadedLibrary&&) = default;

  bool Loaded() const { return module_.Valid(); }
  HMODULE Get() const { return module_.Get(); }

  // The exported function cast to its real type; nullptr when the library is not
  // loaded or has no such export. The pointer is valid while this object lives.
  template <typename Function>
  Function Find(const char* name) const {
    if (!module_) return nullptr;
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module_.Get(), name)));
  }

 private:
  // "X:\..." or "\\server\share\...".
  static bool IsFullPath(const std::wstring& path) {
    const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') &&
                       path[1] == L':' && path[2] == L'\\';
    return drive || (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\');
  }

  UniqueModule module_;
};

}  // namespace bootmark::win32
