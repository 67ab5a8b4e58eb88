#pragma once
// Owners of kernel handles, registry keys and system-allocated memory.
#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace bootmark::win32 {

namespace closers {
inline void KernelHandle(HANDLE handle) { ::CloseHandle(handle); }
inline void Search(HANDLE search) { ::FindClose(search); }
inline void RegistryKey(HKEY key) { ::RegCloseKey(key); }
template <typename T>
void LocalMemory(T memory) {
  ::LocalFree(memory);
}
inline void Module(HMODULE module) { ::FreeLibrary(module); }
}  // namespace closers

inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }

// Handles from CreateMutex, CreateProcess, OpenProcess...: NULL on failure.
using UniqueHandle = UniqueResource<HANDLE, closers::KernelHandle>;
// Handles from CreateFile, CreateToolhelp32Snapshot: INVALID_HANDLE_VALUE on failure.
using UniqueFileHandle = UniqueResource<HANDLE, closers::KernelHandle, InvalidHandleValue>;
// A directory search from FindFirstFileW, ended with FindClose.
using UniqueFindHandle = UniqueResource<HANDLE, closers::Search, InvalidHandleValue>;
// An open registry key.
using UniqueRegKey = UniqueResource<HKEY, closers::RegistryKey>;
// Memory the system allocated with LocalAlloc (strings, buffers).
template <typename T>
using UniqueLocal = UniqueResource<T, closers::LocalMemory<T>>;
// A loaded DLL.
using UniqueModule = UniqueResource<HMODULE, closers::Module>;

}  // namespace bootmark::win32
