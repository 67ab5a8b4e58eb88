#include "platform/win32/system_library.h"

#include <string>
#include <vector>

namespace bootmark::win32 {

void RestrictDllSearch() {
  // kernel32 is always loaded; looked up because the program also runs on
  // systems older than these functions.
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return;
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  if (const auto setDirectory = reinterpret_cast<SetDllDirectoryFn>(
          reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "SetDllDirectoryW")))) {
    setDirectory(L"");
  }
  if (const auto setDefaults = reinterpret_cast<SetDefaultDllDirectoriesFn>(
          reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))) {
    setDefaults(kSearchSystem32);
  }
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  std::vector<wchar_t> folder(MAX_PATH + 1);
  UINT length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length >= folder.size()) {
    folder.resize(length + 1);
    length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  }
  if (length == 0 || length >= folder.size()) return nullptr;
  std::wstring path(folder.data(), length);
  if (path.back() != L'\\') path += L'\\';
  path += name;
  return ::LoadLibraryW(path.c_str());
}

FARPROC FindSystemProc(const wchar_t* library, const char* function) {
  HMODULE module = LoadSystemLibrary(library);
  return module != nullptr ? ::GetProcAddress(module, function) : nullptr;
}

}  // namespace bootmark::win32
