#pragma once
// Shortcuts saved through the shell's own link object, as installers save them.
// COM must be initialized on the calling thread.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/com_ptr.h"

namespace bmfixture {

using bootmark::win32::ComPtr;

// Saves a shortcut to `target` with `arguments` as the file `link`.
inline HRESULT SaveShortcut(const std::wstring& link, const std::wstring& target, const std::wstring& arguments) {
  ComPtr<IShellLinkW> shellLink;
  HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(shellLink.Put()));
  if (FAILED(result)) return result;
  if (FAILED(result = shellLink->SetPath(target.c_str()))) return result;
  if (FAILED(result = shellLink->SetArguments(arguments.c_str()))) return result;
  const ComPtr<IPersistFile> file = shellLink.As<IPersistFile>();
  return file ? file->Save(link.c_str(), TRUE) : E_NOINTERFACE;
}

}  // namespace bmfixture
