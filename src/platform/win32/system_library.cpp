#include "platform/win32/system_library.h"

#include <string>
#include <vector>

namespace bootmark::win32 {

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
