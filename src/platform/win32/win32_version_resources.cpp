#include "platform/win32/win32_version_resources.h"

#include <windows.h>
#include <winver.h>

#include "platform/win32/wide.h"

namespace bootmark::win32 {

std::optional<std::string> Win32VersionResources::ReadVersionResource(std::string_view path) {
  const std::wstring file = Wide(path);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::string bytes(size, '\0');
  if (!::GetFileVersionInfoW(file.c_str(), 0, size, bytes.data())) return std::nullopt;
  return bytes;
}

}  // namespace bootmark::win32
