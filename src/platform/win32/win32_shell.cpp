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

namespace {

// Item identifier lists are freed with ILFree, or CoTaskMemFree where that is missing.
void FreeItemIdList(PIDLIST_ABSOLUTE list) {
  using FreeFunction = void(WINAPI*)(PIDLIST_RELATIVE);
  static const auto ilFree = FindSystemFunction<FreeFunction>(L"shell32.dll", "ILFree");
  if (ilFree != nullptr) {
    ilFree(list);
  } else {
    ::CoTaskMemFree(list);
  }
}

using UniqueItemIdList = UniqueResource<PIDLIST_ABSOLUTE, FreeItemIdList>;

// The item identifier list of a path, made by shell32's SHSimpleIDListFromPath
// or, where that is missing, by parsing the path through the desktop folder.
UniqueItemIdList ItemIdList(const std::wstring& path) {
  using SimpleFunction = PIDLIST_ABSOLUTE(WINAPI*)(PCWSTR);
  static const auto simpleIdList = FindSystemFunction<SimpleFunction>(L"shell32.dll", "SHSimpleIDListFromPath");
  if (simpleIdList != nullptr) return UniqueItemIdList(simpleIdList(path.c_str()));
  ComPtr<IShellFolder> desktop;
  if (FAILED(::SHGetDesktopFolder(desktop.Put())) || !desktop) return {};
  std::wstring name = path;  // ParseDisplayName takes a writable string
  PIDLIST_RELATIVE parsed = nullptr;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &parsed, nullptr))) return {};
  return UniqueItemIdList(reinterpret_cast<PIDLIST_ABSOLUTE>(parsed));
}

}  // namespace

SelectInFolderResult Win32Shell::OpenFolderAndSelectItem(std::string_view path) {
  using OpenFunction = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, UINT, PCUITEMID_CHILD_ARRAY, DWORD);
  static const auto openAndSelect = FindSystemFunction<OpenFunction>(L"shell32.dll", "SHOpenFolderAndSelectItems");
  if (openAndSelect == nullptr) return SelectInFolderResult::kUnavailable;
  // The shell's folder objects need COM on this thread; a thread that has it
  // already (in either apartment kind) keeps it as it is.
  const ComForThread com;
  const UniqueItemIdList list = ItemIdList(Wide(path));
  const bool opened = list && SUCCEEDED(openAndSelect(list.Get(), 0, nullptr, 0));
  return opened ? SelectInFolderResult::kOpened : SelectInFolderResult::kFailed;
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

namespace {

// The shell link object with the file loaded; empty when either step fails.
// COM must be set up on the thread.
ComPtr<IShellLinkW> LoadShellLink(std::string_view linkPath) {
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put()))) ||
      !link) {
    return {};
  }
  const ComPtr<IPersistFile> file = link.As<IPersistFile>();
  if (!file || FAILED(file->Load(Wide(linkPath).c_str(), 0))) return {};
  return link;
}

}  // namespace

std::optional<ShellLinkTarget> Win32Shell::ReadShellLink(std::string_view linkPath) {
  const ComForThread com;
  const ComPtr<IShellLinkW> link = LoadShellLink(linkPath);
  if (!link) return std::nullopt;

  wchar_t path[MAX_PATH] = {};
  if (FAILED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
  ShellLinkTarget target;
  target.rawPath = Narrow(std::wstring_view(path));
  wchar_t arguments[MAX_PATH] = {};
  if (SUCCEEDED(link->GetArguments(arguments, MAX_PATH))) target.arguments = Narrow(std::wstring_view(arguments));
  return target;
}

std::optional<ShellLinkFields> Win32Shell::ReadShellLinkFields(std::string_view linkPath) {
  const ComForThread com;
  const ComPtr<IShellLinkW> link = LoadShellLink(linkPath);
  if (!link) return std::nullopt;

  wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, description[MAX_PATH] = {}, folder[MAX_PATH] = {},
          icon[MAX_PATH] = {};
  int iconIndex = 0;
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_SHORTPATH)) ||
      FAILED(link->GetArguments(arguments, MAX_PATH)) || FAILED(link->GetDescription(description, MAX_PATH)) ||
      FAILED(link->GetWorkingDirectory(folder, MAX_PATH)) ||
      FAILED(link->GetIconLocation(icon, MAX_PATH, &iconIndex))) {
    return std::nullopt;
  }
  return ShellLinkFields{Narrow(std::wstring_view(target)), Narrow(std::wstring_view(arguments)),
                         Narrow(std::wstring_view(description)), Narrow(std::wstring_view(folder)),
                         Narrow(std::wstring_view(icon))};
}

std::optional<std::string> Win32Shell::LoadIndirectString(std::string_view source) {
  using LoadFunction = HRESULT(WINAPI*)(PCWSTR, PWSTR, UINT, void**);
  static const auto load = FindSystemFunction<LoadFunction>(L"shlwapi.dll", "SHLoadIndirectString");
  if (load == nullptr) return std::nullopt;
  const ComForThread com;
  wchar_t text[1024] = {};
  if (FAILED(load(Wide(source).c_str(), text, 1024, nullptr))) return std::nullopt;
  return Narrow(std::wstring_view(text));
}

}  // namespace bootmark::win32
