#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// The port's method has the plain name; the A/W macro would rename it.
#undef ShellExecute

#include "platform/win32/com_ptr.h"
#include "platform/win32/system_library.h"
#include "platform/win32/unique_resource.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {

std::string Win32Shell::GetSpecialFolderPath(int csidl) {
#ifdef _WIN64
  // The shipped 32-bit program gets the "(x86)" program folders on 64-bit
  // Windows; the 64-bit build asks for those by their own ids to see the same.
  if (csidl == CSIDL_PROGRAM_FILES) csidl = CSIDL_PROGRAM_FILESX86;
  if (csidl == CSIDL_PROGRAM_FILES_COMMON) csidl = CSIDL_PROGRAM_FILES_COMMONX86;
#endif
  wchar_t path[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return {};
  std::string folder = Narrow(std::wstring_view(path));
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::intptr_t Win32Shell::ShellExecute(WindowHandle owner, std::string_view verb, std::string_view file,
                                       std::string_view parameters, std::string_view directory, int showCommand) {
  const std::wstring verbText = Wide(verb), fileText = Wide(file), parameterText = Wide(parameters),
                     directoryText = Wide(directory);
  const auto orNone = [](const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); };
  HINSTANCE result = ::ShellExecuteW(reinterpret_cast<HWND>(owner), orNone(verbText), fileText.c_str(),
                                     orNone(parameterText), orNone(directoryText), showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

std::optional<ShellLinkTarget> Win32Shell::ReadShellLink(std::string_view linkPath) {
  const ComForThread com;
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put()))) ||
      !link) {
    return std::nullopt;
  }
  const ComPtr<IPersistFile> file = link.As<IPersistFile>();
  if (!file || FAILED(file->Load(Wide(linkPath).c_str(), 0))) return std::nullopt;

  wchar_t path[MAX_PATH] = {};
  if (FAILED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
  ShellLinkTarget target;
  target.rawPath = Narrow(std::wstring_view(path));
  wchar_t arguments[MAX_PATH] = {};
  if (SUCCEEDED(link->GetArguments(arguments, MAX_PATH))) target.arguments = Narrow(std::wstring_view(arguments));
  return target;
}

}  // namespace bootmark::win32
