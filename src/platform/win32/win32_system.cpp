#include "platform/win32/win32_system.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// The port's method has the plain name; the A/W macro would rename it.
#undef ShellExecute

#include <vector>

#include "platform/win32/com_ptr.h"
#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {

std::optional<std::string> Win32Environment::GetVariable(std::string_view name) {
  const std::wstring variable = Wide(name);
  std::vector<wchar_t> buffer(256);
  while (true) {
    ::SetLastError(0);
    const DWORD length = ::GetEnvironmentVariableW(variable.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

namespace {

#ifdef _WIN64
// The shipped 32-bit program sees the "(x86)" program folders in these two
// variables on 64-bit Windows; the 64-bit build names them so to expand the same.
std::string AsThe32BitProgramSees(std::string_view text) {
  static constexpr std::pair<std::string_view, std::string_view> kRenamed[] = {
      {"%PROGRAMFILES%", "%ProgramFiles(x86)%"}, {"%COMMONPROGRAMFILES%", "%CommonProgramFiles(x86)%"}};
  std::string result(text);
  for (const auto& [name, name32] : kRenamed) {
    for (std::size_t at = UpperCaseOrdinal(result).find(name); at != std::string::npos;
         at = UpperCaseOrdinal(result).find(name, at + name32.size())) {
      result.replace(at, name.size(), name32);
    }
  }
  return result;
}
#else
std::string_view AsThe32BitProgramSees(std::string_view text) { return text; }
#endif

}  // namespace

std::optional<std::string> Win32Environment::ExpandVariables(std::string_view text) {
  const std::wstring source = Wide(AsThe32BitProgramSees(text));
  std::vector<wchar_t> buffer(source.size() + 256);
  while (true) {
    const DWORD needed = ::ExpandEnvironmentStringsW(source.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed == 0) return std::nullopt;
    if (needed <= buffer.size()) return Narrow(buffer.data(), needed - 1);
    buffer.resize(needed);
  }
}

std::string Win32Environment::CommandLine() { return Narrow(std::wstring_view(::GetCommandLineW())); }

std::string Win32Environment::ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    if (buffer.size() >= 32768) return Narrow(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::uint32_t Win32Clock::TickCount() { return ::GetTickCount(); }

DateTime Win32Clock::Now() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  const CalendarTime time{local.wYear, local.wMonth, local.wDay, local.wHour,
                          local.wMinute, local.wSecond, local.wMilliseconds};
  return EncodeDateTime(time).value_or(0.0);
}

DateTime Win32Clock::UtcNow() {
  SYSTEMTIME utc{};
  ::GetSystemTime(&utc);
  const CalendarTime time{utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds};
  return EncodeDateTime(time).value_or(0.0);
}

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

void Win32DebugOutput::Write(std::string_view line) { ::OutputDebugStringW(Wide(line).c_str()); }

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

namespace {

class Win32NamedMutex : public INamedMutex {
 public:
  Win32NamedMutex(UniqueHandle handle, bool alreadyExisted)
      : handle_(std::move(handle)), alreadyExisted_(alreadyExisted) {}
  bool AlreadyExisted() const override { return alreadyExisted_; }

 private:
  UniqueHandle handle_;
  bool alreadyExisted_;
};

}  // namespace

std::unique_ptr<INamedMutex> Win32Processes::CreateOwnedMutex(std::string_view name) {
  UniqueHandle handle(::CreateMutexW(nullptr, TRUE, Wide(name).c_str()));
  const bool alreadyExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
  return std::make_unique<Win32NamedMutex>(std::move(handle), alreadyExisted);
}

void Win32Processes::TerminateSelf(std::uint32_t exitCode) {
  ::TerminateProcess(::GetCurrentProcess(), exitCode);
  ::ExitProcess(exitCode);  // not reached; TerminateProcess on itself does not return
}

}  // namespace bootmark::win32
